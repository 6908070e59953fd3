// WinControl: drives other programs' windows for the end-to-end tests, one command per run.
//
//   WinControl.exe [--out FILE] COMMAND ARGS...
//
// The answer goes to FILE (UTF-8) when --out is given, else to standard output: a test runner
// that reads a Wine program's output through a pipe can hang on Wine's service processes, so the
// harness always uses --out. Exit status: 0 done, 1 the window or item was not found or the
// state was not reached, 2 wrong usage.
//
// Commands: find-title T, find-class C, wait-title T MS, ping T MS, post T MESSAGE-NAME, find-child T TEXT, title T, click T TEXT,
// checked T TEXT, check T TEXT 0|1, status T, tab T TEXT, tab-selected T, children T,
// client-size T, close T, sysmin T, visible T, foreground T, get-foreground, rect T,
// tray-callback T LPARAM, key VK, select-grid T ROW COL, menu-popup-items, dialogs,
// dialog-click TEXT BUTTON, combo-items T, combo-select T INDEX.
//
// Windows are named by title (whole title, letter case ignored, hidden windows too); controls
// inside them by their text. Messages that carry pointers are given memory in the target
// process (VirtualAllocEx) and read back with ReadProcessMemory, because Windows copies the
// data of messages between processes only below WM_USER, not for common controls. Clicks are sent with a time limit: a click
// whose handler opens a modal box does not return until the box closes, and the test must be
// able to look at that box meanwhile.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kTrayCallbackMessage = WM_USER + 123;
constexpr int kGridRowHeight = 18;
constexpr UINT kSendTimeoutMs = 3000;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

struct UsageError {
    std::string message;
};

// ---- owners of what we open -------------------------------------------------------------------
class ProcessHandle {
public:
    explicit ProcessHandle(HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        handle_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                              FALSE, pid);
    }
    ~ProcessHandle() {
        if (handle_) CloseHandle(handle_);
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// A block of memory inside the process that owns a window.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : process_(window), size_(size) {
        if (process_.get())
            address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool ok() const { return address_ != nullptr; }
    void* address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    LPARAM param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(address(offset)); }
    void write(const void* data, size_t size, size_t offset = 0) {
        WriteProcessMemory(process_.get(), address(offset), data, size, nullptr);
    }
    void read(void* data, size_t size, size_t offset = 0) const {
        if (!ReadProcessMemory(process_.get(), address(offset), data, size, nullptr)) ZeroMemory(data, size);
    }
    std::wstring readText(size_t offset, size_t maxChars) const {
        std::vector<wchar_t> text(maxChars + 1, L'\0');
        read(text.data(), maxChars * sizeof(wchar_t), offset);
        text[maxChars] = L'\0';
        return text.data();
    }
    size_t size() const { return size_; }

private:
    ProcessHandle process_;
    void* address_ = nullptr;
    size_t size_;
};

// ---- finding windows -----------------------------------------------------------------------
HWND FindTopLevel(const std::wstring& title) { return FindWindowW(nullptr, title.c_str()); }

HWND RequireTopLevel(const std::wstring& title) {
    HWND window = FindTopLevel(title);
    if (!window) throw UsageError{"no window titled " + Utf8(title)};
    return window;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = L"";
    // WM_GETTEXT is marshalled between processes; a time limit keeps a busy target from hanging us.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                        &ignored);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

struct ChildSearch {
    const std::function<bool(HWND)>* test;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if ((*search->test)(child)) search->found.push_back(child);
    return TRUE;
}

// Every descendant of parent for which test holds, in the order EnumChildWindows gives them.
std::vector<HWND> Descendants(HWND parent, const std::function<bool(HWND)>& test) {
    ChildSearch search{&test, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control's caption without the ampersands that mark accelerators.
std::wstring WithoutAccelerators(const std::wstring& text) {
    std::wstring result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        result += text[i];
    }
    return result;
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
    auto found = Descendants(parent, [&](HWND child) {
        std::wstring caption = WindowText(child);
        return caption == text || WithoutAccelerators(caption) == text;
    });
    return found.empty() ? nullptr : found.front();
}

HWND RequireChildByText(HWND parent, const std::wstring& text) {
    HWND child = FindChildByText(parent, text);
    if (!child) throw UsageError{"no control with the text " + Utf8(text)};
    return child;
}

HWND RequireChildByClass(HWND parent, const std::wstring& className) {
    auto found = Descendants(parent, [&](HWND child) { return lstrcmpiW(ClassOf(child).c_str(), className.c_str()) == 0; });
    if (found.empty()) throw UsageError{"no child window of class " + Utf8(className)};
    return found.front();
}

// ---- sending ---------------------------------------------------------------------------------
// "ok" when the target handled the message in time, "pending" when it is still busy with it
// (a modal loop inside the handler), which is no failure.
std::string SendWithLimit(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &answer)) {
        if (result) *result = static_cast<LRESULT>(answer);
        return "ok";
    }
    return "pending";
}

