#include "platform/win32/Win32Probe.h"

#include <psapi.h>

#include <cstdio>

#include "platform/win32/Handles.h"

namespace kivra::win32 {
namespace {

std::int64_t Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

std::uint64_t Hundreds(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void AppendLine(std::string& text, const char* format, auto... values) {
    char line[256];
    const int length = std::snprintf(line, sizeof line, format, values...);
    if (length > 0) text.append(line, static_cast<std::size_t>(length) < sizeof line ? length : sizeof line - 1);
}

}  // namespace

Win32Probe::Win32Probe() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"KIVRA_PROBE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    reportPath_.assign(path, length);
    reportMessage_ = RegisterWindowMessageW(L"KivraProbeReport");
}

void Win32Probe::mark(const char* event, std::uint64_t amount) {
    if (!enabled()) return;
    const std::int64_t now = Now();
    Tally& tally = tallies_[event];
    if (tally.count++ == 0) tally.first = now;
    tally.last = now;
    tally.sum += amount;
}

void Win32Probe::observe(const MSG& message) {
    if (!enabled()) return;
    mark("message");
    if (message.message == WM_TIMER) mark("timer");
    if (message.message == reportMessage_) writeReport();
}

// One line per event: "event count sum first last", the times in performance-counter units;
// then the frequency, and the process's memory and processor time as Windows reports them.
void Win32Probe::writeReport() const {
    std::string text;
    for (const auto& [event, tally] : tallies_)
        AppendLine(text, "event %s %llu %llu %lld %lld\n", event.c_str(), static_cast<unsigned long long>(tally.count),
                   static_cast<unsigned long long>(tally.sum), static_cast<long long>(tally.first),
                   static_cast<long long>(tally.last));
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    AppendLine(text, "frequency %lld\n", static_cast<long long>(frequency.QuadPart));
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        AppendLine(text, "memory %lu %lu %lu\n", static_cast<unsigned long>(memory.WorkingSetSize),
                   static_cast<unsigned long>(memory.PeakWorkingSetSize), static_cast<unsigned long>(memory.PrivateUsage));
    FILETIME created, ended, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user))
        AppendLine(text, "cpu %llu %llu\n", static_cast<unsigned long long>(Hundreds(user)),
                   static_cast<unsigned long long>(Hundreds(kernel)));
    text += "end\n";  // the reader knows the report is whole

    UniqueFile file(CreateFileW(reportPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace kivra::win32
