// The canvas of owner-drawn items on Windows: a GDI device context that someone else owns
// (the one WM_DRAWITEM hands over, or a window's DC for measuring).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "toolkit/Canvas.h"

namespace kivra::ui::win32 {

using kivra::win32::UniqueGdiObject;

// A window's client-area DC, released with the object.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Colours 0xFF0000nn are looked up with GetSysColor when they are set on the DC. The font
// FontSpec{} is the system's menu font; a face or a point size given replaces its own.
class GdiCanvas : public Canvas {
public:
    explicit GdiCanvas(HDC dc);
    // Puts the DC's own font, pen and brush back before the ones made here are deleted.
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

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
    Color systemColor(int index) override;

private:
    SIZE extent(const std::string& text);
    HDC dc_;
    int savedState_;
    UniqueGdiObject font_;
    FontSpec fontSpec_;
    bool hasFont_ = false;
    UniqueGdiObject pen_;
    UniqueGdiObject brush_;
    bool brushClear_ = false;
};

// The system's menu font (SPI_GETNONCLIENTMETRICS).
LOGFONTW SystemMenuFont();

}  // namespace kivra::ui::win32
