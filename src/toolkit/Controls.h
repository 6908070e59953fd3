// The widget toolkit: the controls the windows are made of. The behaviour the handlers rely
// on lives here, in portable code; a realisation (toolkit/win32, or none when headless)
// attaches a peer to each control that mirrors its state on screen and reports the user's
// input back through the userXxx() calls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kivra::ui {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A realised counterpart of a control. sync() pushes the control's state to the screen.
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void sync() = 0;
    virtual WindowHandle handle() const { return 0; }
};

enum class ControlKind {
    Form, Page, PageControl, Label, Button, SpeedButton, CheckBox, SpinEdit, Edit, Grid, HotKey,
    StatusBar, TreeView, ComboBox, GroupBox, Memo
};

class Control {
public:
    Control(ControlKind kind, std::string name, Control* parent, Rect bounds);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    Rect bounds() const { return bounds_; }

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    // Font height in pixels for the caption, 0 for the window's default.
    int fontHeight() const { return fontHeight_; }
    void setFontHeight(int pixels) { fontHeight_ = pixels; }

    void attachPeer(std::unique_ptr<ControlPeer> peer);
    ControlPeer* peer() const { return peer_.get(); }
    WindowHandle handle() const { return peer_ ? peer_->handle() : 0; }

protected:
    void changed();  // the state changed: the peer shows it

private:
    ControlKind kind_;
    std::string name_;
    Control* parent_;
    std::vector<Control*> children_;
    Rect bounds_;
    std::string caption_;
    bool visible_ = true;
    int fontHeight_ = 0;
    std::unique_ptr<ControlPeer> peer_;
};

class Label : public Control {
public:
    Label(std::string name, Control* parent, Rect bounds, const std::string& caption);
};

class GroupBox : public Control {
public:
    GroupBox(std::string name, Control* parent, Rect bounds, const std::string& caption = {});
};

class Button : public Control {
public:
    Button(std::string name, Control* parent, Rect bounds, const std::string& caption,
           ControlKind kind = ControlKind::Button);
    std::function<void()> onClick;
    void click();  // the user's click, or a click performed by the program
};

// A check box runs its click action whenever its state changes, also when the program sets it.
class CheckBox : public Control {
public:
    CheckBox(std::string name, Control* parent, Rect bounds, const std::string& caption, bool checked);
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    std::function<void()> onClick;
    void userToggled() { setChecked(!checked_); }

private:
    bool checked_;
};

// A number field. Every change of its text is reported; a value outside the range stays in
// force until the field loses the focus, which clamps it. A text that is no number reads as
// the minimum.
class SpinEdit : public Control {
public:
    SpinEdit(std::string name, Control* parent, Rect bounds, int minValue, int maxValue, int step, int value);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int step() const { return step_; }
    const std::string& text() const { return text_; }
    int value() const;
    // The program sets a value: clamped into the range, reported when the text changes.
    void setValue(int value);
    std::function<void()> onChange;
    void userEdited(const std::string& text);  // the user typed: the text as it now stands
    void focusLost();

private:
    void setText(const std::string& text);
    int min_, max_, step_;
    std::string text_;
};

class Edit : public Control {
public:
    Edit(std::string name, Control* parent, Rect bounds, const std::string& text, int maxLength = 0);
    const std::string& text() const { return text_; }
    void setText(const std::string& text);
    int maxLength() const { return maxLength_; }
    // Asked for every typed character; return false to discard it (the character as a byte).
    std::function<bool(char)> onKeyPress;
    bool acceptsKey(char c) const { return !onKeyPress || onKeyPress(c); }
    void userEdited(const std::string& text) { text_ = text; }

private:
    std::string text_;
    int maxLength_;
};

