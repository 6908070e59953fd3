#include "platform/win32/Win32Keyboard.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace kivra::win32 {

void Win32Keyboard::keyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
    keybd_event(vk, scan, flags, 0);
}

unsigned Win32Keyboard::scanCodeOf(unsigned vk) {
    return MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
}

std::string Win32Keyboard::keyNameOfScanCode(unsigned scanCode) {
    wchar_t name[256] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, 256);
    return Narrow(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace kivra::win32
