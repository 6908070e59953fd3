// The main window: its controls as the user first sees them, the start-up order, the active
// button, the retry, the port, and the handlers that hand over to the subsystems.
#include <gtest/gtest.h>

#include <map>

#include "TestMainWindow.h"
#include "toolkit/ErrorReport.h"

namespace kivra {
namespace {

class MainWindowTest : public ::testing::Test, protected testing::TestMainWindow {};

TEST_F(MainWindowTest, ControlsStartInTheirDesignStates) {
    TForm1& f = Build();
    EXPECT_EQ(f.style().clientWidth, 656);
    EXPECT_EQ(f.style().clientHeight, 502);
    EXPECT_FALSE(f.style().maximizeBox);
    ASSERT_EQ(f.sPageControl1.pages().size(), 3u);
    EXPECT_EQ(f.sPageControl1.pages()[0]->caption(), "Функции");
    EXPECT_EQ(f.sPageControl1.pages()[1]->caption(), "Kivra menu");
    EXPECT_EQ(f.sPageControl1.pages()[2]->caption(), "Настройки");
    EXPECT_EQ(f.sPageControl1.activePage(), 2);

    struct Box {
        const ui::CheckBox& box;
        const char* caption;
        bool checked;
    };
    const Box boxes[] = {
        {f.sCheckBox1, "Режим настройки", false},
        {f.sCheckBox2, "Запускаться свёрнутым в трей", false},
        {f.sCheckBox3, "Запускаться вместе с Windows", false},
        {f.sCheckBox4, "Запускать WinLIRC при старте", true},
        {f.sCheckBox5, "При потере сервера пытаться соединиться с периодом", true},
        {f.sCheckBox6, "Не обрабатывать команды при запущенном Light Alloy", true},
        {f.sCheckBox7, "Использовать скины", true},
    };
    for (const Box& b : boxes) {
        EXPECT_EQ(b.box.caption(), b.caption);
        EXPECT_EQ(b.box.checked(), b.checked) << b.caption;
    }

    struct Spin {
        const ui::SpinEdit& spin;
        int min, max, step, value;
    };
    const Spin spins[] = {
        {f.sSpinEdit1, 5, 60, 5, 5},
        {f.sSpinEdit2, 10, 10000, 10, 100},
        {f.sSpinEdit3, 10, 10000, 10, 100},
        {f.sSpinEdit4, 8, 48, 1, 32},
    };
    for (const Spin& s : spins) {
        EXPECT_EQ(s.spin.minValue(), s.min) << s.spin.name();
        EXPECT_EQ(s.spin.maxValue(), s.max) << s.spin.name();
        EXPECT_EQ(s.spin.step(), s.step) << s.spin.name();
        EXPECT_EQ(s.spin.value(), s.value) << s.spin.name();
    }
    EXPECT_FALSE(f.sSpinEdit4.visible());

    EXPECT_EQ(f.sEdit2.text(), "8765");
    EXPECT_EQ(f.sEdit2.maxLength(), 9);
    EXPECT_EQ(f.sEdit1.text(), "");
    const char* big[] = {"Активен", "Помощь", "Свернуть", "Выход"};
    const ui::Button* buttons[] = {&f.sSpeedButton1, &f.sSpeedButton2, &f.sSpeedButton3, &f.sSpeedButton4};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->caption(), big[i]);
        EXPECT_EQ(buttons[i]->bounds().width, 105);
        EXPECT_EQ(buttons[i]->bounds().height, 97);
        EXPECT_EQ(buttons[i]->fontHeight(), 19);
    }
    EXPECT_EQ(f.sButton1.caption(), "Сохранить настройки");
    EXPECT_EQ(f.sButton2.caption(), "Добавить");
    EXPECT_EQ(f.sButton3.caption(), ">>");
    EXPECT_EQ(f.sButton4.caption(), "Загрузить из файла");
    EXPECT_EQ(f.sStatusBar1.panelWidths(), (std::vector<int>{200, 300, 50}));
    EXPECT_EQ(f.StringGrid1.rowCount(), 45);
    EXPECT_EQ(f.StringGrid1.colWidths, (std::vector<int>{250, 229}));
    EXPECT_EQ(f.StringGrid1.contextMenu, &f.PopupMenu3);
    EXPECT_EQ(f.N1->caption, "Свернуть");
    EXPECT_EQ(f.N2->caption, "Активен");
    EXPECT_TRUE(f.N2->checked);
    EXPECT_EQ(f.N3->caption, "Выход");
    EXPECT_EQ(f.N4->caption, "Очистить");
    EXPECT_EQ(f.sOpenDialog1.filter, "Файлы меню (*.mnu)|*.mnu");
    EXPECT_EQ(f.sOpenDialog2.filter, "");
    EXPECT_FALSE(f.Memo1.visible());
    EXPECT_FALSE(f.Memo2.visible());
}

