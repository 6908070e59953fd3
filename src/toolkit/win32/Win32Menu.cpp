#include "toolkit/win32/Win32Menu.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/WideText.h"
#include "toolkit/Canvas.h"
#include "toolkit/win32/GdiCanvas.h"

namespace kivra::ui::win32 {

namespace {

using kivra::win32::Wide;

struct MenuDeleter {
    void operator()(HMENU menu) const {
        if (menu) DestroyMenu(menu);
    }
};
using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

// The items of every menu on screen, per HMENU in their order: owner-draw messages are
// answered only for these, so stray item data can never be taken for an item.
std::map<HMENU, std::vector<MenuItem*>>& ShownMenus() {
    static std::map<HMENU, std::vector<MenuItem*>> menus;
    return menus;
}

std::multiset<const MenuItem*>& ShownItems() {
    static std::multiset<const MenuItem*> items;
    return items;
}

bool IsShown(const MenuItem* item) { return ShownItems().count(item) != 0; }

// Builds an HMENU holding parent's items; the chosen item's id is its index in byId plus 1
// (0 is "no choice").
class MenuBuilder {
public:
    MenuBuilder(bool ownerDraw, std::vector<MenuItem*>& byId, std::vector<HMENU>& built)
        : ownerDraw_(ownerDraw), byId_(byId), built_(built) {}

    MenuPtr build(const MenuItem& parent) {
        MenuPtr menu(CreatePopupMenu());
        if (!menu) return menu;
        built_.push_back(menu.get());
        std::vector<MenuItem*>& shown = ShownMenus()[menu.get()];
        for (const auto& child : parent.items) {
            if (!append(menu.get(), *child)) continue;
            shown.push_back(child.get());
            ShownItems().insert(child.get());
        }
        return menu;
    }

private:
    bool append(HMENU menu, MenuItem& item) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
        std::wstring caption = Wide(item.caption);
        if (ownerDraw_ && item.painter) {
            // A separator stays one, so it cannot be chosen; the painter draws it all the same.
            info.fType = MFT_OWNERDRAW | (item.isSeparator() ? MFT_SEPARATOR : 0);
        } else if (item.isSeparator()) {
            info.fType = MFT_SEPARATOR;
        } else {
            info.fType = MFT_STRING;
            info.fMask |= MIIM_STRING;
            info.dwTypeData = caption.data();
        }
        info.fState = (item.checked ? MFS_CHECKED : 0) | (item.enabled ? 0 : MFS_DISABLED);
        byId_.push_back(&item);
        info.wID = static_cast<UINT>(byId_.size());
        info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);

        MenuPtr submenu;
        if (!item.items.empty()) {
            submenu = build(item);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = submenu.get();
        }
        if (!InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info)) return false;
        submenu.release();  // the parent menu destroys it now
        return true;
    }

    bool ownerDraw_;
    std::vector<MenuItem*>& byId_;
    std::vector<HMENU>& built_;
};

// Forgets the menus of one TrackPopup when it ends, however it ends.
class ShownMenusGuard {
public:
    explicit ShownMenusGuard(std::vector<HMENU>& built) : built_(built) {}
    ~ShownMenusGuard() {
        for (HMENU menu : built_) {
            const auto found = ShownMenus().find(menu);
            if (found == ShownMenus().end()) continue;
            for (const MenuItem* item : found->second) ShownItems().erase(ShownItems().find(item));
            ShownMenus().erase(found);
        }
    }
    ShownMenusGuard(const ShownMenusGuard&) = delete;
    ShownMenusGuard& operator=(const ShownMenusGuard&) = delete;

private:
    std::vector<HMENU>& built_;
};

// The accelerator of a caption: the character after a single "&", upper-cased.
wchar_t Accelerator(const std::string& caption) {
    const std::wstring wide = Wide(caption);
    for (size_t i = 0; i + 1 < wide.size(); ++i) {
        if (wide[i] != L'&') continue;
        if (wide[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(
            static_cast<ULONG_PTR>(wide[i + 1])))));
    }
    return 0;
}