// A hot-key field: the last key pressed with its modifiers. Key 0 means empty.
struct HotKeyValue {
    unsigned key = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

class HotKeyField : public Control {
public:
    HotKeyField(std::string name, Control* parent, Rect bounds);
    HotKeyValue value() const { return value_; }
    void setValue(HotKeyValue value);
    void userEntered(HotKeyValue value) { value_ = value; }

private:
    HotKeyValue value_;
};

class PopupMenu;

// A text grid with one fixed header row and a selected cell.
class Grid : public Control {
public:
    Grid(std::string name, Control* parent, Rect bounds, int rows, int cols);
    int rowCount() const { return rows_; }
    int colCount() const { return cols_; }
    const std::string& cell(int row, int col) const;
    void setCell(int row, int col, const std::string& text);
    int selectedRow() const { return selRow_; }
    int selectedCol() const { return selCol_; }
    void select(int row, int col);  // row 0 (the header) cannot be selected
    std::vector<int> colWidths;
    int rowHeight = 18;
    std::uint32_t headerColor = 0xD1D1D1;
    PopupMenu* contextMenu = nullptr;

private:
    int rows_, cols_;
    std::vector<std::string> cells_;
    int selRow_ = 1;
    int selCol_ = 0;
};

class StatusBar : public Control {
public:
    StatusBar(std::string name, Control* parent, std::vector<int> panelWidths);
    const std::vector<int>& panelWidths() const { return widths_; }
    const std::string& panel(int index) const { return texts_.at(index); }
    void setPanel(int index, const std::string& text);

private:
    std::vector<int> widths_;
    std::vector<std::string> texts_;
};

struct TreeNode {
    std::string text;
    std::vector<std::unique_ptr<TreeNode>> children;
};

class TreeView : public Control {
public:
    TreeView(std::string name, Control* parent, Rect bounds);
    TreeNode& root() { return root_; }
    const TreeNode& root() const { return root_; }
    void clear();
    TreeNode& add(TreeNode& parent, const std::string& text);
    void refresh() { changed(); }  // after a batch of add() calls

private:
    TreeNode root_;
};

class ComboBox : public Control {
public:
    ComboBox(std::string name, Control* parent, Rect bounds);
    const std::vector<std::string>& items() const { return items_; }
    void clearItems();
    void addItem(const std::string& text);
    int itemIndex() const { return index_; }
    // Selects an entry (-1: none); reports a change as a selection by the user does.
    void setItemIndex(int index);
    const std::string& text() const { return text_; }
    std::function<void()> onChange;
    void userSelected(int index) { setItemIndex(index); }
    void userTyped(const std::string& text);

private:
    std::vector<std::string> items_;
    int index_ = -1;
    std::string text_;
};

// A multi-line text: hidden, as a line buffer; or, given bounds, shown read-only with a
// vertical scroll bar (the about window's help text).
class Memo : public Control {
public:
    Memo(std::string name, Control* parent);
    Memo(std::string name, Control* parent, Rect bounds, std::vector<std::string> lines);
    std::vector<std::string> lines;
};

class Page : public Control {
public:
    Page(std::string name, Control* parent, const std::string& caption);
};

class PageControl : public Control {
public:
    PageControl(std::string name, Control* parent, Rect bounds);
    std::vector<Page*> pages() const;
    int activePage() const { return active_; }
    void setActivePage(int index);

private:
    int active_ = 0;
};

// --- Menus -------------------------------------------------------------------------------

class MenuItem;

// Draws and measures owner-drawn items (see menu/RyMenus). The canvas is the realisation's.
class Canvas;
class MenuPainter {
public:
    virtual ~MenuPainter() = default;
    virtual void measureItem(const MenuItem& item, Canvas& canvas, int& width, int& height) = 0;
    virtual void drawItem(const MenuItem& item, Canvas& canvas, Rect rect, unsigned state) = 0;
};

class MenuItem {
public:
    explicit MenuItem(std::string caption = {});
    std::string caption;
    int tag = 0;
    bool checked = false;
    bool enabled = true;
    std::function<void(MenuItem&)> onClick;
    MenuPainter* painter = nullptr;  // owner-drawn when set; the painter must outlive the item
    std::vector<std::unique_ptr<MenuItem>> items;
    MenuItem& add(std::unique_ptr<MenuItem> item);
    bool isSeparator() const { return caption == "-"; }
    void click() { if (onClick) onClick(*this); }
};

// A pop-up menu. popup() runs the platform's modal menu loop (other messages keep being
// handled) and clicks the chosen item before it returns.
class PopupMenu {
public:
    explicit PopupMenu(std::string name);
    virtual ~PopupMenu() = default;
    const std::string& name() const { return name_; }
    MenuItem root;
    bool ownerDraw = false;
    void popup(Point at);
    // The realisation; headless menus pop up nothing unless a test sets a chooser.
    std::function<MenuItem*(PopupMenu&, Point)> runModal;

private:
    std::string name_;
};

// --- Non-visual components -----------------------------------------------------------------

class Timer {
public:
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    unsigned interval() const { return interval_; }
    void setInterval(unsigned milliseconds);
    std::function<void()> onTimer;
    void tick() { if (enabled_ && interval_ != 0 && onTimer) onTimer(); }
    // The realisation re-arms the real timer.
    std::function<void(Timer&)> onReconfigure;

private:
    bool enabled_ = true;
    unsigned interval_ = 1000;
};

// Modal file and folder choosers. execute() returns the choice, std::nullopt on cancel.
class OpenDialog {
public:
    std::string filter;  // "Name|*.ext" pairs; empty: no filter
    std::string fileName;
    bool execute(WindowHandle owner);
    std::function<std::optional<std::string>(OpenDialog&, WindowHandle)> runModal;
};

class FolderDialog {
public:
    std::optional<std::string> execute(WindowHandle owner);
    std::function<std::optional<std::string>(WindowHandle)> runModal;
};

}  // namespace kivra::ui