// No two visible controls of one parent overlap, and each stays inside the window.
TEST_F(MainWindowTest, LayoutHasNoOverlaps) {
    TForm1& f = Build();
    auto overlap = [](ui::Rect a, ui::Rect b) {
        return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
    };
    std::vector<ui::Control*> parents = {&f};
    for (ui::Page* page : f.sPageControl1.pages()) parents.push_back(page);
    for (ui::Control* parent : parents) {
        std::vector<ui::Control*> placed;
        for (ui::Control* child : parent->children()) {
            const ui::Rect r = child->bounds();
            if (!child->visible() || r.width == 0 || child->kind() == ui::ControlKind::GroupBox ||
                child->kind() == ui::ControlKind::Page)
                continue;
            EXPECT_LE(r.x + r.width, 656) << child->name();
            EXPECT_LE(r.y + r.height, 480) << child->name() << " runs into the status bar";
            for (ui::Control* other : placed)
                EXPECT_FALSE(overlap(r, other->bounds())) << child->name() << " and " << other->name();
            placed.push_back(child);
        }
    }
}

TEST_F(MainWindowTest, StartUpRunsInOrder) {
    fake.files.contents["C:\\Kivra\\LIRCAC.LST"] = "garbage\r\n";
    fake.files.contents["C:\\Kivra\\LIRCHT.LST"] = "";
    SetSettings("[Common]\nStartWinLIRC=1\nWinLIRCPath=C:\\WinLIRC\\winlirc.exe\nStartInTray=1\n");
    TForm1& f = StartUp();
    EXPECT_EQ(f.title(), "Kivra 0.91 beta");
    const int load = IndexOf("ReadFile(C:\\Kivra\\LIRCAC.LST)");
    const int launch = IndexOf("ShellExecute(0,\"\",C:\\WinLIRC\\winlirc.exe,,,0)");
    const int tray = IndexOf("Shell_NotifyIcon(NIM_ADD,4096,1,1147,Kivra v0.91 beta)");
    const int connect = IndexOf("connect(127.0.0.1:8765)");
    const int toTray = IndexOf("FormShow(Form1,0)");
    ASSERT_GE(load, 0);
    EXPECT_LT(load, launch);
    EXPECT_LT(launch, tray);
    EXPECT_LT(tray, connect);
    EXPECT_LT(connect, toTray) << "the start-in-tray step comes after the showing";
    EXPECT_EQ(f.StringGrid1.cell(0, 1), " Команда WinLIRC") << "the labels are written after the files";
    EXPECT_EQ(f.sStatusBar1.panel(0), "Подключение...");
}

// The benchmarks read the start-up and the traffic off these marks.
TEST_F(MainWindowTest, ProbeSeesTheMilestonesAndTheTraffic) {
    fake.files.contents["C:\\Kivra\\LIRCAC.LST"] = " Команда WinLIRC\r\n\r\n\r\n\r\n\r\n\r\nOK\r\n";
    SetSettings("[Common]\nisMode=0\n");
    fake.profile.setText("Kivra.mnu", "[Sub]\nSubs=1\n[Sub1]\nCaption=One\n");
    StartUp();
    const std::map<std::string, std::uint64_t> started = {
        {"connect-attempt", 1}, {"menu-load-begin", 1}, {"menu-load-end", 1}, {"tray-icon", 1}};
    EXPECT_EQ(fake.probe.counts, started);

    fake.network.last->completeConnect();
    const std::string lines = "0000000000f40bf0 00 OK R\n0000000000f40bf0 01 OK R\nno button\n";
    fake.network.last->deliver(lines);
    EXPECT_EQ(fake.probe.counts["read"], 1u);
    EXPECT_EQ(fake.probe.sums["read"], lines.size());
    EXPECT_EQ(fake.probe.counts["signal"], 2u) << "a line without a button is no signal";
    EXPECT_EQ(fake.probe.counts["dispatch"], 1u) << "the repeat came within the gap";
}

