#include "platform/win32/Win32Tray.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace kivra::win32 {

namespace {
NOTIFYICONDATAW IconRecord(WindowHandle window, unsigned id) {
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof record;
    record.hWnd = reinterpret_cast<HWND>(window);
    record.uID = id;
    return record;
}
}  // namespace

void Win32Tray::addIcon(WindowHandle window, unsigned id, unsigned callbackMessage, const std::string& tip) {
    NOTIFYICONDATAW record = IconRecord(window, id);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = callbackMessage;
    // A shared icon from the resources: the system keeps it, nothing to release.
    record.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                 LR_SHARED));
    const std::wstring text = Wide(tip);
    const std::size_t length = std::min(text.size(), std::size(record.szTip) - 1);
    std::copy_n(text.begin(), length, record.szTip);
    Shell_NotifyIconW(NIM_ADD, &record);
}

void Win32Tray::removeIcon(WindowHandle window, unsigned id) {
    NOTIFYICONDATAW record = IconRecord(window, id);
    Shell_NotifyIconW(NIM_DELETE, &record);
}

}  // namespace kivra::win32
