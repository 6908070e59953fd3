// Loading and saving the binding files, and loading menu files, on the in-memory fakes: the
// program's own work, without the disk.
#include <string>
#include <vector>

#include "Bench.h"
#include "actions/KivraUtils.h"
#include "bindings/BindingFiles.h"
#include "bindings/BindingTable.h"
#include "menu/RemoteMenu.h"
#include "platform/TextCodec.h"
#include "platform/fake/FakePlatform.h"

namespace kivra::bench {
namespace {

void FillTable(ui::Grid& grid) {
    for (int row = 1; row < kBindingRows; ++row) grid.setCell(row, 1, "BUTTON_" + std::to_string(row));
    for (int row = kFirstUserKeyRow; row < kBindingRows; ++row) grid.setCell(row, 0, "Shift+Ctrl+Alt+F10");
    grid.setCell(0, 1, " Команда WinLIRC");
}

void BindingFilesLoadAndSave() {
    constexpr int kRounds = 20000;
    fake::FakePlatform fake;
    ui::Grid grid("StringGrid1", nullptr, {}, kBindingRows, 2);
    FillTable(grid);

    Stopwatch save;
    for (int i = 0; i < kRounds; ++i) SaveBindingFiles(fake.files, grid);
    const double saveSeconds = save.seconds();
    Stopwatch load;
    for (int i = 0; i < kRounds; ++i) LoadBindingFiles(fake.files, grid);
    const double loadSeconds = load.seconds();
    const std::string& buttons = fake.files.contents[fake.files.directory + "LIRCAC.LST"];
    Figure("LIRCAC.LST size (45 lines)", static_cast<double>(buttons.size()), "bytes");
    Figure("save of both files, average", saveSeconds / kRounds * 1e6, "us");
    Figure("load of both files, average", loadSeconds / kRounds * 1e6, "us");

    // Damaged files: 10 MB in one line, and 10 MB of line ends.
    for (const auto& [what, text] : {std::pair<std::string, std::string>{"10 MB in one line", std::string(10 << 20, 'A')},
                                     {"10 MB of line ends", std::string(10 << 20, '\n')}}) {
        fake.files.contents[fake.files.directory + "LIRCAC.LST"] = text;
        fake.files.contents[fake.files.directory + "LIRCHT.LST"] = text;
        ResetHeapPeak();
        const std::size_t start = HeapInUse();
        Stopwatch damaged;
        LoadBindingFiles(fake.files, grid);
        Figure("both files " + what + ": load time", damaged.seconds() * 1000, "ms");
        Figure("both files " + what + ": peak heap (files read whole)", static_cast<double>(HeapPeak() - start), "bytes");
    }
}

// A menu of exactly `items` items, breadth first with nine children to a parent: top-level
// sections Sub1 to Sub9 and children one digit deeper, so that no two items share a section.
std::string MenuText(int items) {
    std::vector<std::string> sections{"Sub"};
    std::vector<int> children{0};
    for (std::size_t parent = 0; static_cast<int>(sections.size()) - 1 < items; ++parent) {
        for (int i = 1; i <= 9 && static_cast<int>(sections.size()) - 1 < items; ++i) {
            sections.push_back(sections[parent] + std::to_string(i));
            children.push_back(0);
            ++children[parent];
        }
    }
    std::string text;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        text += "[" + sections[i] + "]\n";
        if (i > 0) text += "Caption=Пункт " + sections[i] + "\nCommand=SENDKEY\nParameters=Alt+F4\n";
        if (children[i] > 0) text += "Subs=" + std::to_string(children[i]) + "\n";
    }
    return text;
}

void MenuLoading() {
    for (const int items : {100, 10000}) {
        fake::FakePlatform fake;
        fake.profile.setText("Kivra.mnu", MenuText(items));
        ui::PopupMenu popup("PopupMenu1");
        ui::TreeView tree("sTreeView1", nullptr, {});
        RemoteMenu menu(fake.profile, popup, tree, [](const std::string&, const std::string&) {});
        const int rounds = items <= 100 ? 200 : 1;
        ResetHeapPeak();
        const std::size_t start = HeapInUse();
        Stopwatch watch;
        for (int i = 0; i < rounds; ++i) {
            menu.FillTree("Kivra.mnu");
            menu.ChangeMenuFont(32);
        }
        const double seconds = watch.seconds() / rounds;
        const std::string what = std::to_string(items) + " items";
        Figure(what + ": items loaded", static_cast<double>(menu.table().size()), "items");
        Figure(what + ": profile reads per load", static_cast<double>(fake.profile.reads) / rounds, "reads");
        Figure(what + ": FillTree + ChangeMenuFont", seconds * 1000, "ms");
        Figure(what + ": heap held after the load", static_cast<double>(HeapInUse() - start), "bytes");
    }
    // The crafted file of issue 6: counts of 0x7FFFFFFF at every level.
    fake::FakePlatform fake;
    std::string text = "[Sub]\nSubs=0x7FFFFFFF\n";
    for (std::string section = "Sub1"; section.size() < 24; section += "1") text += "[" + section + "]\nSubs=0x7FFFFFFF\n";
    fake.profile.setText("Kivra.mnu", text);
    ui::PopupMenu popup("PopupMenu1");
    ui::TreeView tree("sTreeView1", nullptr, {});
    RemoteMenu menu(fake.profile, popup, tree, [](const std::string&, const std::string&) {});
    Stopwatch watch;
    menu.FillTree("Kivra.mnu");
    menu.ChangeMenuFont(32);
    Figure("counts 0x7FFFFFFF, 20 levels: items (the cap)", static_cast<double>(menu.table().size()), "items");
    Figure("counts 0x7FFFFFFF, 20 levels: load time", watch.seconds() * 1000, "ms");
}

const Register bindingFiles("files: binding files load and save", BindingFilesLoadAndSave);
const Register menuLoading("files: menu loading", MenuLoading);

}  // namespace
}  // namespace kivra::bench