TEST_F(MainWindowTest, WinLircIsNotLaunchedWithoutAPathOrTheOption) {
    const char* settings[] = {"[Common]\nStartWinLIRC=1\n", "[Common]\nWinLIRCPath=C:\\w.exe\n"};
    for (const char* text : settings) {
        testing::TestMainWindow run;
        run.SetSettings(text);
        run.StartUp();
        EXPECT_TRUE(run.Calls("ShellExecute").empty()) << text;
    }
}

TEST_F(MainWindowTest, PortTextDecidesThePortOrIsReported) {
    struct Case {
        const char* text;
        int port;
        const char* error;  // nullptr: none
    };
    const Case cases[] = {
        {"", 8765, nullptr},
        {"1234", 1234, nullptr},
        {"65535", 65535, nullptr},
        {"abc", 8765, "'abc' is not a valid integer value."},
        {"0", 8765, "'0' is not a valid integer value."},
        {"70000", 8765, "'70000' is not a valid integer value."},
        {"123456789", 8765, "'123456789' is not a valid integer value."},
    };
    for (const Case& c : cases) {
        testing::TestMainWindow run;
        run.SetSettings(std::string("[Common]\nWinLIRCPort=") + c.text + "\n");
        TForm1& f = run.StartUp();
        EXPECT_EQ(f.ClientSocket1.port(), c.port) << c.text;
        EXPECT_EQ(run.Calls("connect(127.0.0.1:" + std::to_string(c.port) + ")").size(), 1u) << c.text;
        if (c.error) {
            ASSERT_EQ(run.fake.windows.errorBoxes.size(), 1u) << c.text;
            EXPECT_EQ(run.fake.windows.errorBoxes[0], c.error);
        } else {
            EXPECT_TRUE(run.fake.windows.errorBoxes.empty()) << c.text;
        }
        // The later steps still run.
        EXPECT_EQ(run.Calls("Shell_NotifyIcon(NIM_ADD").size(), 1u) << c.text;
        EXPECT_EQ(f.StringGrid1.cell(3, 0), " Проводник") << c.text;
    }
}

TEST_F(MainWindowTest, PortFieldTakesDigitsAndBackspaceOnly) {
    TForm1& f = Build();
    for (char c : std::string("0123456789\b")) EXPECT_TRUE(f.sEdit2.acceptsKey(c)) << int(c);
    for (char c : std::string("a -+.x\t")) EXPECT_FALSE(f.sEdit2.acceptsKey(c)) << int(c);
}

TEST_F(MainWindowTest, InactiveAtStartShowsOnButtonAndTrayItemAndDoesNotConnect) {
    SetSettings("[Common]\nisActive=0\n");
    TForm1& f = StartUp();
    EXPECT_EQ(f.sSpeedButton1.caption(), "Не активен");
    EXPECT_FALSE(f.N2->checked);
    EXPECT_TRUE(Calls("socket()").empty());
}

TEST_F(MainWindowTest, ActiveButtonAndTrayItemSwitchTheLinkAndAgree) {
    TForm1& f = StartUp();
    fake.network.last->completeConnect();
    EXPECT_EQ(f.sStatusBar1.panel(0), "WinLIRC подключён");

    f.sSpeedButton1.click();
    EXPECT_FALSE(f.activeFlag());
    EXPECT_EQ(f.sSpeedButton1.caption(), "Не активен");
    EXPECT_FALSE(f.N2->checked);
    EXPECT_EQ(f.sStatusBar1.panel(0), "WinLIRC отключён");
    EXPECT_FALSE(f.ClientSocket1.active());

    f.N2->click();
    EXPECT_TRUE(f.activeFlag());
    EXPECT_EQ(f.sSpeedButton1.caption(), "Активен");
    EXPECT_TRUE(f.N2->checked);
    EXPECT_EQ(Calls("connect(").size(), 2u);
}

