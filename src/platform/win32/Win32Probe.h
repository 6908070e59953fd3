// The probe that the benchmarks read. It is on only when the environment variable KIVRA_PROBE
// names a report file; the benchmark then posts the registered message "KivraProbeReport" to
// the main window, and the probe writes what it has seen so far into that file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Probe : public Probe {
public:
    Win32Probe();
    bool enabled() const { return !reportPath_.empty(); }
    void mark(const char* event, std::uint64_t amount = 1) override;
    // Counts every message the main loop takes (and the retry timer's ticks among them); the
    // report request writes the report.
    void observe(const MSG& message);

private:
    struct Tally {
        std::uint64_t count = 0;
        std::uint64_t sum = 0;
        std::int64_t first = 0;  // performance counter
        std::int64_t last = 0;
    };
    void writeReport() const;

    std::wstring reportPath_;
    UINT reportMessage_ = 0;
    std::map<std::string, Tally> tallies_;
};

}  // namespace kivra::win32
