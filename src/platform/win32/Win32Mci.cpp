#include "platform/win32/Win32Mci.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/WideText.h"

namespace kivra::win32 {

// No return buffer; the window is named but no notification is asked for, so a "wait"
// command returns only when the device has finished.
void Win32Mci::sendString(const std::string& command, WindowHandle callbackWindow) {
    mciSendStringW(Wide(command).c_str(), nullptr, 0, reinterpret_cast<HWND>(callbackWindow));
}

}  // namespace kivra::win32