void ClickAt(HWND window, int x, int y) {
    LPARAM where = MAKELPARAM(x, y);
    SendWithLimit(window, WM_MOUSEMOVE, 0, where);
    SendWithLimit(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendWithLimit(window, WM_LBUTTONUP, 0, where);
}

int Integer(const std::wstring& text) {
    wchar_t* end = nullptr;
    long value = wcstol(text.c_str(), &end, 0);
    if (text.empty() || *end != L'\0') throw UsageError{"not a number: " + Utf8(text)};
    return static_cast<int>(value);
}

std::string Handle(HWND window) { return std::to_string(reinterpret_cast<uintptr_t>(window)); }

// ---- commands ----------------------------------------------------------------------------------
struct Result {
    std::string text;
    int status = 0;
};

Result StatusPanels(HWND top) {
    HWND bar = RequireChildByClass(top, STATUSCLASSNAMEW);
    constexpr size_t kMaxChars = 1024;
    RemoteBuffer buffer(bar, (kMaxChars + 1) * sizeof(wchar_t));
    if (!buffer.ok()) return {"cannot reach the window's process\n", 1};
    LRESULT parts = 0;
    SendWithLimit(bar, SB_GETPARTS, 0, 0, &parts);
    if (parts <= 0) parts = 1;
    std::string text;
    for (int part = 0; part < parts; ++part) {
        LRESULT length = 0;
        SendWithLimit(bar, SB_GETTEXTLENGTHW, part, 0, &length);
        size_t chars = LOWORD(length);
        if (chars > kMaxChars) chars = kMaxChars;
        std::wstring panel;
        if (chars > 0) {
            wchar_t zero = L'\0';
            buffer.write(&zero, sizeof zero);
            SendWithLimit(bar, SB_GETTEXTW, part, buffer.param());
            panel = buffer.readText(0, chars);
        }
        text += Utf8(panel) + "\n";
    }
    return {text, 0};
}

std::wstring TabText(HWND tabs, RemoteBuffer& buffer, int index) {
    constexpr size_t kMaxChars = 256;
    constexpr size_t kTextOffset = 256;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<LPWSTR>(buffer.address(kTextOffset));
    item.cchTextMax = kMaxChars;
    buffer.write(&item, sizeof item);
    SendWithLimit(tabs, TCM_GETITEMW, index, buffer.param());
    return buffer.readText(kTextOffset, kMaxChars);
}

constexpr size_t kTabBufferSize = 256 + 257 * sizeof(wchar_t);

Result SelectedTab(HWND top) {
    HWND tabs = RequireChildByClass(top, WC_TABCONTROLW);
    RemoteBuffer buffer(tabs, kTabBufferSize);
    if (!buffer.ok()) return {"cannot reach the window's process\n", 1};
    LRESULT index = -1;
    SendWithLimit(tabs, TCM_GETCURSEL, 0, 0, &index);
    if (index < 0) return {"\n", 1};
    return {Utf8(TabText(tabs, buffer, static_cast<int>(index))) + "\n", 0};
}

// Every descendant window: class, visibility, text; one per line.
Result Children(HWND top) {
    std::string text;
    for (HWND child : Descendants(top, [](HWND) { return true; })) {
        text += Utf8(ClassOf(child)) + "\t" + (IsWindowVisible(child) ? "1" : "0") + "\t" + Utf8(WindowText(child)) +
                "\n";
    }
    return {text, 0};
}

Result ClickTab(HWND top, const std::wstring& wanted) {
    HWND tabs = RequireChildByClass(top, WC_TABCONTROLW);
    RemoteBuffer buffer(tabs, kTabBufferSize);
    if (!buffer.ok()) return {"cannot reach the window's process\n", 1};
    LRESULT count = 0;
    SendWithLimit(tabs, TCM_GETITEMCOUNT, 0, 0, &count);
    for (int index = 0; index < count; ++index) {
        if (TabText(tabs, buffer, index) != wanted) continue;
        RECT rect{};
        SendWithLimit(tabs, TCM_GETITEMRECT, index, buffer.param());
        buffer.read(&rect, sizeof rect);
        ClickAt(tabs, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        return {"ok\n", 0};
    }
    return {"no tab " + Utf8(wanted) + "\n", 1};
}

// Clicks into a cell of the binding grid: a header row, then rows kGridRowHeight pixels high.
// Rows below the visible part are reached from the last visible one with the Down key, which
// scrolls the grid as a user's Down key would.
Result SelectGridCell(HWND top, int row, int column) {
    HWND grid = RequireChildByClass(top, L"KivraGrid");
    if (row < 1) return {"row must be 1 or more\n", 2};
    SendWithLimit(grid, WM_VSCROLL, SB_TOP, 0);
    RECT client{};
    GetClientRect(grid, &client);
    int visibleRows = (client.bottom - client.top) / kGridRowHeight - 1;
    if (visibleRows < 1) visibleRows = 1;
    int clickRow = row <= visibleRows ? row : visibleRows;
    int width = client.right - client.left;
    // Column 0 is the wider one (250 of 479 pixels); a point at a quarter or at three quarters
    // of the width lies well inside either column whatever the exact widths are.
    int x = column == 0 ? width / 4 : width * 3 / 4;
    ClickAt(grid, x, clickRow * kGridRowHeight + kGridRowHeight / 2);
    for (int r = clickRow; r < row; ++r) {
        SendWithLimit(grid, WM_KEYDOWN, VK_DOWN, 1);
        SendWithLimit(grid, WM_KEYUP, VK_DOWN, 0xC0000001);
    }
    return {"ok\n", 0};
}

// The open pop-up menu: a first line "open LEFT TOP RIGHT BOTTOM" (its screen rectangle), then
// one line per item, "TEXT<tab>checked|unchecked" or "-<tab>separator", where the menu can be
// read from this process. Windows can; Wine keeps a menu's items inside the process that owns
// it, so there only the first line comes.
Result PopupMenuItems() {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return {"no pop-up menu\n", 1};
    RECT rect{};
    GetWindowRect(popup, &rect);
    char head[96];
    std::snprintf(head, sizeof head, "open %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    std::string text = head;
    LRESULT menuHandle = 0;
    SendWithLimit(popup, MN_GETHMENU, 0, 0, &menuHandle);
    HMENU menu = reinterpret_cast<HMENU>(menuHandle);
    int count = menu ? GetMenuItemCount(menu) : -1;
    for (int index = 0; index < count; ++index) {
        wchar_t caption[512] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = 511;
        GetMenuItemInfoW(menu, index, TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            text += "-\tseparator\n";
            continue;
        }
        text += Utf8(caption);
        text += (info.fState & MFS_CHECKED) ? "\tchecked\n" : "\tunchecked\n";
    }
    return {text, 0};
}

// Every visible dialog box (class #32770), such as a message box of the error report: its
// title, then the texts of its controls, separated by tabs; one dialog per line.
std::vector<HWND> VisibleDialogs() {
    std::vector<HWND> dialogs;
    for (HWND window = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); window;
         window = FindWindowExW(nullptr, window, L"#32770", nullptr)) {
        if (IsWindowVisible(window)) dialogs.push_back(window);
    }
    return dialogs;
}

Result Dialogs() {
    std::string text;
    for (HWND dialog : VisibleDialogs()) {
        text += Utf8(WindowText(dialog));
        for (HWND child : Descendants(dialog, [](HWND) { return true; })) {
            std::wstring caption = WindowText(child);
            if (caption.empty()) continue;
            text += '\t';
            text += Utf8(caption);
        }
        text += "\n";
    }
    return {text, 0};
}

// Clicks the button captioned `button` in the visible dialog one of whose controls contains `part`.
Result DialogClick(const std::wstring& part, const std::wstring& button) {
    for (HWND dialog : VisibleDialogs()) {
        auto holders = Descendants(dialog, [&](HWND child) { return WindowText(child).find(part) != std::wstring::npos; });
        if (holders.empty()) continue;
        HWND target = FindChildByText(dialog, button);
        if (!target) return {"no button " + Utf8(button) + "\n", 1};
        // Posted: the dialog's end returns into the handler that opened it, which may run on.
        PostMessageW(target, BM_CLICK, 0, 0);
        return {"ok\n", 0};
    }
    return {"no dialog with " + Utf8(part) + "\n", 1};
}

// The entries of the first combo box in the window, one per line. Combo box messages are below
// WM_USER, so the system copies their text between the processes itself.
Result ComboItems(HWND top) {
    HWND combo = RequireChildByClass(top, WC_COMBOBOXW);
    LRESULT count = 0;
    SendWithLimit(combo, CB_GETCOUNT, 0, 0, &count);
    std::string text;
    for (int index = 0; index < count; ++index) {
        LRESULT length = 0;
        SendWithLimit(combo, CB_GETLBTEXTLEN, index, 0, &length);
        std::wstring entry;
        if (length > 0) {
            std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
            SendWithLimit(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
            entry = buffer.data();
        }
        text += Utf8(entry) + "\n";
    }
    return {text, 0};
}

// Selects an entry of the first combo box and tells its parent, as a user's choice would.
Result ComboSelect(HWND top, int index) {
    HWND combo = RequireChildByClass(top, WC_COMBOBOXW);
    LRESULT selected = CB_ERR;
    SendWithLimit(combo, CB_SETCURSEL, index, 0, &selected);
    if (selected == CB_ERR) return {"no entry " + std::to_string(index) + "\n", 1};
    int id = GetDlgCtrlID(combo);
    std::string sent = SendWithLimit(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                                     reinterpret_cast<LPARAM>(combo));
    return {sent + "\n", 0};
}

Result WaitForTitle(const std::wstring& title, int milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindTopLevel(title)) return {Handle(window) + "\n", 0};
        if (static_cast<int>(GetTickCount() - start) >= milliseconds) return {"0\n", 1};
        Sleep(50);
    }
}

// ---- the command table --------------------------------------------------------------------------
using Args = std::vector<std::wstring>;  // the command's arguments, without its name

Result Found(HWND window) { return {Handle(window) + "\n", window ? 0 : 1}; }
Result Line(const std::string& text, int status = 0) { return {text + "\n", status}; }
Result Flag(bool value) { return Line(value ? "1" : "0"); }

Result Ping(const Args& a) {
    // Whether the window's thread handles a message within MS milliseconds, and how soon.
    HWND window = RequireTopLevel(a[0]);
    DWORD start = GetTickCount();
    DWORD_PTR ignored = 0;
    bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                        static_cast<UINT>(Integer(a[1])), &ignored) != 0;
    return answered ? Line(std::to_string(GetTickCount() - start)) : Line("timeout", 1);
}

