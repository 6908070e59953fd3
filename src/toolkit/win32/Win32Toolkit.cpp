#include "toolkit/win32/Win32Toolkit.h"

#include "platform/win32/MessageBoundary.h"
#include "platform/win32/WideText.h"
#include "toolkit/win32/FormWindow.h"
#include "toolkit/win32/GuiResources.h"

namespace kivra::ui::win32 {

using kivra::win32::Guarded;
using kivra::win32::Wide;

namespace {

constexpr wchar_t kApplicationClass[] = L"KivraApplication";
// Posted when the application window is activated: the activation goes on to its main form.
constexpr UINT kActivateOwnedWindow = WM_APP + 2;

HWND& MainFormWindow() {
    static HWND window = nullptr;
    return window;
}

LRESULT HandleApplicationMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND mainForm = MainFormWindow();
    const bool haveMainForm = mainForm && IsWindow(mainForm);
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(window, kActivateOwnedWindow, 0, 0);
            return 0;
        case kActivateOwnedWindow: {
            // The taskbar button activates this window; the user means the form it owns.
            HWND popup = GetLastActivePopup(window);
            if (popup && popup != window && IsWindowVisible(popup) && IsWindowEnabled(popup))
                SetActiveWindow(popup);
            return 0;
        }
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = POINT{0, 0};
            return 0;
        }
        case WM_CLOSE:
            // Closing from the taskbar closes the program the way the main form's close box does.
            if (haveMainForm) SendMessageW(mainForm, WM_CLOSE, 0, 0);
            return 0;
        case WM_SYSCOMMAND:
            // Minimising from the taskbar goes to the tray, as the main form's minimise box does.
            if ((wParam & 0xFFF0) == SC_MINIMIZE && haveMainForm) {
                SendMessageW(mainForm, WM_SYSCOMMAND, SC_MINIMIZE, lParam);
                return 0;
            }
            if ((wParam & 0xFFF0) == SC_CLOSE && haveMainForm) {
                SendMessageW(mainForm, WM_CLOSE, 0, 0);
                return 0;
            }
            // SC_SCREENSAVE and SC_MONITORPOWER take their default course: the screen saver
            // starts, the display powers down.
            return DefWindowProcW(window, message, wParam, lParam);
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK ApplicationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!Guarded([&] { result = HandleApplicationMessage(window, message, wParam, lParam); })) return 0;
    return result;
}

}  // namespace

void SetErrorReporter(std::function<void(const std::string&)> reporter) {
    kivra::win32::SetFailureReporter(std::move(reporter));
}

void Realize(Form& form, HWND owner, FormRole role) {
    auto peer = std::make_unique<FormWindow>(form, owner, role);
    FormWindow& window = *peer;
    form.attachPeer(std::move(peer));
    if (role == FormRole::Main) MainFormWindow() = window.window();
    window.realizeControls();
    window.hookComponents();
}

HWND CreateApplicationWindow(const std::string& title) {
    RegisterWindowClass(kApplicationClass, &ApplicationProcedure, nullptr);
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // No size and no content: only its taskbar button shows. An unowned visible window gets one.
    HWND window = CreateWindowExW(0, kApplicationClass, Wide(title).c_str(),
                                  WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS,
                                  (work.left + work.right) / 2, (work.top + work.bottom) / 2, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

int RunMessageLoop(const std::function<void(const MSG&)>& observer) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (observer) observer(message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace kivra::ui::win32
