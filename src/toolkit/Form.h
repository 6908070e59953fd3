// A top-level window and its life-cycle events. The realisation creates the window and every
// control under it, and calls the handlers below from its message procedure; an exception
// thrown by a handler is caught there and shown by the error report.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>
#include <string>

#include "toolkit/Controls.h"

namespace kivra::ui {

struct FormStyle {
    int clientWidth = 0;
    int clientHeight = 0;
    bool minimizeBox = true;
    bool maximizeBox = false;
    bool sizeable = false;
};

// The realised window of a form: what the handlers may ask of the screen.
class FormPeer : public ControlPeer {
public:
    virtual void show(int showCommand) = 0;  // ShowWindow on the form's window
    virtual void close() = 0;                // asks the form to close (WM_CLOSE)
};

// The colours a skin gives every window of the program; no scheme means the system's colours.
struct ColorScheme {
    std::uint32_t face = 0;        // window and control background, 0x00BBGGRR
    std::uint32_t text = 0;        // captions and text
    std::uint32_t field = 0;       // edit fields, grid and tree background
    std::uint32_t fieldText = 0;
    std::uint32_t accent = 0;      // big buttons, tabs, selection
    std::uint32_t accentText = 0;
};

class Form : public Control {
public:
    Form(std::string name, FormStyle style);
    const FormStyle& style() const { return style_; }

    const std::string& title() const { return caption(); }
    void setTitle(const std::string& title) { setCaption(title); }

    // Life-cycle, called by the realisation (or a test).
    std::function<void()> onShow;      // the first showing
    std::function<void()> onActivate;  // every activation
    // Return false to keep the window open.
    std::function<bool()> onCloseQuery;
    std::function<void()> onDestroy;
    // Window messages the toolkit does not handle itself (tray callbacks, WM_SYSCOMMAND...).
    // Return true when handled.
    std::function<bool(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)> onMessage;

    // Non-visual components the realisation hooks up (menus, timers, dialogs).
    std::vector<PopupMenu*> popupMenus;
    std::vector<Timer*> timers;
    std::vector<OpenDialog*> openDialogs;
    std::vector<FolderDialog*> folderDialogs;

    // Recolours the window and its controls; std::nullopt: the system's colours.
    void setColorScheme(const std::optional<ColorScheme>& scheme);
    const std::optional<ColorScheme>& colorScheme() const { return scheme_; }

    void show(int showCommand);
    void close();
    bool shown() const { return shown_; }

private:
    FormPeer* formPeer() const { return static_cast<FormPeer*>(peer()); }
    FormStyle style_;
    std::optional<ColorScheme> scheme_;
    bool shown_ = false;
};

}  // namespace kivra::ui
