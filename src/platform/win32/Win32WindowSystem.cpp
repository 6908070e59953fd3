#include "platform/win32/Win32WindowSystem.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace kivra::win32 {

namespace {
HWND AsHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
}  // namespace

bool Win32WindowSystem::classExists(const std::string& className) {
    return FindWindowW(Wide(className).c_str(), nullptr) != nullptr;
}

WindowHandle Win32WindowSystem::findByTitle(const std::string& title) {
    return reinterpret_cast<WindowHandle>(FindWindowW(nullptr, Wide(title).c_str()));
}

void Win32WindowSystem::showWindow(WindowHandle window, int showCommand) {
    ShowWindow(AsHwnd(window), showCommand);
}

std::intptr_t Win32WindowSystem::sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    return SendMessageW(AsHwnd(window), message, wParam, lParam);
}

void Win32WindowSystem::setForeground(WindowHandle window) {
    SetForegroundWindow(AsHwnd(window));
}

Point Win32WindowSystem::cursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return Point{point.x, point.y};
}

void Win32WindowSystem::errorBox(const std::string& title, const std::string& text) {
    // Owned by the active window of this thread, if any, so the box stays in front of it.
    MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(title).c_str(), MB_ICONERROR | MB_OK);
}

}  // namespace kivra::win32