// Stands in for the status bar on screen: every text panel 0 shows, in order.
class PanelZeroRecorder : public ui::ControlPeer {
public:
    explicit PanelZeroRecorder(ui::StatusBar& bar) : bar_(bar) {}
    void sync() override {
        if (shown.empty() || shown.back() != bar_.panel(0)) shown.push_back(bar_.panel(0));
    }
    std::vector<std::string> shown;

private:
    ui::StatusBar& bar_;
};

TEST_F(MainWindowTest, ConnectionStatesShowInPanelZero) {
    TForm1& f = Build();
    auto recorder = std::make_unique<PanelZeroRecorder>(f.sStatusBar1);
    PanelZeroRecorder& panel = *recorder;
    f.sStatusBar1.attachPeer(std::move(recorder));
    f.FormCreate();
    f.show(1);
    EXPECT_EQ(Calls("socket()").size(), 1u);
    fake.network.last->completeConnect(10061);
    EXPECT_FALSE(f.ClientSocket1.active());

    f.sSpeedButton1.click();  // off, then on again: a new attempt, which succeeds
    f.sSpeedButton1.click();
    fake.network.last->completeConnect(0);
    fake.network.last->closeByPeer();
    const std::vector<std::string> expected = {
        "", "Поиск WinLIRC...", "Подключение...", "Ошибка 10061",
        "Поиск WinLIRC...", "Подключение...", "WinLIRC подключён", "WinLIRC отключён"};
    EXPECT_EQ(panel.shown, expected);
}

// The retry brings a lost link back, never one the user switched off; the retry option
// arms and disarms the timer.
TEST_F(MainWindowTest, RetryFollowsTheOptionAndTheActiveFlag) {
    SetSettings("[Common]\nTryConnect=1\n");
    TForm1& f = StartUp();
    fake.network.last->completeConnect(10061);
    ASSERT_TRUE(f.Timer1.enabled());
    f.Timer1.tick();
    EXPECT_EQ(Calls("connect(").size(), 2u) << "a failed attempt is retried";

    fake.network.last->completeConnect(10061);
    f.sSpeedButton1.click();  // switched off by the user
    EXPECT_FALSE(f.Timer1.enabled()) << "nothing to retry";
    f.Timer1.tick();
    EXPECT_EQ(Calls("connect(").size(), 2u) << "a link switched off stays off";

    f.sCheckBox5.userToggled();
    EXPECT_FALSE(f.Timer1.enabled());
    f.sSpeedButton1.click();  // on again: one attempt
    fake.network.last->completeConnect(10061);
    EXPECT_EQ(Calls("connect(").size(), 3u);
    EXPECT_FALSE(f.Timer1.enabled()) << "the retry option is off";
    f.sCheckBox5.userToggled();
    EXPECT_EQ(Calls("connect(").size(), 4u) << "ticking the option tries at once";
    fake.network.last->completeConnect(10061);
    EXPECT_TRUE(f.Timer1.enabled());
}

// The retry timer runs only while a lost link waits to be brought back: an attempt under way
// and a live link disarm it, so a connected program is never woken by it.
TEST_F(MainWindowTest, RetryTimerRunsOnlyWhileTheLinkIsDown) {
    SetSettings("[Common]\nTryConnect=1\n");
    TForm1& f = StartUp();
    EXPECT_FALSE(f.Timer1.enabled()) << "the first attempt is under way";
    fake.network.last->completeConnect();
    EXPECT_FALSE(f.Timer1.enabled()) << "connected";
    fake.network.last->closeByPeer(10054);
    EXPECT_TRUE(f.Timer1.enabled()) << "the link was lost";
    f.Timer1.tick();
    EXPECT_EQ(Calls("connect(").size(), 2u);
    EXPECT_FALSE(f.Timer1.enabled()) << "the retry is under way";
    fake.network.last->completeConnect(10061);
    EXPECT_TRUE(f.Timer1.enabled()) << "refused: retried after a full period";
}

