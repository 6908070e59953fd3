// The main window: it holds the program's state, owns every subsystem and receives every
// event. Its handlers are thin: each forwards to the subsystem that does the work.
//
// The handlers live in files by concern: MainWindowLayout.cpp (the controls and their
// wiring), TForm1.cpp (life cycle, bindings, remote menu), LinkHandlers.cpp (WinLIRC link and
// retry), Settings.cpp (Kivra.ini), Tray.cpp (tray icon, tray menu, GoToTray), Skins.cpp (skin
// box). The entry (win32/WinMain.cpp) realises the window, then runs FormCreate.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "actions/CommandParser.h"
#include "actions/KivraUtils.h"
#include "app/SkinEngine.h"
#include "bindings/BindingTable.h"
#include "link/SignalReception.h"
#include "link/WinLircLink.h"
#include "menu/RemoteMenu.h"
#include "platform/Platform.h"
#include "toolkit/Form.h"
#include "platform/WindowsConstants.h"

namespace kivra {

// The main window's title, which is also the key of the single-instance rule.
inline constexpr char kMainWindowTitle[] = "Kivra 0.91 beta";
inline constexpr char kSettingsFile[] = "Kivra.ini";
inline constexpr char kTrayTip[] = "Kivra v0.91 beta";
inline constexpr unsigned kTrayIconId = 1;
inline constexpr unsigned kTrayCallbackMessage = 1147;  // WM_USER + 123

class TForm1 : public ui::Form, public LinkHandlers {
public:
    // applicationWindow: the taskbar window that owns this one (0 until it exists).
    TForm1(Platform& platform, WindowHandle applicationWindow);
    ~TForm1() override;

    // --- Life cycle -------------------------------------------------------------------
    void FormCreate();    // start-up steps 1 to 9; runs after the window is realised
    void FormShow();      // the first showing: the skin box, then the first connection attempt
    void FormActivate();  // the start-in-tray step
    bool FormClose();     // saves the settings; false keeps the window open
    void FormDestroy();   // removes the tray icon

    // The about window, shown by "Помощь" and painted by the skin engine like this one.
    void setAboutWindow(ui::Form& about);
    // The message Explorer broadcasts when the taskbar comes back ("TaskbarCreated"); the
    // tray icon is added again when it arrives. 0: none registered.
    unsigned taskbarCreatedMessage = 0;

    // --- Settings (Settings.cpp) ---------------------------------------------------------
    void LoadConfiguration();
    void SaveConfiguration();  // throws KivraError("Unable to write to Kivra.ini")

    // --- Tray (Tray.cpp) ------------------------------------------------------------------
    void GoToTray(bool toTray);
    bool inTray() const { return inTray_; }
    // Window messages the toolkit leaves to the program; true when handled.
    bool HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void TrayCallback(std::intptr_t mouseMessage);

    // --- Bindings and the remote menu (TForm1.cpp) -----------------------------------------
    void ProcessCommands(const std::string& buttonName);
    void AssignButton(const std::string& buttonName);
    void CommandParser(const std::string& command, const std::string& parameters);
    void FillTree(const std::string& fileName);
    void ChangeMenuFont(int pointSize);
    void MenuClick(ui::MenuItem& item);
    void ShowRemoteMenu();

    // --- Control handlers ------------------------------------------------------------------
    void sSpeedButton1Click();  // "Активен"
    void sSpeedButton2Click();  // "Помощь"
    void sSpeedButton3Click();  // "Свернуть"
    void sSpeedButton4Click();  // "Выход"
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void sButton1Click();  // "Сохранить настройки"
    void sButton2Click();  // "Добавить"
    void sButton3Click();  // ">>"
    void sButton4Click();  // "Загрузить из файла"
    void sCheckBox3Click();
    void sCheckBox5Click();
    void sCheckBox7Click();
    void sSpinEdit1Change();
    void sSpinEdit2Change();
    void sSpinEdit3Change();
    bool sEdit2KeyPress(char key);
    void Timer1Timer();
    void sComboBox1Change();

    // --- WinLIRC link notifications (LinkHandlers.cpp) -------------------------------------
    void ClientSocket1Lookup() override;
    void ClientSocket1Connecting() override;
    void ClientSocket1Connect() override;
    void ClientSocket1Disconnect() override;
    void ClientSocket1Error(SocketErrorKind kind, int code) override;
    void ClientSocket1Read() override;

