#include "toolkit/Controls.h"

#include <algorithm>
#include <charconv>

#include "toolkit/Form.h"

namespace kivra::ui {

Control::Control(ControlKind kind, std::string name, Control* parent, Rect bounds)
    : kind_(kind), name_(std::move(name)), parent_(parent), bounds_(bounds) {
    if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
    // Controls are members of their window and go with it; nothing else refers to them.
}

void Control::setCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    changed();
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    changed();
}

void Control::attachPeer(std::unique_ptr<ControlPeer> peer) {
    peer_ = std::move(peer);
    changed();
}

void Control::changed() {
    if (peer_) peer_->sync();
}

Label::Label(std::string name, Control* parent, Rect bounds, const std::string& caption)
    : Control(ControlKind::Label, std::move(name), parent, bounds) {
    setCaption(caption);
}

GroupBox::GroupBox(std::string name, Control* parent, Rect bounds, const std::string& caption)
    : Control(ControlKind::GroupBox, std::move(name), parent, bounds) {
    setCaption(caption);
}

Button::Button(std::string name, Control* parent, Rect bounds, const std::string& caption, ControlKind kind)
    : Control(kind, std::move(name), parent, bounds) {
    setCaption(caption);
}

void Button::click() {
    if (onClick) onClick();
}

CheckBox::CheckBox(std::string name, Control* parent, Rect bounds, const std::string& caption, bool checked)
    : Control(ControlKind::CheckBox, std::move(name), parent, bounds), checked_(checked) {
    setCaption(caption);
}

void CheckBox::setChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    changed();
    if (onClick) onClick();
}

namespace {
std::optional<int> parseInt(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || text.empty()) return std::nullopt;
    return value;
}
}  // namespace

SpinEdit::SpinEdit(std::string name, Control* parent, Rect bounds, int minValue, int maxValue, int step, int value)
    : Control(ControlKind::SpinEdit, std::move(name), parent, bounds),
      min_(minValue), max_(maxValue), step_(step), text_(std::to_string(value)) {}

int SpinEdit::value() const {
    return parseInt(text_).value_or(min_);
}

void SpinEdit::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    changed();
    if (onChange) onChange();
}

void SpinEdit::setValue(int value) {
    setText(std::to_string(std::clamp(value, min_, max_)));
}

void SpinEdit::userEdited(const std::string& text) {
    if (text_ == text) return;
    text_ = text;  // already on screen
    if (onChange) onChange();
}

void SpinEdit::focusLost() {
    const int current = value();
    if (current < min_ || current > max_) setValue(current);
}

Edit::Edit(std::string name, Control* parent, Rect bounds, const std::string& text, int maxLength)
    : Control(ControlKind::Edit, std::move(name), parent, bounds), text_(text), maxLength_(maxLength) {}

void Edit::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    changed();
}

HotKeyField::HotKeyField(std::string name, Control* parent, Rect bounds)
    : Control(ControlKind::HotKey, std::move(name), parent, bounds) {}

void HotKeyField::setValue(HotKeyValue value) {
    value_ = value;
    changed();
}

Grid::Grid(std::string name, Control* parent, Rect bounds, int rows, int cols)
    : Control(ControlKind::Grid, std::move(name), parent, bounds),
      rows_(rows), cols_(cols), cells_(static_cast<size_t>(rows * cols)) {}

const std::string& Grid::cell(int row, int col) const {
    return cells_.at(static_cast<size_t>(row * cols_ + col));
}

void Grid::setCell(int row, int col, const std::string& text) {
    std::string& target = cells_.at(static_cast<size_t>(row * cols_ + col));
    if (target == text) return;
    target = text;
    changed();
}

void Grid::select(int row, int col) {
    if (row < 1 || row >= rows_ || col < 0 || col >= cols_) return;
    selRow_ = row;
    selCol_ = col;
    changed();
}

StatusBar::StatusBar(std::string name, Control* parent, std::vector<int> panelWidths)
    : Control(ControlKind::StatusBar, std::move(name), parent, Rect{}),
      widths_(std::move(panelWidths)), texts_(widths_.size()) {}

