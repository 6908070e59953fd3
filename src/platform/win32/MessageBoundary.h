// The message boundary: every handler that a window procedure calls runs inside Guarded, so a
// failure is shown by the program's error report and never unwinds into Windows.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace kivra::win32 {

void SetFailureReporter(std::function<void(const std::string&)> reporter);
void ReportFailure(const std::string& message);

// Runs the handler; true when it finished, false when it failed (the failure has been reported).
template <typename Handler>
bool Guarded(Handler&& handler) noexcept {
    try {
        handler();
        return true;
    } catch (const std::exception& failure) {
        ReportFailure(failure.what());
    } catch (...) {
        ReportFailure("Unknown failure");
    }
    return false;
}

}  // namespace kivra::win32
