// Shared pieces of the Win32 toolkit: the controls' font, the program icon, window classes
// and the theme switch.
#pragma once

#include <windows.h>

#include "platform/win32/Handles.h"
#include "toolkit/Controls.h"

namespace kivra::ui::win32 {

using kivra::win32::UniqueGdiObject;

// The system's message font (Tahoma or Segoe UI at about 8 to 9 points); lives until the end.
HFONT DefaultGuiFont();

// A font of the same face, height given in pixels (the caption of a big button).
UniqueGdiObject CreateGuiFont(int pixelHeight, bool bold = false);

// The program icon from the resources (resource 1), large or small; shared, never released.
HICON ProgramIcon(bool small);

// Registers a window class once per process; the background brush may be null.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, UINT style = 0);

// Switches visual styles off for a control (the scheme's colours are then honoured) or back on.
void SetThemed(HWND control, bool themed);

// A child window at the given place, with the toolkit's font.
HWND CreateChild(const wchar_t* windowClass, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, Rect at,
                 void* createParam = nullptr);

// Colour values of the scheme are 0x00BBGGRR, as COLORREF is.
inline COLORREF AsColorRef(std::uint32_t color) {
    return static_cast<COLORREF>(color & 0x00FFFFFF);
}

}  // namespace kivra::ui::win32
