#include "toolkit/win32/GridPeer.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/MessageBoundary.h"
#include "platform/win32/WideText.h"
#include "toolkit/win32/FormWindow.h"

namespace kivra::ui::win32 {

using kivra::win32::Guarded;
using kivra::win32::Wide;

namespace {
constexpr wchar_t kGridClass[] = L"KivraGrid";
constexpr int kDefaultColumnWidth = 64;
constexpr COLORREF kGridLine = RGB(192, 192, 192);

// Drawing goes to a bitmap first, so that scrolling and repainting do not flicker.
class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT& area)
        : target_(target), area_(area), dc_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)),
          previous_(SelectObject(dc_, bitmap_.get())) {}
    ~BufferedPaint() {
        BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_, 0, 0, SRCCOPY);
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC target_;
    RECT area_;
    HDC dc_;
    UniqueGdiObject bitmap_;
    HGDIOBJ previous_;
};

void Fill(HDC dc, const RECT& area, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}
}  // namespace

GridPeer::GridPeer(FormWindow& form, Grid& grid, HWND container, Rect at) : ChildPeer(form, grid), grid_(grid) {
    RegisterWindowClass(kGridClass, &GridPeer::procedure, nullptr, CS_DBLCLKS);
    adopt(CreateChild(kGridClass, L"", WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, container, at, this));
    updateScrollBar();
}