TEST_F(MainWindowTest, TickingTheRetryOptionWhileConnectedDoesNotReconnect) {
    TForm1& f = StartUp();
    fake.network.last->completeConnect();
    f.sCheckBox5.userToggled();
    EXPECT_FALSE(f.Timer1.enabled()) << "nothing to retry while connected";
    f.Timer1.tick();
    EXPECT_EQ(Calls("connect(").size(), 1u);
    fake.network.last->closeByPeer();
    EXPECT_TRUE(f.Timer1.enabled());
}

TEST_F(MainWindowTest, RetryPeriodChangesTheIntervalAtOnce) {
    TForm1& f = StartUp();
    f.sSpinEdit1.userEdited("15");
    EXPECT_EQ(f.Timer1.interval(), 15000u);
    f.sSpinEdit1.userEdited("100");
    EXPECT_EQ(f.Timer1.interval(), 100000u) << "until the field loses the focus";
    f.sSpinEdit1.focusLost();
    EXPECT_EQ(f.Timer1.interval(), 60000u);
    f.sSpinEdit1.userEdited("999999999");
    EXPECT_EQ(f.Timer1.interval(), 0x7FFFFFFFu) << "a huge period does not wrap around";
    f.sSpinEdit1.userEdited("0");
    EXPECT_EQ(f.Timer1.interval(), 0u) << "0 stops the timer until the next change";
}

