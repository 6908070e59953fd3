// Operations on the computer itself that binding rows and menu commands share: the volume
// steps, the shell's folders, the CD tray, the screen saver, the display, power and autostart.
#include <string>

#include "actions/KivraUtils.h"
#include "toolkit/ErrorReport.h"
#include "platform/WindowsConstants.h"

namespace kivra {
namespace {

constexpr int kVolumeStep = 3275;
constexpr int kVolumeTop = 65500;  // twenty steps, not 65535

constexpr std::intptr_t kMonitorLowPower = 1;

constexpr unsigned kExitShutdownForcePowerOff = 13;  // EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF
constexpr unsigned kExitLogoffForce = 4;             // EWX_LOGOFF | EWX_FORCE

const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kAutostartName = "Kivra";

std::string Formatted(const char* pattern, const std::string& argument) {
    std::string text = pattern;
    text.replace(text.find("%s"), 2, argument);
    return text;
}

}  // namespace

bool KivraUtils::GetWaveVolume(std::uint16_t& left, std::uint16_t& right) {
    return platform_.audio.getVolume(left, right);
}

void KivraUtils::SetWaveVolume(std::uint16_t left, std::uint16_t right) { platform_.audio.setVolume(left, right); }

// Both steps start from the right channel of the last successful reading: when the device
// cannot be read, the remembered value stands in, so steps still move in whole steps.
void KivraUtils::VolumeStepUp() {
    GetWaveVolume(rememberedLeft, rememberedRight);
    const int current = rememberedRight;
    const int next = kVolumeTop - current < kVolumeStep ? kVolumeTop : current + kVolumeStep;
    rememberedLeft = static_cast<std::uint16_t>(next);
    SetWaveVolume(rememberedLeft, rememberedLeft);
}

void KivraUtils::VolumeStepDown() {
    GetWaveVolume(rememberedLeft, rememberedRight);
    const int current = rememberedRight;
    const int next = current < kVolumeStep ? 0 : current - kVolumeStep;
    rememberedLeft = static_cast<std::uint16_t>(next);
    SetWaveVolume(rememberedLeft, rememberedLeft);
}

std::string KivraUtils::GetSpecialFolderPath(WindowHandle owner, int csidl) {
    return platform_.shell.specialFolderPath(owner, csidl);
}

// A folder without a file-system path gives "", which the shell gets all the same.
void KivraUtils::OpenSpecialFolder(WindowHandle owner, int csidl) {
    const std::string path = GetSpecialFolderPath(mainWindow_, csidl);
    platform_.shell.execute(owner, std::string("open"), path, "", "", kSwShow);
}

void KivraUtils::OpenExplorer(WindowHandle owner) {
    platform_.shell.execute(owner, std::string(), "explorer.exe", "", "", kSwShow);
}

// The tray state flips even when no drive moved: the next toggle always does the opposite.
void KivraUtils::ToggleCdTray(WindowHandle window) {
    platform_.mci.sendString(cdTrayOpen ? "Set cdaudio door closed wait" : "Set cdaudio door open wait", window);
    cdTrayOpen = !cdTrayOpen;
}

void KivraUtils::StartScreenSaver() {
    platform_.windows.sendMessage(applicationWindow_, kWmSysCommand, kScScreenSave, 0);
}

// The remote menu wakes the display before it pops up once this flag is set.
void KivraUtils::TurnMonitorOff() {
    platform_.windows.sendMessage(applicationWindow_, kWmSysCommand, kScMonitorPower, kMonitorLowPower);
    monitorOff = true;
}

void KivraUtils::PowerControl(int powerType) {
    platform_.power.enablePrivilege("SeShutdownPrivilege");
    switch (powerType) {
        case 0: platform_.power.exitWindows(kExitShutdownForcePowerOff); break;
        case 1: platform_.power.suspend(/*hibernate=*/false, /*force=*/true); break;
        case 2: platform_.power.exitWindows(kExitLogoffForce); break;
        case 3: platform_.power.suspend(/*hibernate=*/true, /*force=*/true); break;
        default: break;
    }
}

// A standard user cannot write the machine's Run key; the user's own Run key starts the
// program at log-on just as well, so the failure is reported only when both refuse.
void KivraUtils::AddAutorun(const std::string& name, const std::string& text) {
    const RegistryWrite machine = platform_.registry.writeString(RegistryRoot::LocalMachine, kRunKey, name, text);
    if (machine == RegistryWrite::Ok) return;
    const RegistryWrite user = platform_.registry.writeString(RegistryRoot::CurrentUser, kRunKey, name, text);
    if (user == RegistryWrite::Ok) return;
    if (machine == RegistryWrite::CreateKeyFailed) throw KivraError(Formatted("Failed to create key %s", kRunKey));
    throw KivraError(Formatted("Failed to set data for '%s'", name));
}

void KivraUtils::RemoveAutorun(const std::string& name) {
    platform_.registry.deleteValue(RegistryRoot::LocalMachine, kRunKey, name);
    platform_.registry.deleteValue(RegistryRoot::CurrentUser, kRunKey, name);
}

void KivraUtils::ApplyAutostart(bool on) {
    if (on)
        AddAutorun(kAutostartName, platform_.files.executablePath());
    else
        RemoveAutorun(kAutostartName);
}

}  // namespace kivra
