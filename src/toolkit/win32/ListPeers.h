// Peers of the status bar, the tree view and the page control with its pages.
#pragma once

#include <string>
#include <vector>

#include "toolkit/win32/ChildPeer.h"

namespace kivra::ui::win32 {

// The panels keep plain texts (other programs may read them with SB_GETTEXT); in a colour
// scheme the toolkit paints the bar itself.
//
// The bar repaints at once for every text it is given, so a burst of lines from WinLIRC would
// paint the last-command panel once per line, about 1.8 ms each under Wine. The texts therefore
// go to the bar from a posted message, once the handler that set them has run; anyone who asks
// the bar for a text meanwhile gets the new one.
class StatusBarPeer : public ChildPeer {
public:
    StatusBarPeer(FormWindow& form, StatusBar& bar, HWND container);
    ~StatusBarPeer() override;
    void sync() override;
    void schemeChanged() override;

private:
    static LRESULT CALLBACK subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    void applyTexts();
    void paint();
    StatusBar& bar_;
    bool textsPending_ = false;
};

// Rebuilt from the control's nodes at every sync; every node shown expanded.
class TreeViewPeer : public ChildPeer {
public:
    TreeViewPeer(FormWindow& form, TreeView& tree, HWND container, Rect at);
    void sync() override;
    void schemeChanged() override;

private:
    void insert(const TreeNode& node, HTREEITEM parent);
    TreeView& tree_;
};

class PagePeer;

// A tab control; each page is a container window laid over the tab's display area, shown only
// while its tab is the active one.
class PageControlPeer : public ChildPeer {
public:
    PageControlPeer(FormWindow& form, PageControl& pages, HWND container, Rect at);
    void sync() override;
    bool notify(const NMHDR& header, LRESULT& result) override;
    // The display area of the tabs, in the coordinates of the tab control's parent.
    Rect pageArea() const;

private:
    PageControl& pages_;
    Rect bounds_;
    std::vector<std::string> shownCaptions_;
};

class PagePeer : public ChildPeer {
public:
    PagePeer(FormWindow& form, Page& page, HWND container, Rect at);
    ~PagePeer() override;
    void sync() override;
    void schemeChanged() override;
    void showAsActive(bool active);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace kivra::ui::win32