TEST_F(MainWindowTest, GapAndKeyDelayFieldsTakeEffectAtOnce) {
    TForm1& f = StartUp();
    f.sSpinEdit2.userEdited("250");
    f.sSpinEdit3.userEdited("40");
    EXPECT_EQ(f.reception().minimumGap, 250);
    EXPECT_EQ(f.utils().keyDelay, 40);
    f.SaveConfiguration();
    EXPECT_NE(Settings().find("SignalTimeOut=250\r\nKeyboardDelay=40\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, ReceivedSignalIsShownAndCapturedInSetupMode) {
    TForm1& f = StartUp();
    fake.network.last->completeConnect();
    f.StringGrid1.select(8, 0);
    fake.network.last->deliver("000000000000001f 00 VOL_UP R\n");
    EXPECT_EQ(f.sStatusBar1.panel(1), "Последняя команда: R->VOL_UP");
    EXPECT_EQ(f.StringGrid1.cell(8, 1), "VOL_UP");
}

TEST_F(MainWindowTest, ReceivedSignalRunsItsRowOutsideSetupMode) {
    SetSettings("[Common]\nisMode=0\n");
    TForm1& f = StartUp();
    f.StringGrid1.setCell(22, 1, "TAB");
    fake.network.last->completeConnect();
    fake.clock.now = 100000;
    fake.network.last->deliver("000000000000001f 00 TAB R\n");
    EXPECT_EQ(Calls("keybd_event(9,"), (std::vector<std::string>{"keybd_event(9,69,1)", "keybd_event(9,69,3)"}));
}

// Row 14 keeps the settings before it powers off; a save that fails powers nothing off.
TEST_F(MainWindowTest, PowerOffRowSavesFirst) {
    TForm1& f = StartUp();
    f.StringGrid1.setCell(14, 1, "POWER");
    f.ProcessCommands("POWER");
    const int saved = IndexOf("WritePrivateProfileString(Kivra.ini,Interface,Skin,");
    const int off = IndexOf("ExitWindowsEx(13)");
    ASSERT_GE(saved, 0);
    EXPECT_LT(saved, off);
}

TEST_F(MainWindowTest, PowerOffRowWithAFailingSaveDoesNotPowerOff) {
    TForm1& f = StartUp();
    f.StringGrid1.setCell(14, 1, "POWER");
    fake.profile.readOnlyFiles.insert("Kivra.ini");
    EXPECT_THROW(f.ProcessCommands("POWER"), KivraError);
    EXPECT_TRUE(Calls("ExitWindowsEx").empty());
    EXPECT_TRUE(Calls("EnablePrivilege").empty());
}

TEST_F(MainWindowTest, BrowseButtonsFillThePathOrLoadTheMenu) {
    TForm1& f = StartUp();
    fileChoices = {std::nullopt, std::string("C:\\WinLIRC\\winlirc.exe")};
    f.sButton3.click();
    EXPECT_EQ(f.sEdit1.text(), "");
    f.sButton3.click();
    EXPECT_EQ(f.sEdit1.text(), "C:\\WinLIRC\\winlirc.exe");

    fake.profile.setText("C:\\Menus\\my.mnu", "[Sub]\nSubs=1\n[Sub1]\nCaption=Блокнот\nCommand=OPEN\n");
    fileChoices = {std::string("C:\\Menus\\my.mnu")};
    f.sButton4.click();
    EXPECT_EQ(f.sOpenDialog1.fileName, "C:\\Menus\\my.mnu");
    ASSERT_EQ(f.sTreeView1.root().children.size(), 1u);
    EXPECT_EQ(f.sTreeView1.root().children[0]->text, "Блокнот");
    ASSERT_EQ(f.PopupMenu1.root.items.size(), 1u);
    EXPECT_EQ(f.PopupMenu1.root.items[0]->painter, f.remoteMenu().painter());
    EXPECT_TRUE(f.PopupMenu1.ownerDraw);
}

TEST_F(MainWindowTest, RemoteMenuWakesTheDisplayThenPopsUpAtTheCursor) {
    TForm1& f = StartUp();
    f.ShowRemoteMenu();
    EXPECT_TRUE(Calls("SendMessage").empty());
    f.utils().monitorOff = true;
    fake.log.clear();
    f.ShowRemoteMenu();
    EXPECT_EQ(fake.log, (std::vector<std::string>{"SendMessage(8192,274,61808,0)", "SetForegroundWindow(4096)",
                                                  "Popup(PopupMenu1,100,200)"}));
}

TEST_F(MainWindowTest, BindingButtonsEditAndSaveTheTable) {
    TForm1& f = StartUp();
    f.StringGrid1.select(25, 0);
    f.HotKey1.userEntered({116, false, true, true});  // Ctrl+Alt+F5
    f.sButton2.click();
    EXPECT_EQ(f.StringGrid1.cell(25, 0), "Ctrl+Alt+F5");
    f.StringGrid1.setCell(25, 1, "KEY5");
    f.StringGrid1.select(25, 1);
    f.N4->click();
    EXPECT_EQ(f.StringGrid1.cell(25, 1), "");
    f.sButton1.click();
    EXPECT_EQ(Calls("WriteFile"),
              (std::vector<std::string>{"WriteFile(C:\\Kivra\\LIRCAC.LST)", "WriteFile(C:\\Kivra\\LIRCHT.LST)"}));
}

TEST_F(MainWindowTest, HelpShowsTheAboutWindowWhichOkAndCloseHide) {
    TForm1& f = StartUp();
    EXPECT_EQ(about->title(), "О программе Kivra 0.91 beta");
    EXPECT_EQ(about->sLabel3.caption(), "версия 0.91 beta");
    EXPECT_EQ(about->style().clientWidth, 514);
    EXPECT_EQ(about->style().clientHeight, 492);
    f.sSpeedButton2.click();
    EXPECT_TRUE(aboutPeer->visible);
    about->sButton1.click();
    EXPECT_FALSE(aboutPeer->visible);
    f.sSpeedButton2.click();
    about->close();
    EXPECT_FALSE(aboutPeer->visible);
    EXPECT_FALSE(aboutPeer->destroyed) << "it lives until the program ends";
}

TEST_F(MainWindowTest, HelpTextHasItsFourSections) {
    std::string text;
    for (const std::string& line : AboutHelpText()) text += line + "\n";
    size_t at = 0;
    for (const char* heading : {"1. Что это, и зачем нужно.\n", "2. Возможности\n", "3. Настройка\n",
                                "4. Требования\n"}) {
        const size_t found = text.find(heading, at);
        ASSERT_NE(found, std::string::npos) << heading;
        at = found;
    }
    for (const char* key : {"[Sub]", "Subs=", "Caption=", "Command=", "Parameters=", "WinLIRC"})
        EXPECT_NE(text.find(key), std::string::npos) << key;
}

}  // namespace
}  // namespace kivra
