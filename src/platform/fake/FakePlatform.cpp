#include "platform/fake/FakePlatform.h"

#include <algorithm>
#include <cctype>

namespace kivra::fake {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Without copies: the profile fake compares names for every read, and big menu files make
// many reads.
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string RootName(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? "HKLM" : "HKCU"; }

}  // namespace

void FakeKeyboard::keyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) {
    log_.push_back("keybd_event(" + std::to_string(vk) + "," + std::to_string(scan) + "," + std::to_string(flags) + ")");
}

unsigned FakeKeyboard::scanCodeOf(unsigned vk) {
    auto it = scanCodes.find(vk);
    return it == scanCodes.end() ? 0 : it->second;
}

std::string FakeKeyboard::keyNameOfScanCode(unsigned scanCode) {
    auto it = keyNames.find(scanCode);
    return it == keyNames.end() ? std::string() : it->second.substr(0, 255);
}

void FakeClock::sleep(std::uint32_t milliseconds) {
    log_.push_back("Sleep(" + std::to_string(milliseconds) + ")");
    now += milliseconds;
}

bool FakeWindowSystem::classExists(const std::string& className) {
    log_.push_back("FindWindowClass(" + className + ")");
    return classes.count(className) != 0;
}

WindowHandle FakeWindowSystem::findByTitle(const std::string& title) {
    log_.push_back("FindWindowTitle(" + title + ")");
    for (const auto& [existing, handle] : titles)
        if (SameIgnoringCase(existing, title)) return handle;
    return 0;
}

void FakeWindowSystem::showWindow(WindowHandle window, int showCommand) {
    log_.push_back("ShowWindow(" + std::to_string(window) + "," + std::to_string(showCommand) + ")");
}

std::intptr_t FakeWindowSystem::sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    log_.push_back("SendMessage(" + std::to_string(window) + "," + std::to_string(message) + "," +
                   std::to_string(wParam) + "," + std::to_string(lParam) + ")");
    return 0;
}

void FakeWindowSystem::setForeground(WindowHandle window) {
    log_.push_back("SetForegroundWindow(" + std::to_string(window) + ")");
}

void FakeWindowSystem::errorBox(const std::string& title, const std::string& text) {
    log_.push_back("MessageBox(" + title + "|" + text + ")");
    errorBoxes.push_back(text);
    if (onErrorBox) onErrorBox();
}

void FakeShell::execute(WindowHandle owner, const std::optional<std::string>& verb, const std::string& file,
                        const std::string& parameters, const std::string& directory, int showCommand) {
    log_.push_back("ShellExecute(" + std::to_string(owner) + "," + (verb ? "\"" + *verb + "\"" : "NULL") + "," +
                   file + "," + parameters + "," + directory + "," + std::to_string(showCommand) + ")");
}

std::string FakeShell::specialFolderPath(WindowHandle owner, int csidl) {
    log_.push_back("SpecialFolderPath(" + std::to_string(owner) + "," + std::to_string(csidl) + ")");
    auto it = folders.find(csidl);
    return it == folders.end() ? std::string() : it->second;
}

bool FakeAudio::getVolume(std::uint16_t& l, std::uint16_t& r) {
    log_.push_back("GetVolume");
    if (!hasVolumeControl) return false;
    l = left;
    r = right;
    return true;
}

void FakeAudio::setVolume(std::uint16_t l, std::uint16_t r) {
    log_.push_back("SetVolume(" + std::to_string(l) + "," + std::to_string(r) + ")");
    if (!hasVolumeControl) return;
    left = l;
    right = r;
}

void FakeMci::sendString(const std::string& command, WindowHandle callbackWindow) {
    log_.push_back("mciSendString(" + command + "," + std::to_string(callbackWindow) + ")");
}

void FakePower::enablePrivilege(const std::string& privilegeName) {
    log_.push_back("EnablePrivilege(" + privilegeName + ")");
}

void FakePower::exitWindows(unsigned flags) { log_.push_back("ExitWindowsEx(" + std::to_string(flags) + ")"); }

void FakePower::suspend(bool hibernate, bool force) {
    log_.push_back(std::string("Suspend(") + (hibernate ? "hibernate" : "standby") + "," + (force ? "force" : "") + ")");
}

