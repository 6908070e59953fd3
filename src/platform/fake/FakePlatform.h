// A recording fake of every platform service, for the native tests. Each call is appended to
// one shared log as a line such as "keybd_event(164,69,1)", so a test can pin down the exact
// calls and their order. The fake also keeps the state the logic relies on (the tick counter,
// windows that exist, files, registry values, INI sections, the volume).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kivra::fake {

using CallLog = std::vector<std::string>;

class FakeKeyboard : public Keyboard {
public:
    explicit FakeKeyboard(CallLog& log) : log_(log) {}
    void keyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
    unsigned scanCodeOf(unsigned vk) override;
    std::string keyNameOfScanCode(unsigned scanCode) override;
    std::map<unsigned, unsigned> scanCodes;      // vk -> scan code; missing: 0
    std::map<unsigned, std::string> keyNames;    // scan code -> name

private:
    CallLog& log_;
};

// Time stands still unless a test moves it; sleep() moves it and is logged.
class FakeClock : public Clock {
public:
    explicit FakeClock(CallLog& log) : log_(log) {}
    std::uint32_t tickCount() override { return now; }
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t now = 1000;

private:
    CallLog& log_;
};

class FakeWindowSystem : public WindowSystem {
public:
    explicit FakeWindowSystem(CallLog& log) : log_(log) {}
    bool classExists(const std::string& className) override;
    WindowHandle findByTitle(const std::string& title) override;
    void showWindow(WindowHandle window, int showCommand) override;
    std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    void setForeground(WindowHandle window) override;
    Point cursorPos() override { return cursor; }
    void errorBox(const std::string& title, const std::string& text) override;

    std::set<std::string> classes;                 // classes of existing top-level windows
    std::map<std::string, WindowHandle> titles;    // title -> window (matched ignoring ASCII case)
    Point cursor{100, 200};
    std::vector<std::string> errorBoxes;           // texts shown, in order
    std::function<void()> onErrorBox;              // runs while the box is "open"

private:
    CallLog& log_;
};

class FakeShell : public Shell {
public:
    explicit FakeShell(CallLog& log) : log_(log) {}
    void execute(WindowHandle owner, const std::optional<std::string>& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showCommand) override;
    std::string specialFolderPath(WindowHandle owner, int csidl) override;
    std::map<int, std::string> folders;  // csidl -> path; missing: ""

private:
    CallLog& log_;
};

class FakeAudio : public Audio {
public:
    explicit FakeAudio(CallLog& log) : log_(log) {}
    bool getVolume(std::uint16_t& left, std::uint16_t& right) override;
    void setVolume(std::uint16_t left, std::uint16_t right) override;
    bool hasVolumeControl = true;
    std::uint16_t left = 0;
    std::uint16_t right = 0;

private:
    CallLog& log_;
};

class FakeMci : public Mci {
public:
    explicit FakeMci(CallLog& log) : log_(log) {}
    void sendString(const std::string& command, WindowHandle callbackWindow) override;

private:
    CallLog& log_;
};

// Never powers anything off: it only records.
class FakePower : public Power {
public:
    explicit FakePower(CallLog& log) : log_(log) {}
    void enablePrivilege(const std::string& privilegeName) override;
    void exitWindows(unsigned flags) override;
    void suspend(bool hibernate, bool force) override;

private:
    CallLog& log_;
};

class FakeRegistry : public Registry {
public:
    explicit FakeRegistry(CallLog& log) : log_(log) {}
    RegistryWrite writeString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                              const std::string& value) override;
    void deleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) override;
    std::optional<std::string> readString(RegistryRoot root, const std::string& keyPath,
                                          const std::string& name) override;
    // Roots on which a write fails, and how.
    std::map<RegistryRoot, RegistryWrite> failures;
    std::map<std::string, std::string> values;  // "HKLM\\key\\name" -> data

private:
    CallLog& log_;
};

