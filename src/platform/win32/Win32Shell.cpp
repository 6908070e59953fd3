#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "platform/win32/WideText.h"

namespace kivra::win32 {
namespace {

// The shell's allocator, released when the look-up ends.
class ShellMalloc {
public:
    ShellMalloc() {
        if (FAILED(SHGetMalloc(&malloc_))) malloc_ = nullptr;
    }
    ShellMalloc(const ShellMalloc&) = delete;
    ShellMalloc& operator=(const ShellMalloc&) = delete;
    ~ShellMalloc() {
        if (malloc_) malloc_->Release();
    }
    IMalloc* get() const { return malloc_; }

private:
    IMalloc* malloc_ = nullptr;
};

// An item-identifier list, freed with the allocator that the shell gave out.
class IdList {
public:
    explicit IdList(IMalloc& malloc) : malloc_(malloc) {}
    IdList(const IdList&) = delete;
    IdList& operator=(const IdList&) = delete;
    ~IdList() {
        if (list_) malloc_.Free(list_);
    }
    PIDLIST_ABSOLUTE* out() { return &list_; }
    PIDLIST_ABSOLUTE get() const { return list_; }

private:
    IMalloc& malloc_;
    PIDLIST_ABSOLUTE list_ = nullptr;
};

}  // namespace

void Win32Shell::execute(WindowHandle owner, const std::optional<std::string>& verb, const std::string& file,
                         const std::string& parameters, const std::string& directory, int showCommand) {
    // A verb may be carried out by a shell extension, which is a COM object.
    com_.ensure();
    const std::wstring wideVerb = verb ? Wide(*verb) : std::wstring();
    const std::wstring wideFile = Wide(file);
    const std::wstring wideParameters = Wide(parameters);
    const std::wstring wideDirectory = Wide(directory);
    ShellExecuteW(reinterpret_cast<HWND>(owner), verb ? wideVerb.c_str() : nullptr, wideFile.c_str(),
                  parameters.empty() ? nullptr : wideParameters.c_str(),
                  directory.empty() ? nullptr : wideDirectory.c_str(), showCommand);
}

std::string Win32Shell::specialFolderPath(WindowHandle owner, int csidl) {
    ShellMalloc malloc;
    if (!malloc.get()) return {};
    IdList list(*malloc.get());
    SHGetSpecialFolderLocation(reinterpret_cast<HWND>(owner), csidl, list.out());
    // A folder that could not be located has no path; the shell is not handed a null list.
    if (!list.get()) return {};
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list.get(), path)) return {};
    return Narrow(path);
}

}  // namespace kivra::win32
