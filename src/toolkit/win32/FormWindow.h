// The realised window of a Form: a top-level window with a fixed client size that owns the
// child windows of the form's controls and carries the form's life-cycle events, timers,
// menus and dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <unordered_map>

#include "toolkit/Form.h"
#include "toolkit/win32/GuiResources.h"
#include "toolkit/win32/Win32Toolkit.h"

namespace kivra::ui::win32 {

class ChildPeer;

class FormWindow : public FormPeer {
public:
    FormWindow(Form& form, HWND owner, FormRole role);
    ~FormWindow() override;  // destroys the window if it still exists, without calling the form
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    void sync() override;
    WindowHandle handle() const override { return reinterpret_cast<WindowHandle>(window_); }
    void show(int showCommand) override;
    void close() override;
    HWND window() const { return window_; }

    // Creation, in this order, by Realize.
    void realizeControls();
    void hookComponents();

    // Windows whose notifications go to a peer.
    void enroll(HWND window, ChildPeer* peer);
    void withdraw(HWND window);

    // The messages that child windows send to their parent: the form window and the page
    // containers hand them here. True when handled, with the result.
    bool childMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    const std::optional<ColorScheme>& scheme() const { return applied_; }
    HBRUSH faceBrush() const { return static_cast<HBRUSH>(faceBrush_.get()); }
    HBRUSH fieldBrush() const { return static_cast<HBRUSH>(fieldBrush_.get()); }
    // WM_CTLCOLORxxx in the scheme's colours; null without a scheme (the system's colours).
    HBRUSH schemeColors(UINT message, HDC dc) const;
    // Fills a container's background: the scheme's face colour or the system's.
    void paintBackground(HWND container, HDC dc);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void realizeChildren(Control& parent, HWND container, POINT offset);
    void applyScheme();
    void armTimer(std::size_t index);
    ChildPeer* peerOf(HWND window) const;

    Form& form_;
    FormRole role_;
    HWND window_ = nullptr;
    bool ready_ = false;            // creation is over: messages may reach the form's handlers
    bool deferActivation_ = false;  // inside the first show: activation waits until onShow has run
    bool activationDeferred_ = false;
    std::unordered_map<HWND, ChildPeer*> peers_;
    std::optional<ColorScheme> applied_;
    UniqueGdiObject faceBrush_;
    UniqueGdiObject fieldBrush_;
};

}  // namespace kivra::ui::win32
