#include "platform/win32/Win32Power.h"

#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace kivra::win32 {
namespace {

// A function of a library loaded at run time; null when the library or the function is missing.
template <class Function>
Function FindFunction(const UniqueModule& library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
}

using SetSuspendStateFunction = BOOLEAN(WINAPI*)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeupEventsDisabled);
using SetSystemPowerStateFunction = BOOL(WINAPI*)(BOOL suspend, BOOL force);

}  // namespace

// The results are not looked at: without the privilege the power request itself fails.
void Win32Power::enablePrivilege(const std::string& privilegeName) {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) return;
    const UniqueKernelHandle token(opened);
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
    const UniqueModule powrprof(LoadLibraryW(L"powrprof.dll"));
    if (auto setSuspendState = FindFunction<SetSuspendStateFunction>(powrprof, "SetSuspendState")) {
        setSuspendState(hibernate ? TRUE : FALSE, force ? TRUE : FALSE, FALSE);
        return;
    }
    const UniqueModule kernel32(LoadLibraryW(L"kernel32.dll"));
    if (auto setSystemPowerState = FindFunction<SetSystemPowerStateFunction>(kernel32, "SetSystemPowerState"))
        setSystemPowerState(hibernate ? FALSE : TRUE, force ? TRUE : FALSE);
}

}  // namespace kivra::win32
