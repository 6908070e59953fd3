// The menu loader over any INI text: it ends quickly and stays within its caps.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "menu/RemoteMenu.h"
#include "platform/fake/FakePlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kivra::fake::FakePlatform fake;
    fake.profile.setText("Kivra.mnu", std::string(reinterpret_cast<const char*>(data), size));
    kivra::ui::PopupMenu popup("PopupMenu1");
    kivra::ui::TreeView tree("sTreeView1", nullptr, {});
    kivra::RemoteMenu menu(fake.profile, popup, tree, [](const std::string&, const std::string&) {});
    menu.FillTree("Kivra.mnu");
    menu.ChangeMenuFont(32);
    if (menu.table().size() > static_cast<std::size_t>(kivra::RemoteMenu::kMaxItems)) std::abort();
    return 0;
}
