#include "toolkit/win32/ChildPeer.h"

#include "platform/win32/WideText.h"
#include "toolkit/win32/FormWindow.h"

namespace kivra::ui::win32 {

using kivra::win32::Narrow;
using kivra::win32::Wide;

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return Narrow(text);
}

ChildPeer::ChildPeer(FormWindow& form, Control& control) : form_(form), control_(control) {}

ChildPeer::~ChildPeer() {
    for (HWND window : adopted_) form_.withdraw(window);
}

void ChildPeer::adopt(HWND window) {
    if (!window) return;
    if (adopted_.empty()) {
        window_ = window;
        if (control_.fontHeight() > 0) {
            font_ = CreateGuiFont(control_.fontHeight());
            SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        }
    }
    adopted_.push_back(window);
    form_.enroll(window, this);
}

HFONT ChildPeer::font() const {
    return font_ ? static_cast<HFONT>(font_.get()) : DefaultGuiFont();
}

HBRUSH ChildPeer::controlColors(UINT message, HDC dc) {
    return form_.schemeColors(message, dc);
}

void ChildPeer::syncVisibility() {
    if (!window_) return;
    const bool shown = (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != control_.visible()) ShowWindow(window_, control_.visible() ? SW_SHOWNA : SW_HIDE);
}

void ChildPeer::syncWindowText(HWND window, const std::string& text) {
    if (!window || WindowText(window) == text) return;
    SyncScope scope(syncing_);
    SetWindowTextW(window, Wide(text).c_str());
}

}  // namespace kivra::ui::win32
