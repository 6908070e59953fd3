// The base of every control's peer: the control's child window, registered with its form so
// that the notifications of that window (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM) come back here.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/win32/GuiResources.h"

namespace kivra::ui::win32 {

class FormWindow;

class ChildPeer : public ControlPeer {
public:
    ChildPeer(FormWindow& form, Control& control);
    ~ChildPeer() override;
    ChildPeer(const ChildPeer&) = delete;
    ChildPeer& operator=(const ChildPeer&) = delete;

    WindowHandle handle() const override { return reinterpret_cast<WindowHandle>(window_); }
    HWND window() const { return window_; }

    // Notifications of an adopted window, called inside the message boundary.
    virtual void command(UINT /*code*/) {}
    virtual bool notify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual bool drawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // The form's colour scheme changed (or went back to the system's colours).
    virtual void schemeChanged() {}
    // WM_CTLCOLORxxx for an adopted window; null for the default colours.
    virtual HBRUSH controlColors(UINT message, HDC dc);

protected:
    // Makes `window` send its notifications to this peer; the first one is the peer's main
    // window, which gets the control's own font height when it has one.
    void adopt(HWND window);
    HFONT font() const;
    void syncVisibility();
    void syncWindowText(HWND window, const std::string& text);

    FormWindow& form_;
    Control& control_;
    HWND window_ = nullptr;
    bool syncing_ = false;  // set while sync() writes to the window: what it reports is not the user's

private:
    std::vector<HWND> adopted_;
    UniqueGdiObject font_;
};

// Sets a flag for the lifetime of the scope.
class SyncScope {
public:
    explicit SyncScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~SyncScope() { flag_ = previous_; }
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

std::string WindowText(HWND window);

}  // namespace kivra::ui::win32
