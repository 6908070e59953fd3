// Synthetic key events and key names through user32.
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Keyboard : public kivra::Keyboard {
public:
    void keyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
    unsigned scanCodeOf(unsigned vk) override;
    std::string keyNameOfScanCode(unsigned scanCode) override;
};

}  // namespace kivra::win32
