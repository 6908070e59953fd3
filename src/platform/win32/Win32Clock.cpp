#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace kivra::win32 {

std::uint32_t Win32Clock::tickCount() {
    return GetTickCount();
}

void Win32Clock::sleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

}  // namespace kivra::win32
