#include "toolkit/win32/FieldPeers.h"

#include <algorithm>

#include "platform/TextCodec.h"
#include "platform/win32/MessageBoundary.h"
#include "platform/win32/WideText.h"
#include "toolkit/win32/FormWindow.h"

namespace kivra::ui::win32 {

using kivra::win32::Guarded;
using kivra::win32::Narrow;
using kivra::win32::Wide;

// --- SpinEdit ----------------------------------------------------------------------------------

SpinEditPeer::SpinEditPeer(FormWindow& form, SpinEdit& spin, HWND container, Rect at)
    : ChildPeer(form, spin), spin_(spin) {
    const DWORD digitsOnly = spin.minValue() >= 0 ? ES_NUMBER : 0;
    adopt(CreateChild(WC_EDITW, L"", ES_LEFT | ES_AUTOHSCROLL | digitsOnly, WS_EX_CLIENTEDGE, container, at));
    arrows_ = CreateChild(UPDOWN_CLASSW, L"", UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, container,
                          Rect{at.x + at.width, at.y, 0, at.height});
    // The arrows only report a direction; the position never moves, so neither end is ever reached.
    SendMessageW(arrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(window_), 0);
    SendMessageW(arrows_, UDM_SETRANGE32, static_cast<WPARAM>(-1000), 1000);
    SendMessageW(arrows_, UDM_SETPOS32, 0, 0);
    adopt(arrows_);
}

void SpinEditPeer::sync() {
    syncWindowText(window_, spin_.text());
    syncVisibility();
    const bool shown = (GetWindowLongW(arrows_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != control_.visible()) ShowWindow(arrows_, control_.visible() ? SW_SHOWNA : SW_HIDE);
}

void SpinEditPeer::command(UINT code) {
    if (code == EN_CHANGE && !syncing_) spin_.userEdited(WindowText(window_));
    if (code == EN_KILLFOCUS) spin_.focusLost();
}

bool SpinEditPeer::notify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != arrows_ || header.code != UDN_DELTAPOS) return false;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    const long long next = static_cast<long long>(spin_.value()) +
                           (change.iDelta > 0 ? 1LL : -1LL) * static_cast<long long>(spin_.step());
    spin_.setValue(static_cast<int>(std::clamp<long long>(next, spin_.minValue(), spin_.maxValue())));
    result = TRUE;  // keeps the arrows' own position where it is
    return true;
}

// --- Edit --------------------------------------------------------------------------------------

EditPeer::EditPeer(FormWindow& form, Edit& edit, HWND container, Rect at) : ChildPeer(form, edit), edit_(edit) {
    adopt(CreateChild(WC_EDITW, L"", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, container, at));
    if (edit.maxLength() > 0) SendMessageW(window_, EM_LIMITTEXT, static_cast<WPARAM>(edit.maxLength()), 0);
    SetWindowSubclass(window_, &EditPeer::filterKeys, 1, reinterpret_cast<DWORD_PTR>(this));
}

EditPeer::~EditPeer() {
    if (IsWindow(window_)) RemoveWindowSubclass(window_, &EditPeer::filterKeys, 1);
}

void EditPeer::sync() {
    syncWindowText(window_, edit_.text());
    syncVisibility();
}

void EditPeer::command(UINT code) {
    if (code == EN_CHANGE && !syncing_) edit_.userEdited(WindowText(window_));
}

