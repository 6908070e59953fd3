// MCI command strings (the CD tray's door).
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Mci : public kivra::Mci {
public:
    Win32Mci() = default;
    void sendString(const std::string& command, WindowHandle callbackWindow) override;
};

}  // namespace kivra::win32
