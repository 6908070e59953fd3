#include "toolkit/Canvas.h"

#include <utility>

namespace kivra::ui {

namespace {

std::function<Color(int)>& SystemColorSource() {
    static std::function<Color(int)> source;
    return source;
}

}  // namespace

Color ClassicSystemColor(int index) {
    switch (index) {
        case 4:  // COLOR_MENU
        case 15:  // COLOR_BTNFACE
            return Rgb(212, 208, 200);
        case 5:  // COLOR_WINDOW
        case 14:  // COLOR_HIGHLIGHTTEXT
        case 20:  // COLOR_BTNHIGHLIGHT
            return clWhite;
        case 13:  // COLOR_HIGHLIGHT
            return Rgb(10, 36, 106);
        case 16:  // COLOR_BTNSHADOW
        case 17:  // COLOR_GRAYTEXT
            return Rgb(128, 128, 128);
        default:
            return clBlack;
    }
}

Color SystemColor(int index) {
    const auto& source = SystemColorSource();
    return source ? source(index) : ClassicSystemColor(index);
}

void SetSystemColorSource(std::function<Color(int)> source) { SystemColorSource() = std::move(source); }

Color ResolveColor(Color color, const std::function<Color(int)>& lookup) {
    if (!IsSystemColor(color)) return color & 0xFFFFFF;
    const int index = static_cast<int>(color & 0xFF);
    return (lookup ? lookup(index) : SystemColor(index)) & 0xFFFFFF;
}

}  // namespace kivra::ui
