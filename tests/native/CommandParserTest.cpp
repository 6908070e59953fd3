#include <gtest/gtest.h>

#include "actions/CommandParser.h"
#include "platform/fake/FakePlatform.h"

namespace kivra {
namespace {

using fake::CallLog;

constexpr WindowHandle kApplicationWindow = 9;
constexpr WindowHandle kMainWindow = 3;
constexpr WindowHandle kNotepad = 42;

struct Fixture {
    Fixture() {
        utils.setApplicationWindow(kApplicationWindow);
        utils.setMainWindow(kMainWindow);
        fake.windows.titles["Notepad"] = kNotepad;
        fake.shell.folders[5] = "C:\\Docs";
        fake.shell.folders[0] = "C:\\Desktop";
        fake.audio.left = fake.audio.right = 40000;
    }
    fake::FakePlatform fake;
    KivraUtils utils{fake.platform};
    MenuCommands commands{utils, kMainWindow};
};

struct Case {
    std::string command, parameters;
    CallLog expected;
};

void ExpectCalls(const Case& c) {
    Fixture f;
    f.commands.CommandParser(c.command, c.parameters);
    EXPECT_EQ(f.fake.log, c.expected) << "'" << c.command << "' '" << c.parameters << "'";
}

TEST(CommandParser, EveryWordMakesItsPlatformCalls) {
    const Case cases[] = {
        {"OPEN", "C:\\My Files\\a.txt", {"ShellExecute(9,NULL,C:\\My Files\\a.txt,,,1)"}},
        {"WINDOWCLOSE", "Notepad", {"FindWindowTitle(Notepad)", "SendMessage(42,16,0,0)"}},
        {"WINDOWMINIMIZE", "Notepad", {"FindWindowTitle(Notepad)", "ShowWindow(42,6)"}},
        {"WINDOWRESTORE", "Notepad", {"FindWindowTitle(Notepad)", "ShowWindow(42,9)"}},
        {"SETACTIVEWINDOW", "Notepad", {"FindWindowTitle(Notepad)", "ShowWindow(42,5)"}},
        {"VOLUMEUP", "ignored", {"GetVolume", "SetVolume(43275,43275)"}},
        {"VOLUMEDOWN", "", {"GetVolume", "SetVolume(36725,36725)"}},
        {"MUTE", "no parameters", {"SetVolume(0,0)"}},
        {"SCREENSAVER", "", {"SendMessage(9,274,61760,0)"}},
        {"MONITORPOWER", "", {"SendMessage(9,274,61808,1)"}},
        {"MYDOCS", "", {"SpecialFolderPath(3,5)", "ShellExecute(3,\"open\",C:\\Docs,,,5)"}},
        {"MYCOMP", "", {"SpecialFolderPath(3,0)", "ShellExecute(3,\"open\",C:\\Desktop,,,5)"}},
        {"EXPLORER", "", {"ShellExecute(3,\"\",explorer.exe,,,5)"}},
        {"CDDOOR", "", {"mciSendString(Set cdaudio door open wait,3)"}},
        {"SENDKEY", "no parameters", {}},
        {"no command", "no parameters", {}},
        {"", "", {}},
    };
    for (const Case& c : cases) ExpectCalls(c);
}

TEST(CommandParser, WordsIgnoreAsciiCaseButNothingElse) {
    const CallLog opened{"ShellExecute(9,NULL,explorer.exe,,,1)"};
    const Case cases[] = {
        {"open", "explorer.exe", opened},  {"Open", "explorer.exe", opened}, {"oPeN", "explorer.exe", opened},
        {" OPEN", "explorer.exe", {}},     {"OPEN ", "explorer.exe", {}},    {"OPEN\t", "explorer.exe", {}},
        {"OPENX", "explorer.exe", {}},     {"OPE", "explorer.exe", {}},
        {"\xD0\xBE" "pen", "explorer.exe", {}},  // a Cyrillic "о" is not an ASCII letter
        {"windowClose", "Notepad", {"FindWindowTitle(Notepad)", "SendMessage(42,16,0,0)"}},
    };
    for (const Case& c : cases) ExpectCalls(c);
}

TEST(CommandParser, WindowTitlesGoToTheLookUpUnchanged) {
    const Case cases[] = {
        {"WINDOWCLOSE", "NOTEPAD", {"FindWindowTitle(NOTEPAD)", "SendMessage(42,16,0,0)"}},
        {"WINDOWCLOSE", "Calculator", {"FindWindowTitle(Calculator)"}},
        {"WINDOWMINIMIZE", " Notepad", {"FindWindowTitle( Notepad)"}},
        {"SETACTIVEWINDOW", "", {"FindWindowTitle()"}},  // "" is an untitled window, not any window
    };
    for (const Case& c : cases) ExpectCalls(c);

    Fixture f;
    f.fake.windows.titles[""] = 77;
    f.commands.CommandParser("WINDOWRESTORE", "");
    EXPECT_EQ(f.fake.log, (CallLog{"FindWindowTitle()", "ShowWindow(77,9)"}));
}

TEST(CommandParser, ShutdownRunsOnlyOnItsFourWords) {
    const std::string privilege = "EnablePrivilege(SeShutdownPrivilege)";
    const Case cases[] = {
        {"SHUTDOWN", "POWEROFF", {privilege, "ExitWindowsEx(13)"}},
        {"SHUTDOWN", "WAIT", {privilege, "Suspend(standby,force)"}},
        {"shutdown", "LOGOFF", {privilege, "ExitWindowsEx(4)"}},
        {"SHUTDOWN", "HIBERNATE", {privilege, "Suspend(hibernate,force)"}},
        {"SHUTDOWN", "hibernate", {}},
        {"SHUTDOWN", "PowerOff", {}},
        {"SHUTDOWN", " POWEROFF", {}},
        {"SHUTDOWN", "REBOOT", {}},
        {"SHUTDOWN", "no parameters", {}},
        {"SHUTDOWN", "", {}},
    };
    for (const Case& c : cases) ExpectCalls(c);
}

TEST(CommandParser, ShutdownTypoAfterARecognisedWordStillDoesNothing) {
    Fixture f;
    f.commands.CommandParser("SHUTDOWN", "LOGOFF");
    f.fake.log.clear();
    f.commands.CommandParser("SHUTDOWN", "LOGOF");
    EXPECT_TRUE(f.fake.log.empty());
}

TEST(CommandParser, SharesStateWithTheBindingRows) {
    Fixture f;
    f.utils.ToggleCdTray(7);  // the tray row
    f.commands.CommandParser("CDDOOR", "");
    EXPECT_EQ(f.fake.calls("mciSendString"), (CallLog{"mciSendString(Set cdaudio door open wait,7)",
                                                      "mciSendString(Set cdaudio door closed wait,3)"}));

    f.commands.CommandParser("MONITORPOWER", "");
    EXPECT_TRUE(f.utils.monitorOff);
}

TEST(CommandParser, MuteThenVolumeUpStartsFromSilence) {
    Fixture f;
    f.commands.CommandParser("VOLUMEUP", "");
    f.commands.CommandParser("MUTE", "");
    EXPECT_EQ(f.utils.rememberedLeft, 43275);  // mute leaves the remembered volume alone
    EXPECT_EQ(f.utils.rememberedRight, 40000);
    f.commands.CommandParser("VOLUMEUP", "");
    EXPECT_EQ(f.fake.calls("SetVolume"),
              (CallLog{"SetVolume(43275,43275)", "SetVolume(0,0)", "SetVolume(3275,3275)"}));
}

}  // namespace
}  // namespace kivra
