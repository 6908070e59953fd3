// Other programs' windows, plain window requests and the error box.
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32WindowSystem : public kivra::WindowSystem {
public:
    bool classExists(const std::string& className) override;
    WindowHandle findByTitle(const std::string& title) override;
    void showWindow(WindowHandle window, int showCommand) override;
    std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    void setForeground(WindowHandle window) override;
    Point cursorPos() override;
    void errorBox(const std::string& title, const std::string& text) override;
};

}  // namespace kivra::win32
