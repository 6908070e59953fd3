// The menu loader over any INI text, then the painter and the chosen items' commands.
// Properties:
//   - the menu, the tree and the command table agree: one table entry per item, tags in
//     depth-first order from 0, the tree shows the same captions in the same shape;
//   - the caps hold: at most 1000 children, 16 levels, 10000 items; below the caps every
//     section has exactly the number of children its count asks for, with the captions of
//     the sections they name;
//   - loading the same file again gives the same menu;
//   - the painter measures and draws any caption; a chosen item runs its own command and
//     leaves no key held, and nothing but the exact SHUTDOWN words asks to power off.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "actions/CommandParser.h"
#include "actions/KivraUtils.h"
#include "menu/RemoteMenu.h"
#include "platform/fake/FakePlatform.h"
#include "toolkit/headless/RecordingCanvas.h"

#include "FuzzSupport.h"

namespace {

using kivra::fuzzing::Check;
using kivra::fuzzing::ModelInteger;

const std::string kFile = "Kivra.mnu";

struct Walk {
    kivra::fake::FakeProfile& profile;
    const std::vector<kivra::TMItem>& table;
    bool capped;
    int next = 0;

    void items(const kivra::ui::MenuItem& parent, const kivra::ui::TreeNode& node, const std::string& section,
               int depth) {
        Check(depth <= kivra::RemoteMenu::kMaxDepth || parent.items.empty());
        Check(parent.items.size() <= static_cast<std::size_t>(kivra::RemoteMenu::kMaxItemsPerSection));
        Check(parent.items.size() == node.children.size());
        if (!capped && depth <= kivra::RemoteMenu::kMaxDepth) {
            const long long asked = ModelInteger(profile.readString(kFile, section, "Subs", "0")).value_or(0);
            const long long count = asked < 0 ? 0 : asked > 1000 ? 1000 : asked;
            Check(parent.items.size() == static_cast<std::size_t>(count));
        }
        for (std::size_t i = 0; i < parent.items.size(); ++i) {
            const kivra::ui::MenuItem& item = *parent.items[i];
            const std::string itemSection = section + std::to_string(i + 1);
            Check(item.tag == next++);
            Check(item.caption == node.children[i]->text);
            if (next <= 64) {  // the first items against their sections; the rest costs too much
                Check(item.caption == profile.readString(kFile, itemSection, "Caption", "no caption"));
                const kivra::TMItem& entry = table[static_cast<std::size_t>(item.tag)];
                Check(entry.Command == profile.readString(kFile, itemSection, "Command", "no command"));
                Check(entry.Parameters == profile.readString(kFile, itemSection, "Parameters", "no parameters"));
            }
            items(item, *node.children[i], itemSection, depth + 1);
        }
    }
};

std::vector<kivra::ui::MenuItem*> Preorder(kivra::ui::MenuItem& parent) {
    std::vector<kivra::ui::MenuItem*> out;
    for (auto& child : parent.items) {
        out.push_back(child.get());
        for (kivra::ui::MenuItem* below : Preorder(*child)) out.push_back(below);
    }
    return out;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kivra::fake::FakePlatform fake;
    fake.profile.setText(kFile, std::string(reinterpret_cast<const char*>(data), size));
    fake.windows.titles["Notepad"] = 7;
    kivra::KivraUtils utils(fake.platform);
    utils.keyDelay = 10;
    kivra::MenuCommands commands(utils, 1);
    std::vector<std::string> ran;
    kivra::ui::PopupMenu popup("PopupMenu1");
    kivra::ui::TreeView tree("sTreeView1", nullptr, {});
    kivra::RemoteMenu menu(fake.profile, popup, tree, [&](const std::string& command, const std::string& parameters) {
        ran.push_back(command + "|" + parameters);
        commands.CommandParser(command, parameters);
    });
    menu.FillTree(kFile);
    menu.ChangeMenuFont(32);

    const std::size_t loaded = menu.table().size();
    Check(loaded <= static_cast<std::size_t>(kivra::RemoteMenu::kMaxItems));
    Walk walk{fake.profile, menu.table(), loaded == static_cast<std::size_t>(kivra::RemoteMenu::kMaxItems)};
    walk.items(popup.root, tree.root(), "Sub", 1);
    Check(static_cast<std::size_t>(walk.next) == loaded);

    // The painter, and the commands of the first leaves.
    std::vector<kivra::ui::MenuItem*> items = Preorder(popup.root);
    kivra::ui::headless::RecordingCanvas canvas;
    for (std::size_t i = 0; i < items.size() && i < 32; ++i) {
        kivra::ui::MenuItem& item = *items[i];
        Check(item.painter == menu.painter());
        int width = 0, height = 0;
        menu.painter()->MeasureItem(item, canvas, width, height);
        Check(width >= 50 && height > 0);
        menu.painter()->DrawItem(item, canvas, {0, 0, width, height}, static_cast<unsigned>(i) * 0x41u);
        canvas.calls.clear();

        ran.clear();
        fake.log.clear();
        item.click();
        const kivra::TMItem& entry = menu.table()[static_cast<std::size_t>(item.tag)];
        Check(ran.size() == (item.items.empty() ? 1u : 0u));
        if (!ran.empty()) Check(ran[0] == entry.Command + "|" + entry.Parameters);
        int held = 0;
        for (const std::string& call : fake.calls("keybd_event(")) held += call[call.size() - 2] == '1' ? 1 : -1;
        Check(held == 0);
        const bool powers = !fake.calls("ExitWindowsEx(").empty() || !fake.calls("Suspend(").empty();
        const bool shutdownWord = entry.Parameters == "POWEROFF" || entry.Parameters == "WAIT" ||
                                  entry.Parameters == "LOGOFF" || entry.Parameters == "HIBERNATE";
        if (powers) Check(!ran.empty() && Upper(entry.Command) == "SHUTDOWN" && shutdownWord);
    }

    // The same file again: the same menu; the items of the first load run nothing any more.
    // Big menus skip this, which only doubles their cost.
    if (loaded > 256) return 0;
    std::vector<std::string> captions;
    for (const kivra::ui::MenuItem* item : items) captions.push_back(item->caption);
    const std::vector<kivra::TMItem> table = menu.table();
    menu.FillTree(kFile);
    menu.ChangeMenuFont(32);
    std::vector<kivra::ui::MenuItem*> again = Preorder(popup.root);
    Check(again.size() == items.size() && menu.table().size() == table.size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        Check(again[i]->caption == captions[i] && again[i]->tag == static_cast<int>(i));
        Check(menu.table()[i].Command == table[i].Command && menu.table()[i].Parameters == table[i].Parameters);
    }
    ran.clear();
    for (std::size_t i = 0; i < items.size() && i < 8; ++i) items[i]->click();
    Check(ran.empty());
    return 0;
}