// Owner-drawn items get no accelerators from Windows: the owner picks the item. One match
// runs it, several move the selection to the next one after the highlighted item.
LRESULT MenuChar(WPARAM wParam, LPARAM lParam) {
    const auto found = ShownMenus().find(reinterpret_cast<HMENU>(lParam));
    if (found == ShownMenus().end()) return MAKELRESULT(0, MNC_IGNORE);
    const wchar_t typed = static_cast<wchar_t>(
        reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(LOWORD(wParam))))));
    const HMENU menu = found->first;
    const std::vector<MenuItem*>& items = found->second;

    int highlighted = -1;
    std::vector<int> matches;
    for (size_t i = 0; i < items.size(); ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) highlighted = static_cast<int>(i);
        if (items[i]->enabled && !items[i]->isSeparator() && Accelerator(items[i]->caption) == typed)
            matches.push_back(static_cast<int>(i));
    }
    if (matches.empty()) return MAKELRESULT(0, MNC_IGNORE);
    if (matches.size() == 1) return MAKELRESULT(matches[0], MNC_EXECUTE);
    for (int position : matches)
        if (position > highlighted) return MAKELRESULT(position, MNC_SELECT);
    return MAKELRESULT(matches[0], MNC_SELECT);
}

// The widest an item may be: a menu wider than the screen would lose its right part, and an
// over-long caption its ellipsis. One level of the menu takes at most half the work area of
// the monitor under the cursor (less what the menu adds around its items), so that a submenu
// opened beside it leaves its captions readable.
int WidestItem() {
    POINT cursor{};
    GetCursorPos(&cursor);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor)) return 1 << 20;
    const int margin = GetSystemMetrics(SM_CXMENUCHECK) + 2 * GetSystemMetrics(SM_CXFIXEDFRAME) + 8;
    return static_cast<int>(monitor.rcWork.right - monitor.rcWork.left) / 2 - margin;
}

}  // namespace

MenuItem* TrackPopup(HWND owner, PopupMenu& menu, Point at) {
    std::vector<MenuItem*> byId;
    std::vector<HMENU> built;
    ShownMenusGuard guard(built);
    MenuPtr popup = MenuBuilder(menu.ownerDraw, byId, built).build(menu.root);
    if (!popup) return nullptr;

    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
    // Without a message after the loop the next pop-up of a window in the background may not
    // close when the user clicks elsewhere.
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen == 0 || chosen > byId.size()) return nullptr;
    return byId[chosen - 1];
}

bool HandleOwnerDrawMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!measure || measure->CtlType != ODT_MENU) return false;
        auto* item = reinterpret_cast<MenuItem*>(measure->itemData);
        if (!item || !item->painter || !IsShown(item)) return false;
        WindowDc dc(window);
        GdiCanvas canvas(dc.get());
        int width = static_cast<int>(measure->itemWidth);
        int height = static_cast<int>(measure->itemHeight);
        item->painter->measureItem(*item, canvas, width, height);
        width = std::min(width, WidestItem());
        measure->itemWidth = static_cast<UINT>(width > 0 ? width : 0);
        measure->itemHeight = static_cast<UINT>(height > 0 ? height : 0);
        result = TRUE;
        return true;
    }
    if (message == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!draw || draw->CtlType != ODT_MENU) return false;
        auto* item = reinterpret_cast<MenuItem*>(draw->itemData);
        if (!item || !item->painter || !IsShown(item)) return false;
        GdiCanvas canvas(draw->hDC);
        const RECT& r = draw->rcItem;
        item->painter->drawItem(*item, canvas, Rect{r.left, r.top, r.right - r.left, r.bottom - r.top},
                                draw->itemState);
        result = TRUE;
        return true;
    }
    if (message == WM_MENUCHAR) {
        if (ShownMenus().find(reinterpret_cast<HMENU>(lParam)) == ShownMenus().end()) return false;
        result = MenuChar(wParam, lParam);
        return true;
    }
    return false;
}

}  // namespace kivra::ui::win32