GridPeer::~GridPeer() {
    if (IsWindow(window_)) SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

void GridPeer::sync() {
    if (grid_.selectedRow() != shownRow_ || grid_.selectedCol() != shownCol_) {
        shownRow_ = grid_.selectedRow();
        shownCol_ = grid_.selectedCol();
        ensureVisible(shownRow_);
    }
    updateScrollBar();
    InvalidateRect(window_, nullptr, FALSE);
    syncVisibility();
}

void GridPeer::schemeChanged() {
    InvalidateRect(window_, nullptr, FALSE);
}

int GridPeer::columnWidth(int col) const {
    return col < static_cast<int>(grid_.colWidths.size()) ? grid_.colWidths[static_cast<std::size_t>(col)]
                                                           : kDefaultColumnWidth;
}

int GridPeer::visibleRows() const {
    RECT client{};
    GetClientRect(window_, &client);
    const int rowHeight = std::max(1, grid_.rowHeight);
    return std::max(1, static_cast<int>(client.bottom - rowHeight) / rowHeight);
}

int GridPeer::lastTopRow() const {
    return std::max(1, grid_.rowCount() - visibleRows());
}

void GridPeer::scrollTo(int topRow) {
    topRow = std::clamp(topRow, 1, lastTopRow());
    if (topRow == topRow_) return;
    topRow_ = topRow;
    updateScrollBar();
    InvalidateRect(window_, nullptr, FALSE);
}

void GridPeer::ensureVisible(int row) {
    if (row < topRow_)
        scrollTo(row);
    else if (row >= topRow_ + visibleRows())
        scrollTo(row - visibleRows() + 1);
}

void GridPeer::updateScrollBar() {
    topRow_ = std::clamp(topRow_, 1, lastTopRow());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 1;
    info.nMax = std::max(1, grid_.rowCount() - 1);
    info.nPage = static_cast<UINT>(visibleRows());
    info.nPos = topRow_;
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
}

void GridPeer::selectAt(int x, int y) {
    const int rowHeight = std::max(1, grid_.rowHeight);
    if (y < rowHeight) return;  // the header cannot be selected
    const int row = topRow_ + (y - rowHeight) / rowHeight;
    int left = 0;
    for (int col = 0; col < grid_.colCount(); ++col) {
        const int right = left + columnWidth(col);
        if (x >= left && x < right) {
            if (row < grid_.rowCount()) grid_.select(row, col);
            return;
        }
        left = right;
    }
}

void GridPeer::moveSelection(UINT key) {
    int row = grid_.selectedRow();
    int col = grid_.selectedCol();
    const int page = std::max(1, visibleRows() - 1);
    switch (key) {
        case VK_UP: --row; break;
        case VK_DOWN: ++row; break;
        case VK_LEFT: --col; break;
        case VK_RIGHT: ++col; break;
        case VK_PRIOR: row -= page; break;
        case VK_NEXT: row += page; break;
        case VK_HOME: row = 1; break;
        case VK_END: row = grid_.rowCount() - 1; break;
        default: return;
    }
    grid_.select(std::clamp(row, 1, grid_.rowCount() - 1), std::clamp(col, 0, grid_.colCount() - 1));
}

void GridPeer::paint(HDC target, const RECT& client) {
    BufferedPaint buffer(target, client);
    HDC dc = buffer.dc();
    const auto& scheme = form_.scheme();
    const COLORREF background = scheme ? AsColorRef(scheme->field) : RGB(255, 255, 255);
    const COLORREF ink = scheme ? AsColorRef(scheme->fieldText) : RGB(0, 0, 0);
    const COLORREF header = AsColorRef(grid_.headerColor);
    const COLORREF headerInk = RGB(0, 0, 0);
    const COLORREF selection = scheme ? AsColorRef(scheme->accent) : GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF selectionInk = scheme ? AsColorRef(scheme->accentText) : GetSysColor(COLOR_HIGHLIGHTTEXT);

    Fill(dc, client, background);
    HGDIOBJ previousFont = SelectObject(dc, font());
    SetBkMode(dc, TRANSPARENT);
    UniqueGdiObject linePen(CreatePen(PS_SOLID, 1, kGridLine));
    HGDIOBJ previousPen = SelectObject(dc, linePen.get());

    const int rowHeight = std::max(1, grid_.rowHeight);
    auto drawRow = [&](int row, int top) {
        int left = 0;
        for (int col = 0; col < grid_.colCount(); ++col) {
            const int width = columnWidth(col);
            RECT cell{left, top, left + width - 1, top + rowHeight - 1};
            COLORREF cellInk = ink;
            if (row == 0) {
                Fill(dc, cell, header);
                cellInk = headerInk;
            } else if (row == grid_.selectedRow() && col == grid_.selectedCol()) {
                Fill(dc, cell, selection);
                cellInk = selectionInk;
                if (GetFocus() == window_) DrawFocusRect(dc, &cell);
            }
            MoveToEx(dc, left + width - 1, top, nullptr);
            LineTo(dc, left + width - 1, top + rowHeight);
            MoveToEx(dc, left, top + rowHeight - 1, nullptr);
            LineTo(dc, left + width, top + rowHeight - 1);

            const std::wstring text = Wide(grid_.cell(row, col));
            RECT textArea = cell;
            textArea.left += 2;
            SetTextColor(dc, cellInk);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
            left += width;
        }
    };
    if (grid_.rowCount() > 0) drawRow(0, 0);
    for (int row = topRow_, top = rowHeight; row < grid_.rowCount() && top < client.bottom; ++row, top += rowHeight)
        drawRow(row, top);

    SelectObject(dc, previousPen);
    SelectObject(dc, previousFont);
}

LRESULT GridPeer::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paintInfo;
            HDC dc = BeginPaint(window_, &paintInfo);
            RECT client{};
            GetClientRect(window_, &client);
            if (client.right > 0 && client.bottom > 0) paint(dc, client);
            EndPaint(window_, &paintInfo);
            return 0;
        }
        case WM_SIZE: updateScrollBar(); return 0;
        case WM_GETDLGCODE: return DLGC_WANTARROWS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: InvalidateRect(window_, nullptr, FALSE); return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(window_);
            selectAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_RBUTTONDOWN: SetFocus(window_); return 0;
        case WM_CONTEXTMENU: {
            // The menu acts on the selected cell, which a right click does not move.
            if (!grid_.contextMenu) return 0;
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (at.x == -1 && at.y == -1) GetCursorPos(&at);
            grid_.contextMenu->popup(Point{at.x, at.y});
            return 0;
        }
        case WM_KEYDOWN: moveSelection(static_cast<UINT>(wParam)); return 0;
        case WM_MOUSEWHEEL: {
            const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            scrollTo(topRow_ - notches * 3);
            return 0;
        }
        case WM_VSCROLL: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            GetScrollInfo(window_, SB_VERT, &info);
            switch (LOWORD(wParam)) {
                case SB_LINEUP: scrollTo(topRow_ - 1); break;
                case SB_LINEDOWN: scrollTo(topRow_ + 1); break;
                case SB_PAGEUP: scrollTo(topRow_ - visibleRows()); break;
                case SB_PAGEDOWN: scrollTo(topRow_ + visibleRows()); break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: scrollTo(info.nTrackPos); break;
                case SB_TOP: scrollTo(1); break;
                case SB_BOTTOM: scrollTo(lastTopRow()); break;
                default: break;
            }
            return 0;
        }
        default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK GridPeer::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* peer = static_cast<GridPeer*>(creation->lpCreateParams);
        peer->window_ = window;  // messages arrive before CreateWindowEx returns
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    }
    auto* peer = reinterpret_cast<GridPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!peer) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    if (!Guarded([&] { result = peer->handleMessage(message, wParam, lParam); })) return 0;
    return result;
}

}  // namespace kivra::ui::win32
