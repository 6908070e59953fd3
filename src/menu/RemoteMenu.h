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

class RemoteMenu {
public:
    // Loading stops at these, so a crafted file cannot hang or exhaust the program.
    static constexpr int kMaxItemsPerSection = 1000;
    static constexpr int kMaxItems = 10000;
    static constexpr int kMaxDepth = 16;

    RemoteMenu(Profile& profile, ui::PopupMenu& popup, ui::TreeView& tree,
               std::function<void(const std::string&, const std::string&)> commandParser);

    void FillTree(const std::string& fileName);
    void ChangeMenuFont(int pointSize);
    void MenuClick(ui::MenuItem& item);
    const std::vector<TMItem>& table() const { return table_; }
    TRyMenu* painter() { return painter_.get(); }

private:
    void LoadItems(const std::string& fileName, const std::string& section, ui::TreeNode& node,
                   ui::MenuItem& parent, int depth);
    Profile& profile_;
    ui::PopupMenu& popup_;
    ui::TreeView& tree_;
    std::function<void(const std::string&, const std::string&)> commandParser_;
    std::vector<TMItem> table_;
    std::unique_ptr<TRyMenu> painter_;
};

}  // namespace kivra
