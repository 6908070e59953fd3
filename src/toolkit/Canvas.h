// A drawing surface for owner-drawn items: a GDI device context on Windows, a recording
// surface with fixed text metrics in the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Controls.h"

namespace kivra::ui {

// 0x00BBGGRR, or 0xFF0000nn for the system colour number nn.
using Color = std::uint32_t;

constexpr Color kSystemColorFlag = 0xFF000000;
constexpr Color clBtnFace = 0xFF00000F;    // COLOR_BTNFACE
constexpr Color clHighlight = 0xFF00000D;  // COLOR_HIGHLIGHT
constexpr Color clBtnShadow = 0xFF000010;  // COLOR_BTNSHADOW
constexpr Color clBlack = 0x000000;
constexpr Color clWhite = 0xFFFFFF;
constexpr Color clGray = 0x808080;

constexpr bool IsSystemColor(Color color) { return (color & kSystemColorFlag) == kSystemColorFlag; }
constexpr Color Rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The platform's colour for a system colour number (GetSysColor). The Windows realisation
// installs its source before anything runs; headless runs answer with the classic palette.
Color SystemColor(int index);
void SetSystemColorSource(std::function<Color(int)> source);
// The classic Windows palette (button face 212,208,200; highlight 10,36,106; ...); 0 for others.
Color ClassicSystemColor(int index);
// An RGB colour as it is: a system colour looked up through lookup.
Color ResolveColor(Color color, const std::function<Color(int)>& lookup);

// An empty face and a point size of 0 stand for the system's menu font.
struct FontSpec {
    std::string face;
    int pointSize = 0;  // 0: the system's menu font size
    bool bold = false;
    Color color = 0;
    bool operator==(const FontSpec&) const = default;
};

// DrawText flags (DT_LEFT, DT_CENTER, ...) under names the Windows macros leave alone.
constexpr unsigned kTextLeft = 0x0000;
constexpr unsigned kTextCenter = 0x0001;
constexpr unsigned kTextRight = 0x0002;
constexpr unsigned kTextVCenter = 0x0004;
constexpr unsigned kTextSingleLine = 0x0020;
constexpr unsigned kTextNoClip = 0x0100;
constexpr unsigned kTextEndEllipsis = 0x8000;

// A rectangle given by its edges; right and bottom are exclusive, as in Windows.
constexpr Rect RectFromEdges(int left, int top, int right, int bottom) {
    return Rect{left, top, right - left, bottom - top};
}

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void setFont(const FontSpec& font) = 0;
    virtual int textWidth(const std::string& text) = 0;
    virtual int textHeight(const std::string& text) = 0;
    virtual void setPenColor(Color color) = 0;
    virtual void setBrushColor(Color color) = 0;
    virtual void setBrushClear() = 0;
    virtual void fillRect(Rect rect) = 0;              // brush only
    virtual void rectangle(Rect rect) = 0;             // pen outline, brush fill
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    virtual void drawText(const std::string& text, Rect rect, unsigned flags) = 0;  // DrawText flags
    // Paints the '1' pixels of a monochrome glyph (equal rows of '1'/'0') in color with its
    // top-left corner at x, y; under the '0' pixels the surface stays as it was.
    virtual void drawMonoGlyph(const std::vector<std::string>& rows, Color color, int x, int y) = 0;
    virtual Color systemColor(int index) = 0;  // GetSysColor
};

}  // namespace kivra::ui