// Emulates the private-profile service's rules: case-insensitive names, trimmed values with
// one pair of quotes removed, at most 2047 characters, keys appended at the end of a section.
class FakeProfile : public Profile {
public:
    explicit FakeProfile(CallLog& log) : log_(log) {}
    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    IniDocument readFile(const std::string& file) override;
    // The file's text as the service would write it (CR LF line ends).
    std::string text(const std::string& file) const;
    // Puts a whole file in place (any line ends).
    void setText(const std::string& file, const std::string& text);
    std::set<std::string> readOnlyFiles;  // writes to these fail
    int reads = 0;      // values read one by one
    int fileReads = 0;  // whole files read

private:
    const IniDocument* find(const std::string& file) const;
    std::map<std::string, IniDocument> files_;  // by lower-case name
    CallLog& log_;
};

class FakeFiles : public Files {
public:
    explicit FakeFiles(CallLog& log) : log_(log) {}
    bool exists(const std::string& path) override { return contents.count(path) != 0; }
    std::optional<std::string> read(const std::string& path) override;
    WriteError writeAtomically(const std::string& path, const std::string& bytes) override;
    std::string executablePath() override { return directory + "Kivra.exe"; }
    std::string executableDirectory() override { return directory; }

    std::string directory = "C:\\Kivra\\";
    std::map<std::string, std::string> contents;
    std::set<std::string> unreadable;
    std::map<std::string, WriteError> writeFailures;

private:
    CallLog& log_;
};

class FakeSocket;

// Sockets whose outcome a test decides: connect() answers with connectResult; the test then
// delivers notifications with completeConnect(), deliver() and so on.
class FakeNetwork : public Network {
public:
    explicit FakeNetwork(CallLog& log) : log_(log) {}
    std::unique_ptr<TcpSocket> createSocket(SocketEvents& events) override;
    std::string errorText(int code) override { return "error text " + std::to_string(code); }

    bool canCreate = true;
    int connectResult = 0;
    FakeSocket* last = nullptr;  // the newest socket still alive
    int created = 0;

private:
    friend class FakeSocket;
    CallLog& log_;
};

class FakeSocket : public TcpSocket {
public:
    FakeSocket(FakeNetwork& network, SocketEvents& events) : network_(network), events_(events) {}
    ~FakeSocket() override;
    int connect(const std::string& dottedAddress, std::uint16_t port) override;
    int receive(std::string& out) override;

    // Test side.
    void completeConnect(int errorCode = 0) { events_.onSocketConnect(errorCode); }
    void deliver(const std::string& bytes) { pending += bytes; events_.onSocketRead(0); }
    void readError(int errorCode) { events_.onSocketRead(errorCode); }  // a data notification with an error
    void closeByPeer(int errorCode = 0) { events_.onSocketClose(errorCode); }
    std::string pending;
    int receiveError = 0;
    std::uint16_t port = 0;

private:
    FakeNetwork& network_;
    SocketEvents& events_;
};

class FakeTray : public Tray {
public:
    explicit FakeTray(CallLog& log) : log_(log) {}
    void addIcon(WindowHandle window, unsigned id, unsigned callbackMessage, const std::string& tip) override;
    void removeIcon(WindowHandle window, unsigned id) override;
    bool present = false;

private:
    CallLog& log_;
};

// Counts the marks by event, outside the call log: they are no calls to the system.
class FakeProbe : public Probe {
public:
    void mark(const char* event, std::uint64_t amount) override {
        ++counts[event];
        sums[event] += amount;
    }
    std::map<std::string, std::uint64_t> counts, sums;
};

// All fakes with one log, and the Platform that refers to them.
struct FakePlatform {
    FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    CallLog log;
    FakeKeyboard keyboard{log};
    FakeClock clock{log};
    FakeWindowSystem windows{log};
    FakeShell shell{log};
    FakeAudio audio{log};
    FakeMci mci{log};
    FakePower power{log};
    FakeRegistry registry{log};
    FakeProfile profile{log};
    FakeFiles files{log};
    FakeNetwork network{log};
    FakeTray tray{log};
    FakeProbe probe;
    Platform platform;

    // The log lines that start with prefix, in order.
    std::vector<std::string> calls(const std::string& prefix) const;
};

}  // namespace kivra::fake
