// The remote menu: a menu file (INI format) loaded into the menu tree, the pop-up menu and
// the menu command table, and what a chosen item does.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "menu/RyMenus.h"
#include "platform/Platform.h"
#include "toolkit/Controls.h"

namespace kivra {

struct TMItem {
    std::string Command;
    std::string Parameters;
};

// Lifetimes: the pop-up menu's items and the painters that draw them live here in two
// generations. FillTree keeps the items it replaces, and the painters that drew them, until
// the next FillTree, so that a menu still on screen while a new file is loaded never draws
// or reports an item that is gone; a click on such a left-over item runs nothing.
class RemoteMenu {
public:
    // Loading stops at these, so a crafted file cannot hang or exhaust the program.
    static constexpr int kMaxItemsPerSection = 1000;
    static constexpr int kMaxItems = 10000;
    static constexpr int kMaxDepth = 16;

    // systemColor answers GetSysColor for the painters made by ChangeMenuFont.
    RemoteMenu(Profile& profile, ui::PopupMenu& popup, ui::TreeView& tree,
               std::function<void(const std::string&, const std::string&)> commandParser,
               Utils::SystemColorLookup systemColor = ui::SystemColor);

    // Replaces the menu tree, the pop-up menu's items and the table with the file's menu. A
    // missing or unreadable file, or one without a section "Sub", gives the empty menu.
    void FillTree(const std::string& fileName);
    // A new painter with the font at pointSize points draws every item of the pop-up menu.
    void ChangeMenuFont(int pointSize);
    // Runs the chosen item's command; items with children and left-over items do nothing.
    void MenuClick(ui::MenuItem& item);
    const std::vector<TMItem>& table() const { return table_; }
    TRyMenu* painter() { return painter_.get(); }

private:
    void LoadItems(const IniDocument& menu, const std::string& section, ui::TreeNode& node, ui::MenuItem& parent,
                   int depth);
    Profile& profile_;
    ui::PopupMenu& popup_;
    ui::TreeView& tree_;
    std::function<void(const std::string&, const std::string&)> commandParser_;
    Utils::SystemColorLookup systemColor_;
    std::vector<TMItem> table_;
    std::unique_ptr<TRyMenu> painter_;                    // the one ChangeMenuFont made last
    std::vector<std::unique_ptr<TRyMenu>> replacedPainters_;  // replaced since the last FillTree
    std::vector<std::unique_ptr<TRyMenu>> retiredPainters_;   // may still draw retiredItems_
    std::vector<std::unique_ptr<ui::MenuItem>> retiredItems_;
};

}  // namespace kivra
