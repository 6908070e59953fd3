// The owner-drawn menu painter (module RyMenus): measures and draws pop-up items with a
// font of any size, a shaded gutter at the left, a light text area and a framed, tinted
// selection. It serves any menu; the remote menu uses one with a large font.
#pragma once

#include <functional>
#include <string>

#include "menu/Utils.h"
#include "toolkit/Canvas.h"
#include "toolkit/Controls.h"

namespace kivra {

// The 12 x 12 check mark drawn for checked items, rows 3 to 9.
extern const char* const kCheckGlyphPattern;
const Utils::MonoBitmap& CheckGlyph();

// Owner-draw state flags (ODS_...) that the painter looks at.
namespace MenuItemState {
constexpr unsigned Selected = 0x0001;
constexpr unsigned Disabled = 0x0004;
constexpr unsigned Checked = 0x0008;
constexpr unsigned Default = 0x0020;
constexpr unsigned Hot = 0x0040;
}  // namespace MenuItemState

// Items hooked to a painter keep a pointer to it: the painter must outlive them, or be
// replaced on every item by a later AssignTo first.
class TRyMenu : public ui::MenuPainter {
public:
    // systemColor answers GetSysColor; the colours derived from system colours are computed
    // here, once, so they stay fixed while the painter lives. font: the system's menu font
    // unless given.
    explicit TRyMenu(Utils::SystemColorLookup systemColor = ui::SystemColor, ui::FontSpec font = {});

    ui::FontSpec Font;
    ui::Color GutterColor;
    ui::Color MenuColor;
    ui::Color SelectedColor;
    ui::Color CheckedColor;
    int MinWidth = 0;
    int MinHeight = 20;

    void SetFont(const ui::FontSpec& font) { Font = font; }
    void SetFontSize(int points) { Font.pointSize = points; }

    void HookItem(ui::MenuItem& item);
    // Hooks every child of item, at every depth.
    void AssignToItems(ui::MenuItem& item);
    // Hooks every item of the menu and makes the menu owner-drawn.
    void AssignTo(ui::PopupMenu& menu);

    void MeasureItem(const ui::MenuItem& item, ui::Canvas& canvas, int& width, int& height);
    void DrawItem(const ui::MenuItem& item, ui::Canvas& canvas, ui::Rect rect, unsigned state);
    // The width of the shaded strip at the left of an item whose rectangle is height high.
    int GutterWidth(const ui::MenuItem& item, ui::Canvas& canvas, int height);

    void measureItem(const ui::MenuItem& item, ui::Canvas& canvas, int& width, int& height) override {
        MeasureItem(item, canvas, width, height);
    }
    void drawItem(const ui::MenuItem& item, ui::Canvas& canvas, ui::Rect rect, unsigned state) override {
        DrawItem(item, canvas, rect, state);
    }

private:
    int GutterInFont(const ui::MenuItem& item, ui::Canvas& canvas, int height) const;
};

}  // namespace kivra
