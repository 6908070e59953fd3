// Operations on the system: keyboard emulation and the system operations that the binding
// table and the menu commands share, with the small process-wide state they keep.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace kivra {

class KivraUtils {
public:
    // applicationWindow: the program's taskbar window, which receives the screen-saver and
    // display commands. It may be set later, once the window exists.
    explicit KivraUtils(Platform& platform) : platform_(platform) {}

    Platform& platform() { return platform_; }
    void setApplicationWindow(WindowHandle window) { applicationWindow_ = window; }
    WindowHandle applicationWindow() const { return applicationWindow_; }
    // mainWindow: the main window, which every special-folder look-up names as its owner.
    void setMainWindow(WindowHandle window) { mainWindow_ = window; }
    WindowHandle mainWindow() const { return mainWindow_; }

    // --- Keyboard (actions/Keyboard.cpp) -----------------------------------------------
    int keyDelay = 100;  // milliseconds, read afresh at every PressKey
    void PressKey(std::uint8_t virtualKey);  // press, release, then the key delay
    void KeyDown(std::uint8_t virtualKey);
    void KeyUp(std::uint8_t virtualKey);
    void SendKeyCombination(const std::string& text);

    // --- System operations (actions/SystemOperations.cpp) -------------------------------
    bool GetWaveVolume(std::uint16_t& left, std::uint16_t& right);
    void SetWaveVolume(std::uint16_t left, std::uint16_t right);
    void VolumeStepUp();
    void VolumeStepDown();
    std::string GetSpecialFolderPath(WindowHandle owner, int csidl);
    void OpenSpecialFolder(WindowHandle owner, int csidl);
    void OpenExplorer(WindowHandle owner);
    void ToggleCdTray(WindowHandle window);
    void StartScreenSaver();
    void TurnMonitorOff();
    void PowerControl(int powerType);
    // Writes the value under HKEY_LOCAL_MACHINE, or under HKEY_CURRENT_USER where the machine
    // key is closed to this user. Only when both fail: KivraError "Failed to create key %s" /
    // "Failed to set data for '%s'". RemoveAutorun deletes from both and reports nothing.
    void AddAutorun(const std::string& name, const std::string& text);
    void RemoveAutorun(const std::string& name);
    // The autostart check box: on writes "Kivra" with this executable's path, off deletes it.
    void ApplyAutostart(bool on);

    // Shared state of the system operations.
    std::uint16_t rememberedLeft = 0;
    std::uint16_t rememberedRight = 0;
    bool cdTrayOpen = false;   // true: the next toggle closes the tray
    bool monitorOff = false;   // set by TurnMonitorOff, never cleared

private:
    Platform& platform_;
    WindowHandle applicationWindow_ = 0;
    WindowHandle mainWindow_ = 0;
};

}  // namespace kivra
