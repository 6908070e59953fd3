#include "platform/win32/Win32Power.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace kivra::win32 {
namespace {

class OwnedHandle {
public:
    OwnedHandle() = default;
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() {
        if (handle_) CloseHandle(handle_);
    }
    HANDLE* out() { return &handle_; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

class OwnedLibrary {
public:
    explicit OwnedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
    OwnedLibrary(const OwnedLibrary&) = delete;
    OwnedLibrary& operator=(const OwnedLibrary&) = delete;
    ~OwnedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    template <class Function>
    Function find(const char* name) const {
        return module_ ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
    }

private:
    HMODULE module_;
};

using SetSuspendStateFunction = BOOLEAN(WINAPI*)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeupEventsDisabled);
using SetSystemPowerStateFunction = BOOL(WINAPI*)(BOOL suspend, BOOL force);

}  // namespace

// The results are not looked at: without the privilege the power request itself fails.
void Win32Power::enablePrivilege(const std::string& privilegeName) {
    OwnedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.out())) return;
    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueW(nullptr, Wide(privilegeName).c_str(), &privileges.Privileges[0].Luid)) return;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

void Win32Power::exitWindows(unsigned flags) { ExitWindowsEx(flags, 0); }

// Current Windows honours SetSuspendState (powrprof.dll); SetSystemPowerState is what older
// systems offer and is only a stub on newer ones. Both are looked up at run time so the
// program starts wherever either is missing.
void Win32Power::suspend(bool hibernate, bool force) {
    const OwnedLibrary powrprof(L"powrprof.dll");
    if (auto setSuspendState = powrprof.find<SetSuspendStateFunction>("SetSuspendState")) {
        setSuspendState(hibernate ? TRUE : FALSE, force ? TRUE : FALSE, FALSE);
        return;
    }
    const OwnedLibrary kernel32(L"kernel32.dll");
    if (auto setSystemPowerState = kernel32.find<SetSystemPowerStateFunction>("SetSystemPowerState"))
        setSystemPowerState(hibernate ? FALSE : TRUE, force ? TRUE : FALSE);
}

}  // namespace kivra::win32
