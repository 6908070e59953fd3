// The narrow set of system services the program uses. Portable code reaches Windows only
// through these interfaces; platform/win32 implements them with the real API, and
// platform/fake records every call for the native tests.
//
// Texts are UTF-8 here. The Win32 side converts at the edge (UTF-16 for the W functions,
// the ANSI code page for the private-profile service).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/IniDocument.h"

namespace kivra {

// An opaque window handle (an HWND on Windows). 0 means "no window".
using WindowHandle = std::uintptr_t;

struct Point {
    int x = 0;
    int y = 0;
};

// keybd_event and the key-name services.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // One key event: keybd_event(vk, scan, flags, 0).
    virtual void keyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) = 0;
    // MapVirtualKey(vk, MAPVK_VK_TO_VSC): 0 when the key has no scan code.
    virtual unsigned scanCodeOf(unsigned vk) = 0;
    // GetKeyNameText for a scan code (at most 255 characters).
    virtual std::string keyNameOfScanCode(unsigned scanCode) = 0;
};

// GetTickCount and Sleep.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t tickCount() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

// Other programs' top-level windows and plain window requests.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // FindWindow(className, NULL) != NULL: any title, visible or hidden.
    virtual bool classExists(const std::string& className) = 0;
    // FindWindow(NULL, title): whole title, letter case ignored; 0 when there is none.
    virtual WindowHandle findByTitle(const std::string& title) = 0;
    virtual void showWindow(WindowHandle window, int showCommand) = 0;
    virtual std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;
    virtual void setForeground(WindowHandle window) = 0;
    virtual Point cursorPos() = 0;
    // A message box with an error icon and an OK button; returns when the user closes it.
    virtual void errorBox(const std::string& title, const std::string& text) = 0;
};

// ShellExecute and the special folders.
class Shell {
public:
    virtual ~Shell() = default;
    // verb: std::nullopt passes NULL (the default verb); "" passes an empty text.
    virtual void execute(WindowHandle owner, const std::optional<std::string>& verb, const std::string& file,
                         const std::string& parameters, const std::string& directory, int showCommand) = 0;
    // SHGetMalloc, SHGetSpecialFolderLocation, SHGetPathFromIDList: "" when there is no path.
    virtual std::string specialFolderPath(WindowHandle owner, int csidl) = 0;
};

// Master volume of the default playback device, 0..65535 per channel.
class Audio {
public:
    virtual ~Audio() = default;
    // false when the device cannot be asked or has no volume control; outputs untouched then.
    virtual bool getVolume(std::uint16_t& left, std::uint16_t& right) = 0;
    virtual void setVolume(std::uint16_t left, std::uint16_t right) = 0;
};

// mciSendString without a return buffer.
class Mci {
public:
    virtual ~Mci() = default;
    virtual void sendString(const std::string& command, WindowHandle callbackWindow) = 0;
};

// Shutdown privilege, ExitWindowsEx and suspend/hibernate.
class Power {
public:
    virtual ~Power() = default;
    // OpenProcessToken + LookupPrivilegeValue(privilege) + AdjustTokenPrivileges.
    virtual void enablePrivilege(const std::string& privilegeName) = 0;
    virtual void exitWindows(unsigned flags) = 0;
    // Standby (hibernate = false) or hibernation (hibernate = true).
    virtual void suspend(bool hibernate, bool force) = 0;
};

enum class RegistryRoot { LocalMachine, CurrentUser };

enum class RegistryWrite { Ok, CreateKeyFailed, SetValueFailed };

class Registry {
public:
    virtual ~Registry() = default;
    // Creates the key if it is missing, then sets a REG_SZ value (NUL counted in its length).
    virtual RegistryWrite writeString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                                      const std::string& value) = 0;
    // Deletes a value; a missing key or value is no error.
    virtual void deleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) = 0;
    virtual std::optional<std::string> readString(RegistryRoot root, const std::string& keyPath,
                                                  const std::string& name) = 0;
};

// The private-profile (INI) service. A bare file name lives in the Windows directory.
class Profile {
public:
    virtual ~Profile() = default;
    // At most 2047 characters; surrounding blanks and one pair of quotes removed; missing -> fallback.
    virtual std::string readString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& fallback) = 0;
    // false when the service refuses the write.
    virtual bool writeString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // The whole file at once, read as readString reads it; empty when it is missing or cannot be
    // read. For readers of many values: the service opens and searches the file again on every
    // call, and a menu of a thousand items takes four thousand values.
    virtual IniDocument readFile(const std::string& file) = 0;
};

// Whole-file reading and writing, and where the executable lives.
class Files {
public:
    virtual ~Files() = default;
    virtual bool exists(const std::string& path) = 0;
    // The whole file as bytes; std::nullopt when it cannot be read.
    virtual std::optional<std::string> read(const std::string& path) = 0;
    struct WriteError {
        bool failed = false;
        bool createFailed = false;  // false: the file was created but writing it failed
        std::string reason;         // the system's text for the reason
    };
    // Replaces the file atomically: written beside it, then renamed over it.
    virtual WriteError writeAtomically(const std::string& path, const std::string& bytes) = 0;
    // Full path of the running executable, and its directory with a trailing separator.
    virtual std::string executablePath() = 0;
    virtual std::string executableDirectory() = 0;
};

// Notifications of a TCP socket, delivered on the user-interface thread as window messages.
class SocketEvents {
public:
    virtual ~SocketEvents() = default;
    virtual void onSocketConnect(int errorCode) = 0;
    virtual void onSocketRead(int errorCode) = 0;
    virtual void onSocketClose(int errorCode) = 0;
};

class TcpSocket {
public:
    virtual ~TcpSocket() = default;  // closes the socket without any notification
    // Registers for notifications and issues a non-blocking connect. 0 when the attempt is under
    // way (its outcome comes through onSocketConnect), else the platform's error code.
    virtual int connect(const std::string& dottedAddress, std::uint16_t port) = 0;
    // Appends every byte waiting to out. 0 on success (also when nothing waits), else the error code.
    virtual int receive(std::string& out) = 0;
};

class Network {
public:
    virtual ~Network() = default;
    // nullptr when no socket can be created.
    virtual std::unique_ptr<TcpSocket> createSocket(SocketEvents& events) = 0;
    // The platform's text for a socket error code.
    virtual std::string errorText(int code) = 0;
};

// The tray icon (Shell_NotifyIcon).
class Tray {
public:
    virtual ~Tray() = default;
    virtual void addIcon(WindowHandle window, unsigned id, unsigned callbackMessage, const std::string& tip) = 0;
    virtual void removeIcon(WindowHandle window, unsigned id) = 0;
};

// Marks of the program's milestones and counts of its events, for the benchmarks to read: when
// the first connection attempt went out, when the tray icon came, what each read brought.
// Off in everyday use, where a mark costs a test.
class Probe {
public:
    virtual ~Probe() = default;
    // One more occurrence of the event, carrying `amount` (bytes read, say); the probe keeps the
    // count, the sum, and the times of the first and the last occurrence.
    virtual void mark(const char* event, std::uint64_t amount = 1) = 0;
};

// Everything together; the program gets one of these.
struct Platform {
    Keyboard& keyboard;
    Clock& clock;
    WindowSystem& windows;
    Shell& shell;
    Audio& audio;
    Mci& mci;
    Power& power;
    Registry& registry;
    Profile& profile;
    Files& files;
    Network& network;
    Tray& tray;
    Probe& probe;
};

}  // namespace kivra
