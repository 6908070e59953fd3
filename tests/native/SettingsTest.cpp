// Kivra.ini: what a start reads from it, what a close writes into it, and what happens when
// either cannot be done.
#include <gtest/gtest.h>

#include "TestMainWindow.h"

namespace kivra {
namespace {

class SettingsTest : public ::testing::Test, protected testing::TestMainWindow {};

TEST_F(SettingsTest, NoFileStartsWithTheDefaults) {
    TForm1& f = StartUp();
    EXPECT_TRUE(f.sCheckBox1.checked()) << "setup mode";
    EXPECT_TRUE(f.activeFlag());
    EXPECT_TRUE(f.sCheckBox7.checked());
    EXPECT_TRUE(f.skins().active());
    EXPECT_TRUE(f.sCheckBox6.checked()) << "Light Alloy gate";
    EXPECT_FALSE(f.sCheckBox2.checked());
    EXPECT_FALSE(f.sCheckBox3.checked());
    EXPECT_FALSE(f.sCheckBox4.checked()) << "WinLIRC start option";
    EXPECT_FALSE(f.sCheckBox5.checked()) << "retry option";
    EXPECT_FALSE(f.Timer1.enabled());
    EXPECT_EQ(f.reception().minimumGap, 100);
    EXPECT_EQ(f.utils().keyDelay, 100);
    EXPECT_EQ(f.sSpinEdit1.value(), 5);
    EXPECT_EQ(f.Timer1.interval(), 5000u);
    EXPECT_EQ(f.sOpenDialog1.fileName, "Kivra.mnu");
    EXPECT_EQ(f.sEdit2.text(), "");
    EXPECT_EQ(f.ClientSocket1.port(), 8765);
    EXPECT_TRUE(fake.windows.errorBoxes.empty());
    EXPECT_TRUE(Calls("RegSetValue").empty());
    EXPECT_TRUE(Calls("RegDeleteValue").empty()) << "an unchanged autostart box runs nothing";
}

TEST_F(SettingsTest, FirstSaveWritesTheSixteenKeysInOrder) {
    StartUp();
    form->SaveConfiguration();
    EXPECT_EQ(Settings(),
              "[Common]\r\n"
              "SleepIfLightAlloy=1\r\n"
              "StartInTray=0\r\n"
              "isMode=1\r\n"
              "StartWinLIRC=0\r\n"
              "WinLIRCPath=\r\n"
              "WinLIRCPort=\r\n"
              "TryConnect=0\r\n"
              "TryPeriod=5\r\n"
              "AutoStart=0\r\n"
              "isActive=1\r\n"
              "SignalTimeOut=100\r\n"
              "KeyboardDelay=100\r\n"
              "isSkinned=1\r\n"
              "MenuPath=Kivra.mnu\r\n"
              "[Interface]\r\n"
              "SkinPath=\r\n"
              "Skin=Classic\r\n");
    EXPECT_EQ(Calls("WritePrivateProfileString(Kivra.ini,").size(), 16u);
}

TEST_F(SettingsTest, IntegersAreDecodedAndClampedThroughTheirFields) {
    struct Case {
        const char* line;
        int (*observe)(TForm1&);
        int expected;
    };
    auto period = [](TForm1& f) { return f.sSpinEdit1.value(); };
    auto interval = [](TForm1& f) { return static_cast<int>(f.Timer1.interval()); };
    auto gap = [](TForm1& f) { return static_cast<int>(f.reception().minimumGap); };
    auto delay = [](TForm1& f) { return f.utils().keyDelay; };
    const Case cases[] = {
        {"TryPeriod=100", period, 60},
        {"TryPeriod=100", interval, 60000},
        {"TryPeriod=15", interval, 15000},
        {"TryPeriod=-3", period, 5},
        {"SignalTimeOut=0x1F4", gap, 500},
        {"SignalTimeOut=$1F4", gap, 500},
        {"SignalTimeOut=fast", gap, 100},
        {"SignalTimeOut=5", gap, 10},
        {"SignalTimeOut=", gap, 100},
        {"SignalTimeOut=99999999999", gap, 10000},
        {"KeyboardDelay=250", delay, 250},
        {"KeyboardDelay=0X10", delay, 16},
    };
    for (const Case& c : cases) {
        testing::TestMainWindow run;
        run.SetSettings(std::string("[Common]\n") + c.line + "\n");
        EXPECT_EQ(c.observe(run.StartUp()), c.expected) << c.line;
    }
}

TEST_F(SettingsTest, ClampedValueIsWhatTheNextSaveWrites) {
    SetSettings("[Common]\nTryPeriod=100\nSignalTimeOut=5\n");
    StartUp();
    form->SaveConfiguration();
    EXPECT_NE(Settings().find("TryPeriod=60\r\n"), std::string::npos);
    EXPECT_NE(Settings().find("SignalTimeOut=10\r\n"), std::string::npos);
}

TEST_F(SettingsTest, BooleansAreAnyNonZeroNumberAndAWordGivesTheDefault) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {{"2", true}, {"1", true}, {"0", false}, {"true", true}, {"-1", true}, {"0x0", false}};
    for (const Case& c : cases) {
        testing::TestMainWindow run;
        run.SetSettings(std::string("[Common]\nisActive=") + c.text + "\nSleepIfLightAlloy=" + c.text + "\n");
        TForm1& f = run.StartUp();
        EXPECT_EQ(f.activeFlag(), c.expected) << c.text;
        EXPECT_EQ(f.sCheckBox6.checked(), c.expected) << c.text;
    }
}

TEST_F(SettingsTest, UntickedLightAlloyGateSurvivesACloseAndAStart) {
    StartUp();
    form->sCheckBox6.userToggled();
    form->close();
    EXPECT_NE(Settings().find("SleepIfLightAlloy=0\r\n"), std::string::npos);

    testing::TestMainWindow next;
    next.SetSettings(Settings());
    EXPECT_FALSE(next.StartUp().sCheckBox6.checked());
}

TEST_F(SettingsTest, SkinsOffLeavesSkinPathAndSkinUnread) {
    SetSettings("[Common]\nisSkinned=0\n[Interface]\nSkinPath=C:\\Skins\nSkin=Graphite\n");
    TForm1& f = StartUp();
    EXPECT_FALSE(f.skins().active());
    EXPECT_FALSE(f.colorScheme().has_value()) << "the system's colours";
    EXPECT_EQ(f.skins().directory(), "");
    EXPECT_EQ(f.skins().name(), BuiltInSkins().front().name);
}

TEST_F(SettingsTest, SkinsOnTakeSkinPathAndSkin) {
    SetSettings("[Common]\n[Interface]\nSkinPath=C:\\Skins\nSkin=Graphite\n");
    TForm1& f = StartUp();
    EXPECT_EQ(f.skins().directory(), "C:\\Skins");
    EXPECT_EQ(f.skins().name(), "Graphite");
    ASSERT_TRUE(f.colorScheme().has_value());
    EXPECT_EQ(f.colorScheme()->face, BuiltInSkins()[1].scheme.face);
}

TEST_F(SettingsTest, LongWinLircPathComesBackCutTo2047Characters) {
    SetSettings("[Common]\nWinLIRCPath=" + std::string(3000, 'p') + "\n");
    EXPECT_EQ(StartUp().sEdit1.text().size(), 2047u);
}

TEST_F(SettingsTest, TextsAndOptionsComeBackAsSaved) {
    SetSettings(
        "[Common]\nStartWinLIRC=1\nWinLIRCPath=C:\\WinLIRC\\winlirc.exe\nWinLIRCPort=9000\nTryConnect=1\n"
        "isMode=0\nMenuPath=C:\\Menus\\big.mnu\n");
    TForm1& f = StartUp();
    EXPECT_TRUE(f.sCheckBox4.checked());
    EXPECT_EQ(f.sEdit1.text(), "C:\\WinLIRC\\winlirc.exe");
    EXPECT_EQ(f.sEdit2.text(), "9000");
    EXPECT_TRUE(f.sCheckBox5.checked());
    fake.network.last->completeConnect(10061);
    EXPECT_TRUE(f.Timer1.enabled()) << "the retry option is in force";
    EXPECT_FALSE(f.sCheckBox1.checked());
    EXPECT_EQ(f.sOpenDialog1.fileName, "C:\\Menus\\big.mnu");
    f.SaveConfiguration();
    EXPECT_NE(Settings().find("WinLIRCPath=C:\\WinLIRC\\winlirc.exe\r\nWinLIRCPort=9000\r\nTryConnect=1\r\n"),
              std::string::npos);
    EXPECT_NE(Settings().find("MenuPath=C:\\Menus\\big.mnu\r\n"), std::string::npos);
}

TEST_F(SettingsTest, AutostartSettingWritesTheValueWithTheExecutablePath) {
    SetSettings("[Common]\nAutoStart=1\n");
    StartUp();
    EXPECT_EQ(fake.registry.values["HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Kivra"],
              "C:\\Kivra\\Kivra.exe");
}

// One setting that cannot be applied is reported; the keys after it, the menu and the skin
// still load.
TEST_F(SettingsTest, AutostartThatCannotBeWrittenIsReportedAndLoadingGoesOn) {
    fake.registry.failures[RegistryRoot::LocalMachine] = RegistryWrite::CreateKeyFailed;
    fake.registry.failures[RegistryRoot::CurrentUser] = RegistryWrite::CreateKeyFailed;
    SetSettings("[Common]\nAutoStart=1\nisActive=0\nSignalTimeOut=300\n[Interface]\nSkin=Marine\n");
    TForm1& f = StartUp();
    ASSERT_EQ(fake.windows.errorBoxes.size(), 1u);
    EXPECT_EQ(fake.windows.errorBoxes[0],
              "Failed to create key Software\\Microsoft\\Windows\\CurrentVersion\\Run.");
    EXPECT_TRUE(f.sCheckBox3.checked()) << "the box keeps its new state";
    EXPECT_FALSE(f.activeFlag());
    EXPECT_EQ(f.reception().minimumGap, 300);
    EXPECT_EQ(f.skins().name(), "Marine");
    EXPECT_EQ(f.StringGrid1.cell(1, 0), " Lovka menu") << "the start-up goes on to the labels";
    EXPECT_EQ(Calls("Shell_NotifyIcon(NIM_ADD").size(), 1u);
}

TEST_F(SettingsTest, UnwritableFileAtCloseIsReportedAndTheWindowStaysOpen) {
    StartUp();
    fake.profile.readOnlyFiles.insert("Kivra.ini");
    form->close();
    ASSERT_EQ(fake.windows.errorBoxes.size(), 1u);
    EXPECT_EQ(fake.windows.errorBoxes[0], "Unable to write to Kivra.ini.");
    EXPECT_FALSE(peer->destroyed);
    EXPECT_TRUE(Calls("Shell_NotifyIcon(NIM_DELETE").empty());
    EXPECT_EQ(Calls("WritePrivateProfileString").size(), 1u) << "the save stops at the refused key";

    fake.profile.readOnlyFiles.clear();
    form->close();
    EXPECT_TRUE(peer->destroyed) << "once the cause is gone the window closes";
}

TEST_F(SettingsTest, CloseSavesAndRemovesTheTrayIcon) {
    StartUp();
    form->sSpeedButton4.click();
    EXPECT_TRUE(peer->destroyed);
    EXPECT_EQ(Calls("WritePrivateProfileString").size(), 16u);
    EXPECT_LT(IndexOf("WritePrivateProfileString"), IndexOf("Shell_NotifyIcon(NIM_DELETE"));
    EXPECT_EQ(Calls("Shell_NotifyIcon(NIM_DELETE").front(), "Shell_NotifyIcon(NIM_DELETE,4096,1)");
    EXPECT_TRUE(Calls("WriteFile").empty()) << "the binding files are written only by their button";
}

}  // namespace
}  // namespace kivra
