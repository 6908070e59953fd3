#include "toolkit/win32/ButtonPeers.h"

#include "platform/win32/WideText.h"
#include "toolkit/win32/FormWindow.h"

namespace kivra::ui::win32 {

using kivra::win32::Wide;

LabelPeer::LabelPeer(FormWindow& form, Label& label, HWND container, Rect at) : ChildPeer(form, label) {
    adopt(CreateChild(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, 0, container, at));
}

void LabelPeer::sync() {
    syncWindowText(window_, control_.caption());
    syncVisibility();
}

GroupBoxPeer::GroupBoxPeer(FormWindow& form, GroupBox& box, HWND container, Rect at) : ChildPeer(form, box) {
    adopt(CreateChild(WC_BUTTONW, L"", BS_GROUPBOX, 0, container, at));
    SetWindowSubclass(window_, &GroupBoxPeer::paintInScheme, 1, reinterpret_cast<DWORD_PTR>(this));
}

GroupBoxPeer::~GroupBoxPeer() {
    if (IsWindow(window_)) RemoveWindowSubclass(window_, &GroupBoxPeer::paintInScheme, 1);
}

LRESULT CALLBACK GroupBoxPeer::paintInScheme(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    auto* peer = reinterpret_cast<GroupBoxPeer*>(self);
    if (message == WM_PAINT && peer->form_.scheme()) {
        peer->paint();
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void GroupBoxPeer::paint() {
    PAINTSTRUCT paintInfo;
    HDC dc = BeginPaint(window_, &paintInfo);
    RECT area{};
    GetClientRect(window_, &area);
    HGDIOBJ previousFont = SelectObject(dc, font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT frame = area;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = Wide(control_.caption());
    if (!caption.empty()) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        RECT label{6, 0, 6 + extent.cx + 4, metrics.tmHeight};
        FillRect(dc, &label, form_.faceBrush());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, AsColorRef(form_.scheme()->text));
        TextOutW(dc, 8, 0, caption.c_str(), static_cast<int>(caption.size()));
    }
    SelectObject(dc, previousFont);
    EndPaint(window_, &paintInfo);
}

void GroupBoxPeer::sync() {
    syncWindowText(window_, control_.caption());
    syncVisibility();
}

void GroupBoxPeer::schemeChanged() {
    // Visual styles draw the frame's caption in the theme's colour; the scheme's needs the classic look.
    SetThemed(window_, !form_.scheme());
}

ButtonPeer::ButtonPeer(FormWindow& form, Button& button, HWND container, Rect at)
    : ChildPeer(form, button), button_(button) {
    const bool big = button.kind() == ControlKind::SpeedButton;
    adopt(CreateChild(WC_BUTTONW, L"", big ? BS_OWNERDRAW : BS_PUSHBUTTON | BS_MULTILINE, 0, container, at));
}

void ButtonPeer::sync() {
    syncWindowText(window_, control_.caption());
    syncVisibility();
}

void ButtonPeer::command(UINT code) {
    if (code == BN_CLICKED) button_.click();
}

bool ButtonPeer::drawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    const auto& scheme = form_.scheme();
    const COLORREF face = scheme ? AsColorRef(scheme->accent) : GetSysColor(COLOR_BTNFACE);
    const COLORREF ink = (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                         : scheme                        ? AsColorRef(scheme->accentText)
                                                         : GetSysColor(COLOR_BTNTEXT);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;

    RECT frame = item.rcItem;
    UniqueGdiObject faceBrush(CreateSolidBrush(face));
    FillRect(dc, &frame, static_cast<HBRUSH>(faceBrush.get()));
    DrawEdge(dc, &frame, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

    const std::wstring caption = Wide(control_.caption());
    HGDIOBJ previousFont = SelectObject(dc, font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT text = frame;
    InflateRect(&text, -3, -3);
    RECT measured = text;
    DrawTextW(dc, caption.c_str(), -1, &measured, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    text.top += (text.bottom - text.top - height) / 2;
    if (pressed) OffsetRect(&text, 1, 1);
    DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previousFont);

    if (item.itemState & ODS_FOCUS) {
        RECT focus = frame;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
    return true;
}

CheckBoxPeer::CheckBoxPeer(FormWindow& form, CheckBox& box, HWND container, Rect at)
    : ChildPeer(form, box), box_(box) {
    adopt(CreateChild(WC_BUTTONW, L"", BS_AUTOCHECKBOX | BS_MULTILINE, 0, container, at));
}

void CheckBoxPeer::sync() {
    syncWindowText(window_, control_.caption());
    // BM_SETCHECK sends no notification: the program's change does not come back as a click.
    SendMessageW(window_, BM_SETCHECK, box_.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    syncVisibility();
}

void CheckBoxPeer::command(UINT code) {
    if (code != BN_CLICKED || syncing_) return;
    const bool onScreen = SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (onScreen != box_.checked()) box_.userToggled();
}

void CheckBoxPeer::schemeChanged() {
    SetThemed(window_, !form_.scheme());
}

}  // namespace kivra::ui::win32