LRESULT CheckState(HWND box) {
    LRESULT state = 0;
    SendWithLimit(box, BM_GETCHECK, 0, 0, &state);
    return state == BST_CHECKED ? 1 : 0;
}

Result Check(const Args& a) {
    HWND box = RequireChildByText(RequireTopLevel(a[0]), a[1]);
    LRESULT wanted = Integer(a[2]) ? 1 : 0;
    if (CheckState(box) != wanted) SendWithLimit(box, BM_CLICK, 0, 0);
    LRESULT now = CheckState(box);
    return Line(std::to_string(now), now == wanted ? 0 : 1);
}

Result ClientSize(const Args& a) {
    RECT rect{};
    GetClientRect(RequireTopLevel(a[0]), &rect);
    return Line(std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top));
}

Result WindowRect(const Args& a) {
    RECT rect{};
    GetWindowRect(RequireTopLevel(a[0]), &rect);
    char text[96];
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld", rect.left, rect.top, rect.right, rect.bottom);
    return Line(text);
}

Result Foreground(const Args& a) {
    HWND window = RequireTopLevel(a[0]);
    SetForegroundWindow(window);
    return Flag(GetForegroundWindow() == window);
}

Result TrayCallback(const Args& a) {
    // Posted, as the shell does: a right click opens the tray menu, whose modal loop would hold
    // a sent message until the menu closes.
    bool posted = PostMessageW(RequireTopLevel(a[0]), kTrayCallbackMessage, 1, Integer(a[1]));
    return Line(posted ? "ok" : "failed", posted ? 0 : 1);
}

