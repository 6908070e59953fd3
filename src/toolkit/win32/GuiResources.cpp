#include "toolkit/win32/GuiResources.h"

#include <set>
#include <string>

namespace kivra::ui::win32 {

namespace {
LOGFONTW MessageLogFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return metrics.lfMessageFont;
    LOGFONTW fallback{};
    fallback.lfHeight = -11;
    fallback.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(fallback.lfFaceName, L"Tahoma", LF_FACESIZE);
    return fallback;
}
}  // namespace

HFONT DefaultGuiFont() {
    static UniqueGdiObject font([] {
        const LOGFONTW logFont = MessageLogFont();
        return CreateFontIndirectW(&logFont);
    }());
    return static_cast<HFONT>(font.get());
}

UniqueGdiObject CreateGuiFont(int pixelHeight, bool bold) {
    LOGFONTW logFont = MessageLogFont();
    logFont.lfHeight = -pixelHeight;
    logFont.lfWidth = 0;
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return UniqueGdiObject(CreateFontIndirectW(&logFont));
}

HICON ProgramIcon(bool small) {
    const int width = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
    const int height = GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON);
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, width, height, LR_SHARED));
}

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, UINT style) {
    static std::set<std::wstring> registered;
    if (!registered.insert(name).second) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = ProgramIcon(false);
    windowClass.hIconSm = ProgramIcon(true);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

void SetThemed(HWND control, bool themed) {
    // uxtheme is asked for at run time: without it there are no visual styles to switch off.
    using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    static const auto setWindowTheme = [] {
        HMODULE module = LoadLibraryW(L"uxtheme.dll");
        return module ? reinterpret_cast<SetWindowThemeFunction>(
                            reinterpret_cast<void*>(GetProcAddress(module, "SetWindowTheme")))
                      : nullptr;
    }();
    if (!setWindowTheme) return;
    if (themed)
        setWindowTheme(control, nullptr, nullptr);
    else
        setWindowTheme(control, L"", L"");
}

HWND CreateChild(const wchar_t* windowClass, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, Rect at,
                 void* createParam) {
    static int nextId = 1000;
    HWND child = CreateWindowExW(exStyle, windowClass, text, WS_CHILD | style, at.x, at.y, at.width, at.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)), GetModuleHandleW(nullptr),
                                 createParam);
    if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);
    return child;
}

}  // namespace kivra::ui::win32
