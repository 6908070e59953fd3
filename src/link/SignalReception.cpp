#include "link/SignalReception.h"

#include <algorithm>
#include <utility>

#include "platform/TextCodec.h"

namespace kivra {
namespace {

// Takes the text before the first blank as a field and removes it with its blank; without a
// blank the field is empty and nothing is removed.
std::string TakeField(std::string& rest) {
    const size_t blank = rest.find(' ');
    if (blank == std::string::npos) return {};
    std::string field = rest.substr(0, blank);
    rest.erase(0, blank + 1);
    return field;
}

constexpr char kLightAlloyClass[] = "LightAlloyFront";

}  // namespace

Signal ParseSignal(const std::string& line) {
    Signal signal;
    std::string rest = line;
    signal.code = TakeField(rest);
    signal.repeat = TakeField(rest);
    signal.button = TakeField(rest);
    if (!rest.empty()) rest.pop_back();  // the line end
    signal.remote = std::move(rest);
    return signal;
}

bool CarriesButton(const std::string& line) {
    if (std::count(line.begin(), line.end(), ' ') < 3) return false;
    // Capturing an empty name in setup mode would silently erase the selected row's binding.
    return !ParseSignal(line).button.empty();
}

bool GapPassed(std::uint32_t now, std::uint32_t last, std::int32_t gap) {
    // Modulo 2^32 and signed, so the tick counter returning to 0 does not disturb the test.
    const auto elapsed = static_cast<std::int32_t>(now - last);
    return elapsed > gap;
}

std::vector<std::string> LineFramer::push(std::string_view bytes) {
    std::vector<std::string> lines;
    for (const char c : bytes) {
        if (discarding_) {
            if (c == '\n') discarding_ = false;
            continue;
        }
        partial_ += c;
        if (c == '\n') {
            lines.push_back(std::move(partial_));
            partial_.clear();
        } else if (partial_.size() > kMaxPartial) {
            // No WinLIRC line is this long: drop it up to its line end.
            partial_.clear();
            partial_.shrink_to_fit();
            discarding_ = true;
        }
    }
    return lines;
}

void LineFramer::reset() {
    partial_.clear();
    discarding_ = false;
}

SignalReception::SignalReception(Platform& platform, ReceptionContext context)
    : platform_(platform), context_(std::move(context)) {}

void SignalReception::receive(const std::string& bytes) {
    for (std::string& line : framer_.push(bytes)) queued_.push_back(std::move(line));
    // One queue for all nesting levels: a read that arrives while an earlier line's actions run
    // (the remote menu is open) handles the earlier lines first, so keys reach the menu in order.
    while (!queued_.empty()) {
        const std::string line = Utf8FromCp1251(queued_.front());
        queued_.pop_front();
        try {
            handleLine(line);
        } catch (...) {
            // The lines that came with the failed one are not run after the error report.
            queued_.clear();
            throw;
        }
    }
}

void SignalReception::restartStream() { framer_.reset(); }

void SignalReception::handleLine(const std::string& line) {
    if (!CarriesButton(line)) return;
    platform_.probe.mark("signal");
    const Signal signal = ParseSignal(line);
    if (context_.showLastCommand)
        context_.showLastCommand("Последняя команда: " + signal.remote + "->" + signal.button);

    if (context_.setupMode && context_.setupMode()) {
        if (context_.assignButton) context_.assignButton(signal.button);
        return;
    }
    if (context_.lightAlloyGate && context_.lightAlloyGate() && platform_.windows.classExists(kLightAlloyClass))
        return;

    if (GapPassed(platform_.clock.tickCount(), lastSignalTime, minimumGap) && context_.processCommands) {
        platform_.probe.mark("dispatch");
        context_.processCommands(signal.button);
    }
    // The gap counts from the end of this handling, so time spent in the actions is not part of it.
    lastSignalTime = platform_.clock.tickCount();
}

}  // namespace kivra
