// The text grid: a window class of the toolkit's own. One fixed header row, columns of the
// control's widths, rows of its height, a vertical scroll bar only, and the selected cell
// highlighted. Clicks and arrow keys select; a right click opens the context menu without
// moving the selection.
#pragma once

#include "toolkit/win32/ChildPeer.h"

namespace kivra::ui::win32 {

class GridPeer : public ChildPeer {
public:
    GridPeer(FormWindow& form, Grid& grid, HWND container, Rect at);
    ~GridPeer() override;
    void sync() override;
    void schemeChanged() override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc, const RECT& client);
    int visibleRows() const;   // whole body rows below the header
    int lastTopRow() const;
    void scrollTo(int topRow);
    void ensureVisible(int row);
    void updateScrollBar();
    void selectAt(int x, int y);
    void moveSelection(UINT key);
    int columnWidth(int col) const;

    Grid& grid_;
    int topRow_ = 1;  // the first body row shown under the header
    int shownRow_ = -1;
    int shownCol_ = -1;
};

}  // namespace kivra::ui::win32
