// Windows' own numbers that portable code hands to the platform services: show commands,
// messages, system commands and special folders. Defined once here, since portable code does
// not see <windows.h>.
#pragma once

#include <cstdint>

namespace kivra {

// ShowWindow / ShellExecute show commands (SW_*).
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShow = 5;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwRestore = 9;

// Window messages (WM_*).
inline constexpr unsigned kWmClose = 16;
inline constexpr unsigned kWmSysCommand = 0x0112;
inline constexpr unsigned kWmLButtonDblClk = 515;
inline constexpr unsigned kWmRButtonDown = 516;

// System commands (SC_*), the wParam of WM_SYSCOMMAND.
inline constexpr std::uintptr_t kScMinimize = 0xF020;
inline constexpr std::uintptr_t kScScreenSave = 0xF140;
inline constexpr std::uintptr_t kScMonitorPower = 0xF170;

// Special folders (CSIDL_*).
inline constexpr int kCsidlDesktop = 0;   // "Мой компьютер"
inline constexpr int kCsidlPersonal = 5;  // "Мои документы"

}  // namespace kivra