    // --- State -----------------------------------------------------------------------------
    bool activeFlag() const { return activeFlag_; }
    KivraUtils& utils() { return utils_; }
    SkinEngine& skins() { return skins_; }
    BindingTable& bindings() { return bindings_; }
    SignalReception& reception() { return reception_; }
    RemoteMenu& remoteMenu() { return remoteMenu_; }

    // --- Controls, by their names ------------------------------------------------------------
    ui::PageControl sPageControl1;
    ui::Page sTabSheet1;  // "Функции"
    ui::Page sTabSheet2;  // "Kivra menu"
    ui::Page sTabSheet3;  // "Настройки", showing first

    // Page "Функции"
    ui::Grid StringGrid1;
    ui::GroupBox hotKeyFrame;
    ui::Label sLabel1;
    ui::HotKeyField HotKey1;
    ui::Button sButton2;

    // Page "Kivra menu"
    ui::Button sButton4;
    ui::Label menuTreeLabel;
    ui::TreeView sTreeView1;
    ui::Label fontSizeLabel;
    ui::SpinEdit sSpinEdit4;

    // Page "Настройки"
    ui::CheckBox sCheckBox2;
    ui::CheckBox sCheckBox3;
    ui::CheckBox sCheckBox4;
    ui::Label pathLabel;
    ui::Edit sEdit1;
    ui::Button sButton3;
    ui::Label portLabel;
    ui::Edit sEdit2;
    ui::CheckBox sCheckBox5;
    ui::SpinEdit sSpinEdit1;
    ui::Label sLabel2;
    ui::CheckBox sCheckBox6;
    ui::Label gapLabel;
    ui::SpinEdit sSpinEdit2;
    ui::Label keyDelayLabel;
    ui::SpinEdit sSpinEdit3;
    ui::CheckBox sCheckBox7;
    ui::ComboBox sComboBox1;

    // Beside and below the tabs
    ui::Button sSpeedButton1;
    ui::Button sSpeedButton2;
    ui::Button sSpeedButton3;
    ui::Button sSpeedButton4;
    ui::Button sButton1;
    ui::GroupBox setupFrame;
    ui::CheckBox sCheckBox1;
    ui::StatusBar sStatusBar1;
    ui::Memo Memo1;
    ui::Memo Memo2;

    // Non-visual components
    ui::PopupMenu PopupMenu1;  // the remote menu
    ui::PopupMenu PopupMenu2;  // the tray menu
    ui::PopupMenu PopupMenu3;  // the grid's context menu
    ui::MenuItem* N1;
    ui::MenuItem* N2;
    ui::MenuItem* N3;
    ui::MenuItem* N4;
    ui::OpenDialog sOpenDialog1;  // menu files
    ui::OpenDialog sOpenDialog2;  // the WinLIRC program
    ui::FolderDialog skinFolderDialog;
    ui::Timer Timer1;

private:
    void WireHandlers();
    // Runs one step of the start-up; a failure is shown by the error report and start-up
    // goes on with the next step.
    void RunStartupStep(const std::function<void()>& step);
    void RunHeldActivation();
    void FillSkinBox();
    void SetSkinBoxIndexGuarded(int index);
    void ShowActiveState();
    void StartWinLirc();
    void SetUpRetryTimer();
    void ArmRetryTimer();
    void TakePort();
    void AddTrayIcon();
    void ReportError(const std::string& message);

    Platform& platform_;
    KivraUtils utils_;
    MenuCommands menuCommands_;
    SkinEngine skins_;
    BindingTable bindings_;
    SignalReception reception_;
    RemoteMenu remoteMenu_;

    bool activeFlag_ = false;        // read from the settings; false until then
    bool inTray_ = false;
    bool startInTrayDone_ = false;
    bool skinListGuard_ = false;
    bool formShown_ = false;
    bool activationHeld_ = false;
    ui::Form* aboutWindow_ = nullptr;

public:
    // Declared last: it refers to this window as its handler and must go first.
    WinLircLink ClientSocket1;
};

}  // namespace kivra
