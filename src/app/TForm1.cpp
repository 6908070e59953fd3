// The main window's life cycle, and the handlers that forward to the binding table and the
// remote menu.
#include "app/TForm1.h"

#include "bindings/BindingFiles.h"
#include "platform/WindowsConstants.h"
#include "toolkit/ErrorReport.h"

namespace kivra {
void TForm1::ReportError(const std::string& message) { ShowErrorReport(platform_, message); }

void TForm1::RunStartupStep(const std::function<void()>& step) {
    try {
        step();
    } catch (const KivraError& error) {
        ReportError(error.what());
    }
}

void TForm1::setAboutWindow(ui::Form& about) {
    aboutWindow_ = &about;
    skins_.addForm(about);
}

// Start-up, in this order. The window exists already (realised before this runs), so the
// tray icon can name it. A step that fails is reported and the later steps still run: a typo
// in the settings file must not leave the program without its tray icon or its row labels.
void TForm1::FormCreate() {
    setTitle(kMainWindowTitle);
    menuCommands_.setMainWindow(handle());
    utils_.setMainWindow(handle());
    reception_.minimumGap = 100;
    utils_.keyDelay = 100;
    RunStartupStep([this] { LoadConfiguration(); });
    RunStartupStep([this] { StartWinLirc(); });
    RunStartupStep([this] { SetUpRetryTimer(); });
    RunStartupStep([this] { TakePort(); });
    if (!activeFlag_) ShowActiveState();
    AddTrayIcon();
    bindings_.WriteLabels();
}

// Showing a window activates it before the toolkit reports the showing, so an activation
// that comes first is held back until the showing has been handled: the skin box and the
// first connection attempt come before the start-in-tray step.
void TForm1::FormShow() {
    formShown_ = true;
    FillSkinBox();
    try {
        ClientSocket1.setActive(activeFlag_);
    } catch (...) {
        RunHeldActivation();
        throw;
    }
    RunHeldActivation();
}

void TForm1::RunHeldActivation() {
    if (!activationHeld_) return;
    activationHeld_ = false;
    FormActivate();
}

void TForm1::FormActivate() {
    if (!formShown_) {
        activationHeld_ = true;
        return;
    }
    if (startInTrayDone_ || !sCheckBox2.checked()) return;
    GoToTray(true);
    startInTrayDone_ = true;
}

bool TForm1::FormClose() {
    try {
        SaveConfiguration();
    } catch (const KivraError& error) {
        // The settings could not be kept: say so and stay open, so the user can fix the
        // cause and close again.
        ReportError(error.what());
        return false;
    }
    return true;
}

void TForm1::FormDestroy() { platform_.tray.removeIcon(handle(), kTrayIconId); }

// --- Bindings --------------------------------------------------------------------------------

void TForm1::ProcessCommands(const std::string& buttonName) { bindings_.ProcessCommands(buttonName); }

void TForm1::AssignButton(const std::string& buttonName) { bindings_.AssignButton(buttonName); }

void TForm1::sButton1Click() { SaveBindingFiles(platform_.files, StringGrid1); }

void TForm1::sButton2Click() { bindings_.AddKeyCombination(HotKey1.value()); }

void TForm1::N4Click() { bindings_.ClearSelectedCell(); }

// --- The remote menu ---------------------------------------------------------------------------

void TForm1::CommandParser(const std::string& command, const std::string& parameters) {
    menuCommands_.CommandParser(command, parameters);
}

void TForm1::FillTree(const std::string& fileName) {
    platform_.probe.mark("menu-load-begin");
    remoteMenu_.FillTree(fileName);
    platform_.probe.mark("menu-load-end");
}

void TForm1::ChangeMenuFont(int pointSize) { remoteMenu_.ChangeMenuFont(pointSize); }

void TForm1::MenuClick(ui::MenuItem& item) { remoteMenu_.MenuClick(item); }

void TForm1::sButton4Click() {
    if (!sOpenDialog1.execute(handle())) return;
    FillTree(sOpenDialog1.fileName);
    ChangeMenuFont(sSpinEdit4.value());
}

void TForm1::ShowRemoteMenu() {
    // The display was turned off by the program: wake it, or the menu opens unseen.
    if (utils_.monitorOff) platform_.windows.sendMessage(utils_.applicationWindow(), kWmSysCommand, kScMonitorPower, 0);
    const Point at = platform_.windows.cursorPos();
    // In the foreground, even while hidden in the tray, so a click elsewhere closes the menu.
    platform_.windows.setForeground(handle());
    PopupMenu1.popup(at);
}

// --- The big buttons --------------------------------------------------------------------------

void TForm1::sSpeedButton2Click() {
    if (aboutWindow_) aboutWindow_->show(kSwShow);
}

void TForm1::sSpeedButton3Click() { GoToTray(true); }

void TForm1::sSpeedButton4Click() { close(); }

}  // namespace kivra
