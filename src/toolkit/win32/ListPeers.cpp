#include "toolkit/win32/ListPeers.h"

#include <numeric>

#include "platform/win32/MessageBoundary.h"
#include "platform/win32/WideText.h"
#include "toolkit/win32/FormWindow.h"

namespace kivra::ui::win32 {
namespace {

// Posted to the status bar itself; its class uses nothing in the WM_APP range.
constexpr UINT kApplyTextsMessage = WM_APP + 1;

}  // namespace

using kivra::win32::Guarded;
using kivra::win32::Wide;

// --- StatusBar ---------------------------------------------------------------------------------

StatusBarPeer::StatusBarPeer(FormWindow& form, StatusBar& bar, HWND container) : ChildPeer(form, bar), bar_(bar) {
    adopt(CreateChild(STATUSCLASSNAMEW, L"", CCS_BOTTOM, 0, container, Rect{}));
    std::vector<int> rightEdges;
    int edge = 0;
    for (int width : bar.panelWidths()) rightEdges.push_back(edge += width);
    if (!rightEdges.empty()) rightEdges.back() = -1;  // the last panel takes the rest
    SendMessageW(window_, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
    SetWindowSubclass(window_, &StatusBarPeer::subclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

StatusBarPeer::~StatusBarPeer() {
    if (IsWindow(window_)) RemoveWindowSubclass(window_, &StatusBarPeer::subclass, 1);
}

void StatusBarPeer::sync() {
    syncVisibility();
    if (textsPending_) return;
    textsPending_ = PostMessageW(window_, kApplyTextsMessage, 0, 0) != FALSE;
    if (!textsPending_) applyTexts();
}

void StatusBarPeer::applyTexts() {
    textsPending_ = false;
    for (std::size_t i = 0; i < bar_.panelWidths().size(); ++i) {
        const std::wstring text = Wide(bar_.panel(static_cast<int>(i)));
        SendMessageW(window_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void StatusBarPeer::schemeChanged() {
    InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK StatusBarPeer::subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    auto* peer = reinterpret_cast<StatusBarPeer*>(self);
    if (message == kApplyTextsMessage) {
        if (peer->textsPending_) peer->applyTexts();
        return 0;
    }
    const bool readsText = message == SB_GETTEXTW || message == SB_GETTEXTA || message == SB_GETTEXTLENGTHW ||
                           message == SB_GETTEXTLENGTHA || message == WM_GETTEXT || message == WM_GETTEXTLENGTH;
    if (readsText && peer->textsPending_) peer->applyTexts();
    if (peer->form_.scheme()) {
        if (message == WM_ERASEBKGND) return 1;
        if (message == WM_PAINT) {
            peer->paint();
            return 0;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void StatusBarPeer::paint() {
    PAINTSTRUCT paintInfo;
    HDC dc = BeginPaint(window_, &paintInfo);
    RECT area{};
    GetClientRect(window_, &area);
    FillRect(dc, &area, form_.faceBrush());
    HGDIOBJ previousFont = SelectObject(dc, font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, AsColorRef(form_.scheme()->text));
    UniqueGdiObject separator(CreatePen(PS_SOLID, 1, AsColorRef(form_.scheme()->text)));
    HGDIOBJ previousPen = SelectObject(dc, separator.get());
    MoveToEx(dc, area.left, area.top, nullptr);
    LineTo(dc, area.right, area.top);
    const std::size_t panels = bar_.panelWidths().size();
    for (std::size_t i = 0; i < panels; ++i) {
        RECT panel{};
        SendMessageW(window_, SB_GETRECT, i, reinterpret_cast<LPARAM>(&panel));
        const std::wstring text = Wide(bar_.panel(static_cast<int>(i)));
        RECT textArea = panel;
        textArea.left += 3;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (i + 1 < panels) {
            MoveToEx(dc, panel.right, panel.top + 2, nullptr);
            LineTo(dc, panel.right, panel.bottom - 2);
        }
    }
    SelectObject(dc, previousPen);
    SelectObject(dc, previousFont);
    EndPaint(window_, &paintInfo);
}

// --- TreeView ----------------------------------------------------------------------------------

TreeViewPeer::TreeViewPeer(FormWindow& form, TreeView& tree, HWND container, Rect at)
    : ChildPeer(form, tree), tree_(tree) {
    adopt(CreateChild(WC_TREEVIEWW, L"", TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                      WS_EX_CLIENTEDGE, container, at));
}

void TreeViewPeer::sync() {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(window_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    for (const auto& child : tree_.root().children) insert(*child, TVI_ROOT);
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
    syncVisibility();
}

void TreeViewPeer::insert(const TreeNode& node, HTREEITEM parent) {
    std::wstring text = Wide(node.text);
    TVINSERTSTRUCTW insertion{};
    insertion.hParent = parent;
    insertion.hInsertAfter = TVI_LAST;
    insertion.item.mask = TVIF_TEXT;
    insertion.item.pszText = text.data();
    auto* item = reinterpret_cast<HTREEITEM>(
        SendMessageW(window_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insertion)));
    for (const auto& child : node.children) insert(*child, item);
    if (!node.children.empty()) SendMessageW(window_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void TreeViewPeer::schemeChanged() {
    const auto& scheme = form_.scheme();
    SendMessageW(window_, TVM_SETBKCOLOR, 0, scheme ? static_cast<LPARAM>(AsColorRef(scheme->field)) : -1);
    SendMessageW(window_, TVM_SETTEXTCOLOR, 0, scheme ? static_cast<LPARAM>(AsColorRef(scheme->fieldText)) : -1);
}

// --- PageControl and Page ----------------------------------------------------------------------

PageControlPeer::PageControlPeer(FormWindow& form, PageControl& pages, HWND container, Rect at)
    : ChildPeer(form, pages), pages_(pages), bounds_(at) {
    // Clipping its siblings keeps the tab control from painting over the pages laid on it.
    adopt(CreateChild(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 0, container, at));
}

Rect PageControlPeer::pageArea() const {
    RECT area{0, 0, bounds_.width, bounds_.height};
    // The tabs must exist for the display area to be known.
    SendMessageW(window_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return Rect{bounds_.x + area.left, bounds_.y + area.top, area.right - area.left, area.bottom - area.top};
}

void PageControlPeer::sync() {
    const std::vector<Page*> pages = pages_.pages();
    std::vector<std::string> captions;
    for (Page* page : pages) captions.push_back(page->caption());
    if (captions != shownCaptions_) {
        SyncScope scope(syncing_);
        SendMessageW(window_, TCM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; i < captions.size(); ++i) {
            std::wstring text = Wide(captions[i]);
            TCITEMW tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = text.data();
            SendMessageW(window_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
        }
        shownCaptions_ = captions;
    }
    const int active = pages_.activePage();
    if (SendMessageW(window_, TCM_GETCURSEL, 0, 0) != active) {
        SyncScope scope(syncing_);
        SendMessageW(window_, TCM_SETCURSEL, static_cast<WPARAM>(active), 0);
    }
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (auto* peer = dynamic_cast<PagePeer*>(pages[i]->peer())) peer->showAsActive(static_cast<int>(i) == active);
    syncVisibility();
}

bool PageControlPeer::notify(const NMHDR& header, LRESULT& result) {
    if (header.code != TCN_SELCHANGE) return false;
    if (!syncing_) pages_.setActivePage(static_cast<int>(SendMessageW(window_, TCM_GETCURSEL, 0, 0)));
    result = 0;
    return true;
}

PagePeer::PagePeer(FormWindow& form, Page& page, HWND container, Rect at) : ChildPeer(form, page) {
    RegisterWindowClass(L"KivraPage", &PagePeer::procedure, nullptr);
    adopt(CreateChild(L"KivraPage", L"", WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, container, at, this));
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

PagePeer::~PagePeer() {
    if (IsWindow(window_)) SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

void PagePeer::sync() {
    // The caption is the tab's text, shown by the page control.
    if (auto* owner = control_.parent(); owner && owner->peer()) owner->peer()->sync();
}

void PagePeer::schemeChanged() {
    InvalidateRect(window_, nullptr, TRUE);
}

void PagePeer::showAsActive(bool active) {
    const bool shown = (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != active) ShowWindow(window_, active ? SW_SHOWNA : SW_HIDE);
}

LRESULT CALLBACK PagePeer::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* page = reinterpret_cast<PagePeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (page) {
        if (message == WM_ERASEBKGND) {
            page->form_.paintBackground(window, reinterpret_cast<HDC>(wParam));
            return 1;
        }
        LRESULT result = 0;
        bool handled = false;
        Guarded([&] { handled = page->form_.childMessage(message, wParam, lParam, result); });
        if (handled) return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kivra::ui::win32
