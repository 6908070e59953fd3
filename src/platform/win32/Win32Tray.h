// The tray icon with the program's icon (resource 1).
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Tray : public kivra::Tray {
public:
    void addIcon(WindowHandle window, unsigned id, unsigned callbackMessage, const std::string& tip) override;
    void removeIcon(WindowHandle window, unsigned id) override;
};

}  // namespace kivra::win32
