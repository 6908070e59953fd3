#include "toolkit/win32/Dialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <memory>

#include "platform/win32/WideText.h"

namespace kivra::ui::win32 {

using kivra::win32::Narrow;
using kivra::win32::Wide;

std::wstring OpenDialogFilter(const std::string& filter) {
    if (filter.empty()) return {};
    std::wstring pairs = Wide(filter);
    for (wchar_t& c : pairs)
        if (c == L'|') c = L'\0';
    pairs.push_back(L'\0');
    pairs.push_back(L'\0');
    return pairs;
}

// comdlg32 is loaded when a file dialog first opens, not at start: it brings the printing
// system with it (and under Wine the CUPS and TLS libraries), several megabytes that a
// program waiting in the tray never uses. Once loaded it stays.
BOOL ShowOpenFileDialog(OPENFILENAMEW& request) {
    using Function = BOOL(WINAPI*)(LPOPENFILENAMEW);
    static const Function function = [] {
        const HMODULE module = LoadLibraryW(L"comdlg32.dll");
        return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, "GetOpenFileNameW")))
                      : nullptr;
    }();
    return function ? function(&request) : FALSE;
}

std::optional<std::string> RunOpenDialog(const OpenDialog& dialog, WindowHandle owner) {
    const std::wstring filter = OpenDialogFilter(dialog.filter);
    std::wstring file(32768, L'\0');
    const std::wstring preset = Wide(dialog.fileName);
    if (preset.size() < file.size()) std::copy(preset.begin(), preset.end(), file.begin());

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = reinterpret_cast<HWND>(owner);
    request.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    // The program finds its own files by its executable's directory; the dialog must not move
    // the current directory under anything else.
    request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!ShowOpenFileDialog(request)) return std::nullopt;
    return Narrow(file.c_str(), wcslen(file.c_str()));
}

std::optional<std::string> RunFolderDialog(WindowHandle owner) {
    BROWSEINFOW request{};
    request.hwndOwner = reinterpret_cast<HWND>(owner);
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    struct ItemListRelease {
        void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
    };
    std::unique_ptr<ITEMIDLIST, ItemListRelease> chosen(SHBrowseForFolderW(&request));
    if (!chosen) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path)) return std::nullopt;
    return Narrow(path, wcslen(path));
}

}  // namespace kivra::ui::win32
