// Pop-up menus on Windows: a ui::PopupMenu realised as an HMENU for one modal loop, and the
// owner-draw messages of its items.
#pragma once

#include <windows.h>

#include "toolkit/Controls.h"

namespace kivra::ui::win32 {

// Shows menu at the screen point `at`, runs the modal menu loop (the thread's other
// messages keep being dispatched inside it) and returns the chosen item, or nullptr when the
// menu was closed without a choice. It does not click the item. Items with a painter are
// owner-drawn when the menu is; WM_MEASUREITEM and WM_DRAWITEM for them arrive at owner,
// whose window procedure must hand them to HandleOwnerDrawMessage.
MenuItem* TrackPopup(HWND owner, PopupMenu& menu, Point at);

// WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR for the items of a menu that TrackPopup is
// showing: returns true and sets result when the message was one of these.
bool HandleOwnerDrawMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace kivra::ui::win32
