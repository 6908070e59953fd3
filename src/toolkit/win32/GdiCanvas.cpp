#include "toolkit/win32/GdiCanvas.h"

#include <cstddef>
#include <memory>
#include <type_traits>

#include "platform/win32/WideText.h"

namespace kivra::ui::win32 {

namespace {

using kivra::win32::Wide;

// Painters fix their colours when they are made, before any menu is drawn, so GetSysColor
// must answer from the program's first moment on.
const bool kSystemColorsInstalled = [] {
    SetSystemColorSource([](int index) { return static_cast<Color>(GetSysColor(index)); });
    return true;
}();

COLORREF ToColorRef(Color color) { return static_cast<COLORREF>(ResolveColor(color, SystemColor)); }

RECT ToRect(Rect r) { return RECT{r.x, r.y, r.x + r.width, r.y + r.height}; }

struct DcDeleter {
    void operator()(HDC dc) const {
        if (dc) DeleteDC(dc);
    }
};
using MemoryDcPtr = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// Monochrome bitmap bits: rows padded to 16 bits, most significant bit leftmost, 1 = white.
std::vector<unsigned char> MonoBits(const std::vector<std::string>& rows, int width) {
    const int stride = (width + 15) / 16 * 2;
    std::vector<unsigned char> bits(static_cast<size_t>(stride) * rows.size(), 0xFF);
    for (size_t y = 0; y < rows.size(); ++y)
        for (int x = 0; x < width && x < static_cast<int>(rows[y].size()); ++x)
            if (rows[y][static_cast<size_t>(x)] == '1')
                bits[y * static_cast<size_t>(stride) + static_cast<size_t>(x / 8)] &=
                    static_cast<unsigned char>(~(0x80u >> (x % 8)));
    return bits;
}

}  // namespace

LOGFONTW SystemMenuFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        // Systems before Vista know the structure without its last field.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    }
    return metrics.lfMenuFont;
}

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc), savedState_(SaveDC(dc)) {}

GdiCanvas::~GdiCanvas() {
    if (savedState_) RestoreDC(dc_, savedState_);
}

void GdiCanvas::setFont(const FontSpec& font) {
    SetTextColor(dc_, ToColorRef(font.color));
    if (hasFont_ && font.face == fontSpec_.face && font.pointSize == fontSpec_.pointSize && font.bold == fontSpec_.bold)
        return;
    LOGFONTW logFont = SystemMenuFont();
    if (font.pointSize > 0) logFont.lfHeight = -MulDiv(font.pointSize, GetDeviceCaps(dc_, LOGPIXELSY), 72);
    logFont.lfWidth = 0;
    if (!font.face.empty()) {
        const std::wstring face = Wide(font.face);
        lstrcpynW(logFont.lfFaceName, face.c_str(), LF_FACESIZE);
    }
    if (font.bold) logFont.lfWeight = FW_BOLD;
    UniqueGdiObject created(CreateFontIndirectW(&logFont));
    if (!created) return;
    SelectObject(dc_, created.get());
    font_ = std::move(created);
    fontSpec_ = font;
    hasFont_ = true;
}

SIZE GdiCanvas::extent(const std::string& text) {
    const std::wstring wide = Wide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

int GdiCanvas::textWidth(const std::string& text) { return extent(text).cx; }

int GdiCanvas::textHeight(const std::string& text) { return extent(text).cy; }

void GdiCanvas::setPenColor(Color color) {
    UniqueGdiObject created(CreatePen(PS_SOLID, 1, ToColorRef(color)));
    if (!created) return;
    SelectObject(dc_, created.get());
    pen_ = std::move(created);
}

void GdiCanvas::setBrushColor(Color color) {
    UniqueGdiObject created(CreateSolidBrush(ToColorRef(color)));
    if (!created) return;
    SelectObject(dc_, created.get());
    brush_ = std::move(created);
    brushClear_ = false;
    // Text drawn now gets the brush's colour behind it.
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ToColorRef(color));
}

void GdiCanvas::setBrushClear() {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    brushClear_ = true;
    SetBkMode(dc_, TRANSPARENT);
}

void GdiCanvas::fillRect(Rect rect) {
    if (brushClear_ || !brush_) return;
    const RECT r = ToRect(rect);
    FillRect(dc_, &r, static_cast<HBRUSH>(brush_.get()));
}

void GdiCanvas::rectangle(Rect rect) { Rectangle(dc_, rect.x, rect.y, rect.x + rect.width, rect.y + rect.height); }

void GdiCanvas::line(int x1, int y1, int x2, int y2) {
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
}

void GdiCanvas::drawText(const std::string& text, Rect rect, unsigned flags) {
    std::wstring wide = Wide(text);
    RECT r = ToRect(rect);
    DrawTextW(dc_, wide.data(), static_cast<int>(wide.size()), &r, flags);
}

void GdiCanvas::drawMonoGlyph(const std::vector<std::string>& rows, Color color, int x, int y) {
    if (rows.empty() || rows[0].empty()) return;
    const int width = static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    const std::vector<unsigned char> bits = MonoBits(rows, width);
    UniqueGdiObject bitmap(CreateBitmap(width, height, 1, 1, bits.data()));
    MemoryDcPtr source(CreateCompatibleDC(dc_));
    UniqueGdiObject brush(CreateSolidBrush(ToColorRef(color)));
    if (!bitmap || !source || !brush) return;

    const HGDIOBJ sourceBefore = SelectObject(source.get(), bitmap.get());
    const HGDIOBJ brushBefore = SelectObject(dc_, brush.get());
    const COLORREF textBefore = SetTextColor(dc_, RGB(255, 255, 255));
    const COLORREF backBefore = SetBkColor(dc_, RGB(0, 0, 0));
    // DSPDxax: the brush where the glyph is black, the destination where it is white.
    BitBlt(dc_, x, y, width, height, source.get(), 0, 0, 0x00E20746);
    SetTextColor(dc_, textBefore);
    SetBkColor(dc_, backBefore);
    SelectObject(dc_, brushBefore);
    SelectObject(source.get(), sourceBefore);
}

Color GdiCanvas::systemColor(int index) { return static_cast<Color>(GetSysColor(index)); }

}  // namespace kivra::ui::win32