void StatusBar::setPanel(int index, const std::string& text) {
    std::string& target = texts_.at(static_cast<size_t>(index));
    if (target == text) return;
    target = text;
    changed();
}

TreeView::TreeView(std::string name, Control* parent, Rect bounds)
    : Control(ControlKind::TreeView, std::move(name), parent, bounds) {}

void TreeView::clear() {
    root_.children.clear();
    changed();
}

TreeNode& TreeView::add(TreeNode& parent, const std::string& text) {
    parent.children.push_back(std::make_unique<TreeNode>());
    parent.children.back()->text = text;
    return *parent.children.back();
}

ComboBox::ComboBox(std::string name, Control* parent, Rect bounds)
    : Control(ControlKind::ComboBox, std::move(name), parent, bounds) {}

void ComboBox::clearItems() {
    items_.clear();
    index_ = -1;
    text_.clear();
    changed();
}

void ComboBox::addItem(const std::string& text) {
    items_.push_back(text);
    changed();
}

void ComboBox::setItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) return;
    index_ = index;
    if (index >= 0) text_ = items_[static_cast<size_t>(index)];
    changed();
    if (onChange) onChange();
}

void ComboBox::userTyped(const std::string& text) {
    text_ = text;
    index_ = -1;
    if (onChange) onChange();
}

Memo::Memo(std::string name, Control* parent) : Control(ControlKind::Memo, std::move(name), parent, Rect{}) {
    setVisible(false);
}

Memo::Memo(std::string name, Control* parent, Rect bounds, std::vector<std::string> text)
    : Control(ControlKind::Memo, std::move(name), parent, bounds), lines(std::move(text)) {}

Page::Page(std::string name, Control* parent, const std::string& caption)
    : Control(ControlKind::Page, std::move(name), parent, Rect{}) {
    setCaption(caption);
}

PageControl::PageControl(std::string name, Control* parent, Rect bounds)
    : Control(ControlKind::PageControl, std::move(name), parent, bounds) {}

std::vector<Page*> PageControl::pages() const {
    std::vector<Page*> result;
    for (Control* child : children())
        if (child->kind() == ControlKind::Page) result.push_back(static_cast<Page*>(child));
    return result;
}

void PageControl::setActivePage(int index) {
    active_ = index;
    changed();
}

MenuItem::MenuItem(std::string caption) : caption(std::move(caption)) {}

MenuItem& MenuItem::add(std::unique_ptr<MenuItem> item) {
    items.push_back(std::move(item));
    return *items.back();
}

PopupMenu::PopupMenu(std::string name) : name_(std::move(name)) {}

void PopupMenu::popup(Point at) {
    if (!runModal) return;
    if (MenuItem* chosen = runModal(*this, at)) chosen->click();
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (onReconfigure) onReconfigure(*this);
}

void Timer::setInterval(unsigned milliseconds) {
    interval_ = milliseconds;
    if (onReconfigure) onReconfigure(*this);
}

bool OpenDialog::execute(WindowHandle owner) {
    if (!runModal) return false;
    std::optional<std::string> chosen = runModal(*this, owner);
    if (!chosen) return false;
    fileName = *chosen;
    return true;
}

std::optional<std::string> FolderDialog::execute(WindowHandle owner) {
    if (!runModal) return std::nullopt;
    return runModal(owner);
}

Form::Form(std::string name, FormStyle style)
    : Control(ControlKind::Form, std::move(name), nullptr, Rect{0, 0, style.clientWidth, style.clientHeight}),
      style_(style) {}

void Form::setColorScheme(const std::optional<ColorScheme>& scheme) {
    scheme_ = scheme;
    changed();
}

void Form::show(int showCommand) {
    if (FormPeer* p = formPeer()) p->show(showCommand);
    if (!shown_ && showCommand != 0) {
        shown_ = true;
        if (onShow) onShow();
    }
}

void Form::close() {
    if (FormPeer* p = formPeer()) {
        p->close();
        return;
    }
    if (!onCloseQuery || onCloseQuery()) {
        if (onDestroy) onDestroy();
    }
}

}  // namespace kivra::ui