LRESULT CALLBACK EditPeer::filterKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
    if (message == WM_CHAR) {
        auto* peer = reinterpret_cast<EditPeer*>(self);
        // The filter sees the character as the program's 8-bit texts hold it.
        const wchar_t typed[2] = {static_cast<wchar_t>(wParam), L'\0'};
        const std::string bytes = Cp1251FromUtf8(Narrow(typed, 1));
        const char key = bytes.empty() ? '?' : bytes[0];
        bool accepted = true;
        if (!Guarded([&] { accepted = peer->edit_.acceptsKey(key); }) || !accepted) return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// --- HotKey ------------------------------------------------------------------------------------

HotKeyPeer::HotKeyPeer(FormWindow& form, HotKeyField& field, HWND container, Rect at)
    : ChildPeer(form, field), field_(field) {
    adopt(CreateChild(HOTKEY_CLASSW, L"", 0, WS_EX_CLIENTEDGE, container, at));
    SetWindowSubclass(window_, &HotKeyPeer::watchKeys, 1, reinterpret_cast<DWORD_PTR>(this));
}

HotKeyPeer::~HotKeyPeer() {
    if (IsWindow(window_)) RemoveWindowSubclass(window_, &HotKeyPeer::watchKeys, 1);
}

void HotKeyPeer::sync() {
    const HotKeyValue value = field_.value();
    const BYTE modifiers = static_cast<BYTE>((value.shift ? HOTKEYF_SHIFT : 0) | (value.ctrl ? HOTKEYF_CONTROL : 0) |
                                             (value.alt ? HOTKEYF_ALT : 0));
    const WPARAM wanted = MAKEWORD(static_cast<BYTE>(value.key), value.key ? modifiers : 0);
    if (LOWORD(SendMessageW(window_, HKM_GETHOTKEY, 0, 0)) != wanted) {
        SyncScope scope(syncing_);
        SendMessageW(window_, HKM_SETHOTKEY, wanted, 0);
    }
    syncVisibility();
}

void HotKeyPeer::command(UINT code) {
    if (code == EN_CHANGE) readBack();
}

void HotKeyPeer::readBack() {
    if (syncing_) return;
    const WORD hotKey = LOWORD(SendMessageW(window_, HKM_GETHOTKEY, 0, 0));
    const BYTE modifiers = HIBYTE(hotKey);
    const HotKeyValue shown{LOBYTE(hotKey), (modifiers & HOTKEYF_SHIFT) != 0, (modifiers & HOTKEYF_CONTROL) != 0,
                            (modifiers & HOTKEYF_ALT) != 0};
    const HotKeyValue held = field_.value();
    if (shown.key != held.key || shown.shift != held.shift || shown.ctrl != held.ctrl || shown.alt != held.alt)
        field_.userEntered(shown);
}

LRESULT CALLBACK HotKeyPeer::watchKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_KILLFOCUS: Guarded([&] { reinterpret_cast<HotKeyPeer*>(self)->readBack(); }); break;
        default: break;
    }
    return result;
}

// --- Memo --------------------------------------------------------------------------------------

MemoPeer::MemoPeer(FormWindow& form, Memo& memo, HWND container, Rect at) : ChildPeer(form, memo), memo_(memo) {
    adopt(CreateChild(WC_EDITW, L"", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE,
                      container, at));
}

void MemoPeer::sync() {
    std::string text;
    for (std::size_t i = 0; i < memo_.lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += memo_.lines[i];
    }
    syncWindowText(window_, text);
    syncVisibility();
}

// --- ComboBox ----------------------------------------------------------------------------------

ComboBoxPeer::ComboBoxPeer(FormWindow& form, ComboBox& box, HWND container, Rect at)
    : ChildPeer(form, box), box_(box) {
    Rect withList = at;
    withList.height = at.height + 200;  // the height of a combo box includes its drop-down list
    adopt(CreateChild(WC_COMBOBOXW, L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0, container, withList));
}

void ComboBoxPeer::sync() {
    SyncScope scope(syncing_);
    if (shownItems_ != box_.items()) {
        SendMessageW(window_, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : box_.items())
            SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
        shownItems_ = box_.items();
    }
    const int shownIndex = static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0));
    if (box_.itemIndex() >= 0) {
        if (shownIndex != box_.itemIndex()) SendMessageW(window_, CB_SETCURSEL, box_.itemIndex(), 0);
    } else {
        if (shownIndex != CB_ERR) SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        if (WindowText(window_) != box_.text()) SetWindowTextW(window_, Wide(box_.text()).c_str());
    }
    syncVisibility();
}

void ComboBoxPeer::command(UINT code) {
    if (syncing_) return;
    if (code == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0));
        box_.userSelected(index == CB_ERR ? -1 : index);
    } else if (code == CBN_EDITCHANGE) {
        box_.userTyped(WindowText(window_));
    }
}

}  // namespace kivra::ui::win32
