#include "toolkit/headless/RecordingCanvas.h"

#include <cstdio>

namespace kivra::ui::headless {

namespace {

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}

std::string Edges(Rect r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.x + r.width) + "," +
           std::to_string(r.y + r.height);
}

// Characters, not bytes: a Cyrillic letter is one character of two bytes in UTF-8.
int CharacterCount(const std::string& text) {
    int count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace

int RecordingCanvas::lineHeight() const {
    const int points = font.pointSize > 0 ? font.pointSize : kMenuFontPoints;
    return (points * 4 + 1) / 3;  // points * 4 / 3, rounded
}

void RecordingCanvas::setFont(const FontSpec& newFont) {
    font = newFont;
    calls.push_back("setFont(" + newFont.face + "," + std::to_string(newFont.pointSize) + "," +
                    (newFont.bold ? "bold" : "normal") + "," + Hex(newFont.color, 8) + ")");
}

int RecordingCanvas::textWidth(const std::string& text) {
    calls.push_back("textWidth(" + text + ")");
    return (CharacterCount(text) * lineHeight() * 6 + 5) / 10;
}

int RecordingCanvas::textHeight(const std::string& text) {
    calls.push_back("textHeight(" + text + ")");
    return lineHeight();
}

void RecordingCanvas::setPenColor(Color color) { calls.push_back("setPen(" + Hex(color, 8) + ")"); }

void RecordingCanvas::setBrushColor(Color color) { calls.push_back("setBrush(" + Hex(color, 8) + ")"); }

void RecordingCanvas::setBrushClear() { calls.push_back("setBrushClear()"); }

void RecordingCanvas::fillRect(Rect rect) { calls.push_back("fillRect(" + Edges(rect) + ")"); }

void RecordingCanvas::rectangle(Rect rect) { calls.push_back("rectangle(" + Edges(rect) + ")"); }

void RecordingCanvas::line(int x1, int y1, int x2, int y2) {
    calls.push_back("line(" + std::to_string(x1) + "," + std::to_string(y1) + "," + std::to_string(x2) + "," +
                    std::to_string(y2) + ")");
}

void RecordingCanvas::drawText(const std::string& text, Rect rect, unsigned flags) {
    calls.push_back("drawText(" + text + "," + Edges(rect) + "," + Hex(flags, 4) + ")");
}

void RecordingCanvas::drawMonoGlyph(const std::vector<std::string>& rows, Color color, int x, int y) {
    lastGlyph = rows;
    calls.push_back("drawMonoGlyph(" + Hex(color, 8) + "," + std::to_string(x) + "," + std::to_string(y) + ")");
}

std::vector<std::string> RecordingCanvas::drawing() const {
    std::vector<std::string> result;
    for (const std::string& call : calls)
        if (call.rfind("textWidth(", 0) != 0 && call.rfind("textHeight(", 0) != 0) result.push_back(call);
    return result;
}

}  // namespace kivra::ui::headless