RegistryWrite FakeRegistry::writeString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                                        const std::string& value) {
    const std::string where = RootName(root) + "\\" + keyPath + "\\" + name;
    log_.push_back("RegSetValue(" + where + "," + value + ")");
    auto failure = failures.find(root);
    if (failure != failures.end()) return failure->second;
    values[where] = value;
    return RegistryWrite::Ok;
}

void FakeRegistry::deleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) {
    const std::string where = RootName(root) + "\\" + keyPath + "\\" + name;
    log_.push_back("RegDeleteValue(" + where + ")");
    values.erase(where);
}

std::optional<std::string> FakeRegistry::readString(RegistryRoot root, const std::string& keyPath,
                                                    const std::string& name) {
    auto it = values.find(RootName(root) + "\\" + keyPath + "\\" + name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

const IniDocument* FakeProfile::find(const std::string& file) const {
    const auto found = files_.find(Lower(file));
    return found == files_.end() ? nullptr : &found->second;
}

std::string FakeProfile::readString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& fallback) {
    ++reads;
    const IniDocument* document = find(file);
    return document ? document->value(section, key, fallback) : fallback;
}

bool FakeProfile::writeString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& value) {
    log_.push_back("WritePrivateProfileString(" + file + "," + section + "," + key + "," + value + ")");
    if (readOnlyFiles.count(file)) return false;
    files_[Lower(file)].set(section, key, value);
    return true;
}

IniDocument FakeProfile::readFile(const std::string& file) {
    ++fileReads;
    const IniDocument* document = find(file);
    return document ? *document : IniDocument();
}

std::string FakeProfile::text(const std::string& file) const {
    const IniDocument* document = find(file);
    return document ? document->text() : std::string();
}

void FakeProfile::setText(const std::string& file, const std::string& text) {
    files_[Lower(file)] = IniDocument::Parse(text);
}

std::optional<std::string> FakeFiles::read(const std::string& path) {
    log_.push_back("ReadFile(" + path + ")");
    if (unreadable.count(path)) return std::nullopt;
    auto it = contents.find(path);
    if (it == contents.end()) return std::nullopt;
    return it->second;
}

Files::WriteError FakeFiles::writeAtomically(const std::string& path, const std::string& bytes) {
    log_.push_back("WriteFile(" + path + ")");
    auto failure = writeFailures.find(path);
    if (failure != writeFailures.end()) return failure->second;
    contents[path] = bytes;
    return {};
}

std::unique_ptr<TcpSocket> FakeNetwork::createSocket(SocketEvents& events) {
    log_.push_back("socket()");
    if (!canCreate) return nullptr;
    ++created;
    auto socket = std::make_unique<FakeSocket>(*this, events);
    last = socket.get();
    return socket;
}

FakeSocket::~FakeSocket() {
    network_.log_.push_back("closesocket()");
    if (network_.last == this) network_.last = nullptr;
}

int FakeSocket::connect(const std::string& dottedAddress, std::uint16_t p) {
    network_.log_.push_back("connect(" + dottedAddress + ":" + std::to_string(p) + ")");
    port = p;
    return network_.connectResult;
}

int FakeSocket::receive(std::string& out) {
    if (receiveError) return receiveError;
    out += pending;
    pending.clear();
    return 0;
}

void FakeTray::addIcon(WindowHandle window, unsigned id, unsigned callbackMessage, const std::string& tip) {
    log_.push_back("Shell_NotifyIcon(NIM_ADD," + std::to_string(window) + "," + std::to_string(id) + "," +
                   std::to_string(callbackMessage) + "," + tip + ")");
    present = true;
}

void FakeTray::removeIcon(WindowHandle window, unsigned id) {
    log_.push_back("Shell_NotifyIcon(NIM_DELETE," + std::to_string(window) + "," + std::to_string(id) + ")");
    present = false;
}

FakePlatform::FakePlatform()
    : platform{keyboard, clock, windows, shell, audio, mci, power, registry, profile, files, network, tray, probe} {}

std::vector<std::string> FakePlatform::calls(const std::string& prefix) const {
    std::vector<std::string> result;
    for (const std::string& line : log)
        if (line.rfind(prefix, 0) == 0) result.push_back(line);
    return result;
}

}  // namespace kivra::fake
