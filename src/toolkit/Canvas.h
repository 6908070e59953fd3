// A drawing surface for owner-drawn items: a GDI device context on Windows, a recording
// surface with fixed text metrics in the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/Controls.h"

namespace kivra::ui {

// 0x00BBGGRR, or 0xFF0000nn for the system colour number nn.
using Color = std::uint32_t;

struct FontSpec {
    std::string face;
    int pointSize = 0;  // 0: the system's menu font size
    bool bold = false;
    Color color = 0;
};

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
    // Paints a 12x12 monochrome glyph (rows of '1'/'0' bits) transparently at x, y.
    virtual void drawMonoGlyph(const std::vector<std::string>& rows, Color color, int x, int y) = 0;
    virtual Color systemColor(int index) = 0;  // GetSysColor
};

}  // namespace kivra::ui
