// KeySink: logs every key event that a low-level keyboard hook observes, one line per event,
// "vk scan flags time" in decimal, to the file named on the command line. The end-to-end tests
// read that file to see exactly which events Kivra injected and when.
//
// With "--udp PORT" after the file name it also sends each line as one datagram to
// 127.0.0.1:PORT the moment the hook sees the event, with a fifth field: the performance
// counter at that moment, so that a benchmark can time the event on its own clock.
//
// The window is small and focusable so that injected keys land here rather than in a window
// they could disturb. Its check box "Пауза" stops the logging while ticked, and its status bar
// counts the logged events; both also let the tests try out WinControl.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kPauseBoxId = 101;

// The log file; opened once, written with one WriteFile per line so that a reader sees whole lines.
// No flush to the disk: readers see what WriteFile wrote at once, and a flush inside the hook
// would hold up every key event behind it.
class LogFile {
public:
    explicit LogFile(const wchar_t* path)
        : handle_(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~LogFile() {
        if (ok()) CloseHandle(handle_);
    }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    void writeLine(const char* text, int length) {
        DWORD written = 0;
        WriteFile(handle_, text, static_cast<DWORD>(length), &written, nullptr);
    }

private:
    HANDLE handle_;
};

// A UDP socket aimed at one local port; does nothing when no port was given.
class EventReporter {
public:
    explicit EventReporter(int port) {
        if (port <= 0) return;
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
        started_ = true;
        socket_ = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        target_.sin_family = AF_INET;
        target_.sin_port = htons(static_cast<u_short>(port));
        target_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    ~EventReporter() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        if (started_) WSACleanup();
    }
    EventReporter(const EventReporter&) = delete;
    EventReporter& operator=(const EventReporter&) = delete;

    void send(const char* text, int length) {
        if (socket_ == INVALID_SOCKET) return;
        sendto(socket_, text, length, 0, reinterpret_cast<const sockaddr*>(&target_), sizeof target_);
    }

private:
    bool started_ = false;
    SOCKET socket_ = INVALID_SOCKET;
    sockaddr_in target_{};
};

class Hook {
public:
    Hook(int id, HOOKPROC proc, HINSTANCE instance) : hook_(SetWindowsHookExW(id, proc, instance, 0)) {}
    ~Hook() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    Hook(const Hook&) = delete;
    Hook& operator=(const Hook&) = delete;
    bool ok() const { return hook_ != nullptr; }

private:
    HHOOK hook_;
};

LogFile* g_log = nullptr;
EventReporter* g_reporter = nullptr;
HWND g_window = nullptr;
HWND g_pauseBox = nullptr;
HWND g_statusBar = nullptr;
long g_events = 0;

void ShowCount() {
    wchar_t text[64];
    swprintf(text, 64, L"Событий: %ld", g_events);
    SendMessageW(g_statusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text));
}

bool Paused() { return SendMessageW(g_pauseBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_log && !Paused()) {
        // When the hook saw the event, on the performance counter: under Wine the monotonic
        // clock that a benchmark on the same machine reads too. The datagram carries it.
        LARGE_INTEGER seen;
        QueryPerformanceCounter(&seen);
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        char fields[96];
        std::snprintf(fields, sizeof fields, "%lu %lu %lu %lu", event->vkCode, event->scanCode, event->flags,
                      event->time);
        char datagram[128];
        g_reporter->send(datagram, std::snprintf(datagram, sizeof datagram, "%s %lld\n", fields,
                                                 static_cast<long long>(seen.QuadPart)));
        char line[128];
        g_log->writeLine(line, std::snprintf(line, sizeof line, "%s\n", fields));
        ++g_events;
        // Painting from inside the hook would delay the event; let the window do it.
        PostMessageW(g_window, WM_APP, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP:
        ShowCount();
        return 0;
    case WM_COMMAND:
        // Keep the focus on the window itself: a focused check box would take Space for itself.
        SetFocus(window);
        return 0;
    case WM_SYSCOMMAND:
        // Injected Alt+F4 or Alt alone must not close the sink or open its system menu; a close
        // asked for with the mouse or by WM_CLOSE still works.
        if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
        if ((wParam & 0xFFF0) == SC_CLOSE && lParam == 0) return 0;
        break;
    case WM_SIZE:
        SendMessageW(g_statusBar, WM_SIZE, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || (argc != 2 && !(argc == 4 && lstrcmpW(argv[2], L"--udp") == 0))) {
        MessageBoxW(nullptr, L"Usage: KeySink.exe LOGFILE [--udp PORT]", L"KeySink", MB_ICONERROR);
        return 2;
    }
    LogFile log(argv[1]);
    EventReporter reporter(argc == 4 ? _wtoi(argv[3]) : 0);
    LocalFree(argv);
    if (!log.ok()) return 3;
    g_log = &log;
    g_reporter = &reporter;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"KeySink";
    RegisterClassW(&windowClass);

    g_window = CreateWindowExW(0, L"KeySink", L"KeySink", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                               700, 40, 300, 120, nullptr, nullptr, instance, nullptr);
    g_pauseBox = CreateWindowExW(0, L"BUTTON", L"Пауза", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 120,
                                 20, g_window, reinterpret_cast<HMENU>(kPauseBoxId), instance, nullptr);
    g_statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, g_window,
                                  nullptr, instance, nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(g_pauseBox, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    int parts[] = {100, -1};
    SendMessageW(g_statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageW(g_statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"KeySink"));
    ShowCount();

    Hook hook(WH_KEYBOARD_LL, KeyboardHook, instance);
    if (!hook.ok()) return 4;
    SetForegroundWindow(g_window);
    SetFocus(g_window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    g_log = nullptr;
    return 0;
}
