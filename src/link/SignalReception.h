// What happens to the bytes WinLIRC sends: cut into lines, each line parsed, shown, then
// captured in setup mode or gated (Light Alloy, minimum gap) and dispatched.
#pragma once

#include <cstdint>
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
// A line carries a button only when it holds at least three blanks.
bool CarriesButton(const std::string& line);
// elapsed = now - last, modulo 2^32, read as signed; true when strictly above the gap.
bool GapPassed(std::uint32_t now, std::uint32_t last, std::int32_t gap);

// Cuts received bytes into lines at LF (LF kept). A partial line longer than kMaxPartial
// bytes is dropped, so memory stays bounded.
class LineFramer {
public:
    static constexpr std::size_t kMaxPartial = 1024;
    std::vector<std::string> push(std::string_view bytes);
    std::size_t pending() const { return partial_.size(); }

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
    // One read's bytes (as received: code page 1251): every complete line is one signal.
    void receive(const std::string& bytes);
    // One signal line, through parse, show, route and gap.
    void handleLine(const std::string& line);

    std::int32_t minimumGap = 100;      // ms, written by sSpinEdit2Change
    std::uint32_t lastSignalTime = 0;   // tick count at the end of the last timed signal

private:
    Platform& platform_;
    ReceptionContext context_;
    LineFramer framer_;
};

}  // namespace kivra
