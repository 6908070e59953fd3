// A canvas for the tests: fixed text metrics and a line per call, so a test can pin down what
// a painter measured and drew.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Canvas.h"

namespace kivra::ui::headless {

// Metrics: a text is round(points * 4 / 3) pixels high (points 0: 9, the menu font) and
// round(0.6 * height) pixels wide per character. Lines look like "fillRect(0,0,48,47)";
// rectangles are logged by their edges (left,top,right,bottom), colours as 8 hex digits,
// DrawText flags in hex.
class RecordingCanvas : public Canvas {
public:
    void setFont(const FontSpec& font) override;
    int textWidth(const std::string& text) override;
    int textHeight(const std::string& text) override;
    void setPenColor(Color color) override;
    void setBrushColor(Color color) override;
    void setBrushClear() override;
    void fillRect(Rect rect) override;
    void rectangle(Rect rect) override;
    void line(int x1, int y1, int x2, int y2) override;
    void drawText(const std::string& text, Rect rect, unsigned flags) override;
    void drawMonoGlyph(const std::vector<std::string>& rows, Color color, int x, int y) override;
    Color systemColor(int index) override { return ClassicSystemColor(index); }

    static constexpr int kMenuFontPoints = 9;
    int lineHeight() const;

    std::vector<std::string> calls;
    // The calls that paint or set up painting, without the measurements.
    std::vector<std::string> drawing() const;
    FontSpec font;
    std::vector<std::string> lastGlyph;
};

}  // namespace kivra::ui::headless
