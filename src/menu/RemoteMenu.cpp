#include "menu/RemoteMenu.h"

#include <algorithm>
#include <utility>

#include "platform/ProfileValues.h"

namespace kivra {

namespace {

bool Contains(const ui::MenuItem& parent, const ui::MenuItem* item) {
    for (const auto& child : parent.items)
        if (child.get() == item || Contains(*child, item)) return true;
    return false;
}

int ReadCount(const IniDocument& menu, const std::string& section) {
    const long long count = ParseProfileInteger(menu.value(section, "Subs", "0")).value_or(0);
    return static_cast<int>(std::clamp<long long>(count, 0, RemoteMenu::kMaxItemsPerSection));
}

}  // namespace

RemoteMenu::RemoteMenu(Profile& profile, ui::PopupMenu& popup, ui::TreeView& tree,
                       std::function<void(const std::string&, const std::string&)> commandParser,
                       Utils::SystemColorLookup systemColor)
    : profile_(profile),
      popup_(popup),
      tree_(tree),
      commandParser_(std::move(commandParser)),
      systemColor_(std::move(systemColor)) {}

void RemoteMenu::FillTree(const std::string& fileName) {
    tree_.clear();
    // The previous generation goes now; the current one is kept until the next load.
    retiredItems_ = std::move(popup_.root.items);
    popup_.root.items.clear();
    retiredPainters_ = std::move(replacedPainters_);
    replacedPainters_.clear();
    table_.clear();

    // Read once: the profile service would open and search the file again for each value.
    LoadItems(profile_.readFile(fileName), "Sub", tree_.root(), popup_.root, 1);
    tree_.refresh();
}

void RemoteMenu::LoadItems(const IniDocument& menu, const std::string& section, ui::TreeNode& node,
                           ui::MenuItem& parent, int depth) {
    if (depth > kMaxDepth) return;
    const int count = ReadCount(menu, section);
    for (int i = 1; i <= count && table_.size() < static_cast<size_t>(kMaxItems); ++i) {
        const std::string itemSection = section + std::to_string(i);
        const std::string caption = menu.value(itemSection, "Caption", "no caption");
        table_.push_back(TMItem{menu.value(itemSection, "Command", "no command"),
                                menu.value(itemSection, "Parameters", "no parameters")});

        ui::TreeNode& childNode = tree_.add(node, caption);
        auto item = std::make_unique<ui::MenuItem>(caption);
        item->tag = static_cast<int>(table_.size()) - 1;
        item->onClick = [this](ui::MenuItem& chosen) { MenuClick(chosen); };
        ui::MenuItem& childItem = parent.add(std::move(item));

        LoadItems(menu, itemSection, childNode, childItem, depth + 1);
    }
}

void RemoteMenu::ChangeMenuFont(int pointSize) {
    if (painter_) replacedPainters_.push_back(std::move(painter_));
    painter_ = std::make_unique<TRyMenu>(systemColor_);
    painter_->SetFontSize(pointSize);
    painter_->AssignTo(popup_);
    painter_->MinWidth = 50;
}

void RemoteMenu::MenuClick(ui::MenuItem& item) {
    if (!item.items.empty()) return;
    if (!Contains(popup_.root, &item)) return;
    if (item.tag < 0 || static_cast<size_t>(item.tag) >= table_.size()) return;
    // A copy: the command may load another menu, which empties the table.
    const TMItem entry = table_[static_cast<size_t>(item.tag)];
    commandParser_(entry.Command, entry.Parameters);
}

}  // namespace kivra
