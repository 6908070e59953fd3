// What happens to the bytes WinLIRC sends: cut into lines, each line parsed, shown, then
// captured in setup mode or gated (Light Alloy, minimum gap) and dispatched.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace kivra {

struct Signal {
    std::string code, repeat, button, remote;
};

// The four blank-separated fields; the remote name loses its last character (the line end).
Signal ParseSignal(const std::string& line);
// A line carries a button only when it holds at least three blanks and its button name is not
// empty. Other lines (WinLIRC's "BEGIN", "SIGHUP", "END") are ignored entirely.
bool CarriesButton(const std::string& line);
// elapsed = now - last, modulo 2^32, read as signed; true when strictly above the gap.
bool GapPassed(std::uint32_t now, std::uint32_t last, std::int32_t gap);

// Cuts received bytes into lines at LF (LF kept). A line that grows beyond kMaxPartial bytes
// before its LF is dropped whole, up to and including its LF, so memory stays bounded.
class LineFramer {
public:
    static constexpr std::size_t kMaxPartial = 1024;
    std::vector<std::string> push(std::string_view bytes);
    std::size_t pending() const { return partial_.size(); }
    void reset();  // forgets the incomplete line

private:
    std::string partial_;
    bool discarding_ = false;
};

struct ReceptionContext {
    std::function<bool()> setupMode;        // "Режим настройки"
    std::function<bool()> lightAlloyGate;   // "Не обрабатывать команды при запущенном Light Alloy"
    std::function<void(const std::string&)> showLastCommand;  // status bar panel 1
    std::function<void(const std::string&)> assignButton;
    std::function<void(const std::string&)> processCommands;
};

class SignalReception {
public:
    SignalReception(Platform& platform, ReceptionContext context);
    // One read's bytes (as received: code page 1251): every complete line is one signal,
    // handled in arrival order, also when a line's actions let further reads in (the remote
    // menu's modal loop). When a line's handling throws, the lines queued behind it are dropped
    // and the error propagates.
    void receive(const std::string& bytes);
    // One signal line, already decoded to UTF-8, through parse, show, route and gap.
    void handleLine(const std::string& line);
    // A new connection starts a new stream: the incomplete line of the previous one is dropped,
    // or it would be glued to the first line of the new one. Call on ClientSocket1Connect.
    void restartStream();

    std::int32_t minimumGap = 100;      // ms, written by sSpinEdit2Change
    std::uint32_t lastSignalTime = 0;   // tick count at the end of the last timed signal

private:
    Platform& platform_;
    ReceptionContext context_;
    LineFramer framer_;
    std::deque<std::string> queued_;  // complete lines not yet handled, oldest first
};

}  // namespace kivra
