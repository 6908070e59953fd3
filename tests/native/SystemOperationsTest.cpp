#include <gtest/gtest.h>

#include <functional>

#include "actions/KivraUtils.h"
#include "platform/fake/FakePlatform.h"
#include "toolkit/ErrorReport.h"

namespace kivra {
namespace {

using fake::CallLog;

constexpr WindowHandle kApplicationWindow = 9;
constexpr WindowHandle kMainWindow = 3;
constexpr WindowHandle kGrid = 7;
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class SystemOperations : public ::testing::Test {
protected:
    SystemOperations() {
        utils.setApplicationWindow(kApplicationWindow);
        utils.setMainWindow(kMainWindow);
    }
    fake::FakePlatform fake;
    KivraUtils utils{fake.platform};
};

struct StepCase {
    std::uint16_t left, right;
    bool up;
    std::uint16_t expected;
};

TEST_F(SystemOperations, VolumeStepsFollowTheRightChannelAndLeaveBothEqual) {
    const StepCase cases[] = {
        {0, 0, true, 3275},           {0, 62225, true, 65500},  {0, 62224, true, 65499},
        {0, 62226, true, 65500},      {65535, 65535, true, 65500},  // above the top: lower than before
        {0, 40000, true, 43275},      {40000, 0, true, 3275},   // the left channel plays no part
        {0, 3276, false, 1},          {0, 3275, false, 0},      {0, 3274, false, 0},
        {65535, 65535, false, 62260}, {0, 0, false, 0},
    };
    for (const StepCase& c : cases) {
        fake::FakePlatform f;
        KivraUtils u(f.platform);
        f.audio.left = c.left;
        f.audio.right = c.right;
        c.up ? u.VolumeStepUp() : u.VolumeStepDown();
        const std::string set = "SetVolume(" + std::to_string(c.expected) + "," + std::to_string(c.expected) + ")";
        EXPECT_EQ(f.log, (CallLog{"GetVolume", set})) << c.left << "/" << c.right << (c.up ? " up" : " down");
        EXPECT_EQ(u.rememberedLeft, c.expected);
        EXPECT_EQ(u.rememberedRight, c.right);
    }
}

TEST_F(SystemOperations, TwentyStepsSpanTheWholeScale) {
    for (int step = 1; step <= 20; ++step) {
        utils.VolumeStepUp();
        ASSERT_EQ(fake.audio.right, step * 3275);
        ASSERT_EQ(fake.audio.left, step * 3275);
    }
    utils.VolumeStepUp();
    EXPECT_EQ(fake.audio.right, 65500);
    for (int step = 19; step >= 0; --step) {
        utils.VolumeStepDown();
        ASSERT_EQ(fake.audio.right, step * 3275);
    }
    utils.VolumeStepDown();
    EXPECT_EQ(fake.audio.right, 0);
}

TEST_F(SystemOperations, DeviceWithoutVolumeControlStepsFromTheRememberedVolume) {
    fake.audio.hasVolumeControl = false;
    utils.VolumeStepUp();
    utils.VolumeStepUp();
    utils.VolumeStepDown();
    EXPECT_EQ(fake.calls("SetVolume"), (CallLog{"SetVolume(3275,3275)", "SetVolume(3275,3275)", "SetVolume(0,0)"}));

    // A device that stops answering: the last successful reading stands in.
    fake.audio.hasVolumeControl = true;
    fake.audio.right = 40000;
    utils.VolumeStepUp();
    fake.audio.hasVolumeControl = false;
    fake.log.clear();
    utils.VolumeStepUp();
    utils.VolumeStepDown();
    EXPECT_EQ(fake.calls("SetVolume"), (CallLog{"SetVolume(43275,43275)", "SetVolume(36725,36725)"}));
}

struct CallCase {
    const char* name;
    std::function<void(KivraUtils&)> run;
    CallLog expected;
};

TEST_F(SystemOperations, EachOperationMakesExactlyItsPlatformCalls) {
    const CallCase cases[] = {
        {"explorer", [](KivraUtils& u) { u.OpenExplorer(kGrid); },
         {"ShellExecute(7,\"\",explorer.exe,,,5)"}},
        {"documents", [](KivraUtils& u) { u.OpenSpecialFolder(kGrid, 5); },
         {"SpecialFolderPath(3,5)", "ShellExecute(7,\"open\",C:\\Users\\me\\Documents,,,5)"}},
        {"desktop without a path", [](KivraUtils& u) { u.OpenSpecialFolder(kMainWindow, 0); },
         {"SpecialFolderPath(3,0)", "ShellExecute(3,\"open\",,,,5)"}},
        {"screen saver", [](KivraUtils& u) { u.StartScreenSaver(); }, {"SendMessage(9,274,61760,0)"}},
        {"monitor off", [](KivraUtils& u) { u.TurnMonitorOff(); }, {"SendMessage(9,274,61808,1)"}},
        {"cd tray", [](KivraUtils& u) { u.ToggleCdTray(kGrid); }, {"mciSendString(Set cdaudio door open wait,7)"}},
        {"power off", [](KivraUtils& u) { u.PowerControl(0); },
         {"EnablePrivilege(SeShutdownPrivilege)", "ExitWindowsEx(13)"}},
        {"standby", [](KivraUtils& u) { u.PowerControl(1); },
         {"EnablePrivilege(SeShutdownPrivilege)", "Suspend(standby,force)"}},
        {"log off", [](KivraUtils& u) { u.PowerControl(2); },
         {"EnablePrivilege(SeShutdownPrivilege)", "ExitWindowsEx(4)"}},
        {"hibernate", [](KivraUtils& u) { u.PowerControl(3); },
         {"EnablePrivilege(SeShutdownPrivilege)", "Suspend(hibernate,force)"}},
        {"other power type", [](KivraUtils& u) { u.PowerControl(4); }, {"EnablePrivilege(SeShutdownPrivilege)"}},
        {"negative power type", [](KivraUtils& u) { u.PowerControl(-1); }, {"EnablePrivilege(SeShutdownPrivilege)"}},
    };
    for (const CallCase& c : cases) {
        fake::FakePlatform f;
        f.shell.folders[5] = "C:\\Users\\me\\Documents";
        KivraUtils u(f.platform);
        u.setApplicationWindow(kApplicationWindow);
        u.setMainWindow(kMainWindow);
        c.run(u);
        EXPECT_EQ(f.log, c.expected) << c.name;
    }
}

TEST_F(SystemOperations, CdTrayAlternatesFromOpen) {
    for (int i = 0; i < 3; ++i) utils.ToggleCdTray(kGrid);
    EXPECT_EQ(fake.log, (CallLog{"mciSendString(Set cdaudio door open wait,7)",
                                 "mciSendString(Set cdaudio door closed wait,7)",
                                 "mciSendString(Set cdaudio door open wait,7)"}));
    EXPECT_TRUE(utils.cdTrayOpen);
}

TEST_F(SystemOperations, MonitorOffFlagStaysSet) {
    EXPECT_FALSE(utils.monitorOff);
    utils.TurnMonitorOff();
    utils.StartScreenSaver();
    EXPECT_TRUE(utils.monitorOff);
}

TEST_F(SystemOperations, AutostartWritesTheMachineKeyWhenItCan) {
    utils.ApplyAutostart(true);
    EXPECT_EQ(fake.log, (CallLog{"RegSetValue(HKLM\\" + kRun + "\\Kivra,C:\\Kivra\\Kivra.exe)"}));
    EXPECT_EQ(fake.registry.readString(RegistryRoot::LocalMachine, kRun, "Kivra"), "C:\\Kivra\\Kivra.exe");
}

TEST_F(SystemOperations, AutostartFallsBackToTheUserKey) {
    for (RegistryWrite failure : {RegistryWrite::CreateKeyFailed, RegistryWrite::SetValueFailed}) {
        fake::FakePlatform f;
        KivraUtils u(f.platform);
        f.registry.failures[RegistryRoot::LocalMachine] = failure;
        EXPECT_NO_THROW(u.ApplyAutostart(true));
        EXPECT_EQ(f.registry.readString(RegistryRoot::CurrentUser, kRun, "Kivra"), "C:\\Kivra\\Kivra.exe");
        EXPECT_EQ(f.registry.readString(RegistryRoot::LocalMachine, kRun, "Kivra"), std::nullopt);
    }
}

TEST_F(SystemOperations, AutostartReportsTheMachineKeyFailureWhenBothKeysRefuse) {
    struct Case {
        RegistryWrite machine, user;
        std::string message;
    };
    const Case cases[] = {
        {RegistryWrite::CreateKeyFailed, RegistryWrite::CreateKeyFailed, "Failed to create key " + kRun},
        {RegistryWrite::CreateKeyFailed, RegistryWrite::SetValueFailed, "Failed to create key " + kRun},
        {RegistryWrite::SetValueFailed, RegistryWrite::CreateKeyFailed, "Failed to set data for 'Kivra'"},
        {RegistryWrite::SetValueFailed, RegistryWrite::SetValueFailed, "Failed to set data for 'Kivra'"},
    };
    for (const Case& c : cases) {
        fake::FakePlatform f;
        KivraUtils u(f.platform);
        f.registry.failures[RegistryRoot::LocalMachine] = c.machine;
        f.registry.failures[RegistryRoot::CurrentUser] = c.user;
        try {
            u.ApplyAutostart(true);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const KivraError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

TEST_F(SystemOperations, UncheckingAutostartDeletesFromBothKeysQuietly) {
    utils.ApplyAutostart(true);
    fake.registry.values["HKCU\\" + kRun + "\\Kivra"] = "C:\\Old\\Kivra.exe";
    fake.log.clear();
    utils.ApplyAutostart(false);
    EXPECT_EQ(fake.log, (CallLog{"RegDeleteValue(HKLM\\" + kRun + "\\Kivra)",
                                 "RegDeleteValue(HKCU\\" + kRun + "\\Kivra)"}));
    EXPECT_TRUE(fake.registry.values.empty());
    EXPECT_NO_THROW(utils.ApplyAutostart(false));  // nothing left to delete
}

}  // namespace
}  // namespace kivra
