#include "menu/RyMenus.h"

#include <utility>

namespace kivra {

const char* const kCheckGlyphPattern =
    "000000000000-000000000000-000000000000-000000001000-000000011000-001000111000-"
    "001101110000-001111100000-000111000000-000010000000-000000000000-000000000000";

namespace {

constexpr int kGlyphSize = 12;
constexpr unsigned kTextFlags = ui::kTextVCenter | ui::kTextSingleLine | ui::kTextNoClip | ui::kTextEndEllipsis;

// The height of a line of text in the painter's font.
int TextHeight(ui::Canvas& canvas) { return canvas.textHeight("W"); }

}  // namespace

const Utils::MonoBitmap& CheckGlyph() {
    static const Utils::MonoBitmap glyph = Utils::PaintMonoBitmap(kCheckGlyphPattern, kGlyphSize, kGlyphSize);
    return glyph;
}

TRyMenu::TRyMenu(Utils::SystemColorLookup systemColor, ui::FontSpec font)
    : Font(std::move(font)),
      GutterColor(ui::clBtnFace),
      MenuColor(Utils::LightenColor(ui::clBtnFace, 85, systemColor)),
      SelectedColor(Utils::LightenColor(ui::clHighlight, 65, systemColor)),
      CheckedColor(Utils::LightenColor(ui::clHighlight, 75, systemColor)) {}

void TRyMenu::HookItem(ui::MenuItem& item) { item.painter = this; }

void TRyMenu::AssignToItems(ui::MenuItem& item) {
    for (auto& child : item.items) {
        HookItem(*child);
        if (!child->items.empty()) AssignToItems(*child);
    }
}

void TRyMenu::AssignTo(ui::PopupMenu& menu) {
    AssignToItems(menu.root);
    menu.ownerDraw = true;
}

void TRyMenu::MeasureItem(const ui::MenuItem& item, ui::Canvas& canvas, int& width, int& height) {
    canvas.setFont(Font);
    height = Utils::Max(TextHeight(canvas) + 4, MinHeight);
    width = Utils::Max(MinWidth, canvas.textWidth(item.caption) + height + 15);
    if (item.isSeparator()) height = height > 20 ? 11 : 5;
}

int TRyMenu::GutterWidth(const ui::MenuItem& item, ui::Canvas& canvas, int height) {
    canvas.setFont(Font);
    return GutterInFont(item, canvas, height);
}

int TRyMenu::GutterInFont(const ui::MenuItem& item, ui::Canvas& canvas, int height) const {
    const int g = item.isSeparator() ? TextHeight(canvas) + 4 : height;
    return Utils::Max(g, MinHeight) + 1;
}

void TRyMenu::DrawItem(const ui::MenuItem& item, ui::Canvas& canvas, ui::Rect rect, unsigned state) {
    int left = rect.x;
    const int top = rect.y;
    const int right = rect.x + rect.width;
    const int bottom = rect.y + rect.height;
    canvas.setFont(Font);
    canvas.setPenColor(ui::clBlack);
    const int gutter = GutterInFont(item, canvas, rect.height);
    // The gutter is measured from the item's own left edge, so items that do not start at 0
    // (a menu broken into columns) get their gutter where their text expects it.
    const int gutterRight = left + gutter;

    if (state & MenuItemState::Selected) {
        canvas.setBrushColor(SelectedColor);
        canvas.rectangle(ui::RectFromEdges(left, top, right, bottom));
    } else {
        canvas.setBrushColor(GutterColor);
        canvas.fillRect(ui::RectFromEdges(left, top, gutterRight, bottom));
        canvas.setBrushColor(MenuColor);
        canvas.fillRect(ui::RectFromEdges(gutterRight, top, right, bottom));
    }

    if (state & MenuItemState::Checked) {
        canvas.setPenColor(ui::clBtnShadow);
        canvas.setBrushColor(CheckedColor);
        canvas.rectangle(ui::RectFromEdges(left + 1, top + 1, gutterRight - 2, bottom - 1));
        Utils::DrawMonoBitmap(canvas, CheckGlyph(), ui::clBlack, left + (gutter - 1 - kGlyphSize) / 2,
                              (top + bottom - kGlyphSize) / 2);
    }

    ui::FontSpec textFont = Font;
    if (state & MenuItemState::Default) textFont.bold = true;
    textFont.color = (state & MenuItemState::Disabled) ? ui::clGray : ui::clBlack;
    canvas.setFont(textFont);
    canvas.setBrushClear();

    left = gutterRight + 5;
    if (item.isSeparator()) {
        const int middle = top + (bottom - top) / 2;
        canvas.setPenColor(ui::clBtnShadow);
        canvas.line(left, middle, right, middle);
    } else {
        canvas.drawText(item.caption, ui::RectFromEdges(left, top, right, bottom), kTextFlags | ui::kTextLeft);
    }
}

}  // namespace kivra
