#include "platform/win32/MessageBoundary.h"

namespace kivra::win32 {

namespace {
std::function<void(const std::string&)>& reporter() {
    static std::function<void(const std::string&)> instance;
    return instance;
}
}  // namespace

void SetFailureReporter(std::function<void(const std::string&)> reporter_) {
    reporter() = std::move(reporter_);
}

void ReportFailure(const std::string& message) {
    // The report may open a message box (a nested message loop); a failure inside the report
    // itself has nowhere left to go and is dropped.
    try {
        if (reporter()) reporter()(message);
    } catch (...) {
    }
}

}  // namespace kivra::win32