Result Key(const Args& a) {
    BYTE vk = static_cast<BYTE>(Integer(a[0]));
    BYTE scan = static_cast<BYTE>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    keybd_event(vk, scan, 0, 0);
    keybd_event(vk, scan, KEYEVENTF_KEYUP, 0);
    return Line("ok");
}

struct Command {
    const wchar_t* name;
    size_t arity;
    Result (*run)(const Args&);
};

const Command kCommands[] = {
    {L"find-title", 1, [](const Args& a) { return Found(FindTopLevel(a[0])); }},
    {L"find-class", 1, [](const Args& a) { return Found(FindWindowW(a[0].c_str(), nullptr)); }},
    {L"wait-title", 2, [](const Args& a) { return WaitForTitle(a[0], Integer(a[1])); }},
    {L"ping", 2, Ping},
    {L"post", 2,
     [](const Args& a) {
         return Flag(PostMessageW(RequireTopLevel(a[0]), RegisterWindowMessageW(a[1].c_str()), 0, 0) != 0);
     }},
    {L"find-child", 2, [](const Args& a) { return Found(FindChildByText(RequireTopLevel(a[0]), a[1])); }},
    {L"title", 1, [](const Args& a) { return Line(Utf8(WindowText(RequireTopLevel(a[0])))); }},
    {L"click", 2,
     [](const Args& a) { return Line(SendWithLimit(RequireChildByText(RequireTopLevel(a[0]), a[1]), BM_CLICK, 0, 0)); }},
    {L"checked", 2, [](const Args& a) { return Flag(CheckState(RequireChildByText(RequireTopLevel(a[0]), a[1]))); }},
    {L"check", 3, Check},
    {L"status", 1, [](const Args& a) { return StatusPanels(RequireTopLevel(a[0])); }},
    {L"tab", 2, [](const Args& a) { return ClickTab(RequireTopLevel(a[0]), a[1]); }},
    {L"tab-selected", 1, [](const Args& a) { return SelectedTab(RequireTopLevel(a[0])); }},
    {L"children", 1, [](const Args& a) { return Children(RequireTopLevel(a[0])); }},
    {L"client-size", 1, ClientSize},
    {L"close", 1, [](const Args& a) { return Line(SendWithLimit(RequireTopLevel(a[0]), WM_CLOSE, 0, 0)); }},
    {L"sysmin", 1,
     [](const Args& a) { return Line(SendWithLimit(RequireTopLevel(a[0]), WM_SYSCOMMAND, SC_MINIMIZE, 0)); }},
    {L"visible", 1, [](const Args& a) { return Flag(IsWindowVisible(RequireTopLevel(a[0]))); }},
    {L"foreground", 1, Foreground},
    {L"get-foreground", 0,
     [](const Args&) {
         HWND window = GetForegroundWindow();
         return Line(window ? Utf8(WindowText(window)) : std::string());
     }},
    {L"rect", 1, WindowRect},
    {L"tray-callback", 2, TrayCallback},
    {L"key", 1, Key},
    {L"select-grid", 3,
     [](const Args& a) { return SelectGridCell(RequireTopLevel(a[0]), Integer(a[1]), Integer(a[2])); }},
    {L"menu-popup-items", 0, [](const Args&) { return PopupMenuItems(); }},
    {L"dialogs", 0, [](const Args&) { return Dialogs(); }},
    {L"dialog-click", 2, [](const Args& a) { return DialogClick(a[0], a[1]); }},
    {L"combo-items", 1, [](const Args& a) { return ComboItems(RequireTopLevel(a[0])); }},
    {L"combo-select", 2, [](const Args& a) { return ComboSelect(RequireTopLevel(a[0]), Integer(a[1])); }},
};

Result Run(const std::vector<std::wstring>& words) {
    if (words.empty()) throw UsageError{"no command"};
    for (const Command& command : kCommands) {
        if (words[0] != command.name) continue;
        if (words.size() != command.arity + 1)
            throw UsageError{"wrong number of arguments for " + Utf8(words[0])};
        return command.run(Args(words.begin() + 1, words.end()));
    }
    throw UsageError{"unknown command " + Utf8(words[0])};
}

void WriteAnswer(const std::wstring& outPath, const std::string& text) {
    if (outPath.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return;
    }
    HANDLE file = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    std::wstring outPath;
    if (args.size() >= 2 && args[0] == L"--out") {
        outPath = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    Result result;
    try {
        result = Run(args);
    } catch (const UsageError& error) {
        bool notFound = error.message.rfind("no ", 0) == 0;
        result = {"error: " + error.message + "\n", notFound ? 1 : 2};
    }
    WriteAnswer(outPath, result.text);
    return result.status;
}
