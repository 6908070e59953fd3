#include "menu/Utils.h"

#include <algorithm>

namespace kivra::Utils {

int Max(int a, int b) { return a > b ? a : b; }

ColorParts SplitColor(ui::Color color, const SystemColorLookup& systemColor) {
    const ui::Color rgb = ui::ResolveColor(color, systemColor);
    return ColorParts{static_cast<std::uint8_t>(rgb & 0xFF), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
                      static_cast<std::uint8_t>((rgb >> 16) & 0xFF)};
}

namespace {

// c + (255 - c) * percent / 100 in whole numbers, a remainder of exactly one half going to
// the even neighbour.
int LightenPart(int c, int percent) {
    const int hundredths = c * 100 + (255 - c) * percent;
    int whole = hundredths / 100;
    const int rest = hundredths % 100;
    if (rest > 50 || (rest == 50 && whole % 2 == 1)) ++whole;
    return whole;
}

}  // namespace

ui::Color LightenColor(ui::Color color, int percent, const SystemColorLookup& systemColor) {
    percent = std::clamp(percent, 0, 100);
    const ColorParts parts = SplitColor(color, systemColor);
    return ui::Rgb(LightenPart(parts.red, percent), LightenPart(parts.green, percent),
                   LightenPart(parts.blue, percent));
}

MonoBitmap PaintMonoBitmap(const std::string& pattern, int width, int height) {
    MonoBitmap bitmap(static_cast<size_t>(std::max(height, 0)), std::string(static_cast<size_t>(std::max(width, 0)), '0'));
    int column = 0;
    int row = 0;
    for (char c : pattern) {
        if (c == '-') {
            column = 0;
            ++row;
            continue;
        }
        if (c == '1' && row < height && column < width) bitmap[static_cast<size_t>(row)][static_cast<size_t>(column)] = '1';
        ++column;
    }
    return bitmap;
}

void DrawMonoBitmap(ui::Canvas& canvas, const MonoBitmap& bitmap, ui::Color color, int x, int y) {
    canvas.drawMonoGlyph(bitmap, color, x, y);
}

}  // namespace kivra::Utils
