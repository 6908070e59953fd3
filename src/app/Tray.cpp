// The tray: the icon, its callback, the tray menu, and GoToTray, which hides the window with
// its taskbar button or brings both back.
#include "app/TForm1.h"

namespace kivra {

void TForm1::AddTrayIcon() {
    platform_.tray.addIcon(handle(), kTrayIconId, kTrayCallbackMessage, kTrayTip);
    platform_.probe.mark("tray-icon");
}

void TForm1::GoToTray(bool toTray) {
    // The application window carries the taskbar button: it goes and comes with the window.
    const int command = toTray ? kSwHide : kSwRestore;
    show(command);
    platform_.windows.showWindow(utils_.applicationWindow(), command);
    N1->caption = toTray ? "Развернуть" : "Свернуть";
    inTray_ = toTray;
}

bool TForm1::HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == kTrayCallbackMessage) {
        TrayCallback(lParam);
        return true;
    }
    // The minimize box and the system menu's "minimize" send the window to the tray, never
    // to the taskbar.
    if (message == kWmSysCommand && wParam == kScMinimize) {
        GoToTray(true);
        return true;
    }
    // Explorer came back (after a crash or a restart) with an empty tray.
    if (taskbarCreatedMessage != 0 && message == taskbarCreatedMessage) {
        AddTrayIcon();
        return true;
    }
    return false;
}

void TForm1::TrayCallback(std::intptr_t mouseMessage) {
    if (mouseMessage == kWmLButtonDblClk) {
        GoToTray(false);
    } else if (mouseMessage == kWmRButtonDown) {
        const Point at = platform_.windows.cursorPos();
        // The menu closes on a click elsewhere only when its owner is in the foreground.
        platform_.windows.setForeground(handle());
        PopupMenu2.popup(at);
    }
}

void TForm1::N1Click() { GoToTray(!inTray_); }

void TForm1::N3Click() { close(); }

}  // namespace kivra
