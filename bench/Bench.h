// A small benchmark harness: each benchmark prints its figures, nothing is asserted. The heap
// counters come from the global operator new of this executable (BenchMain.cpp), so a
// benchmark can tell the memory that a piece of code holds at its peak.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kivra::bench {

struct Benchmark {
    const char* name;
    std::function<void()> run;
};

std::vector<Benchmark>& Registry();

struct Register {
    Register(const char* name, std::function<void()> run) { Registry().push_back({name, std::move(run)}); }
};

// Bytes allocated and not yet freed, and the most there were since the last ResetHeapPeak().
std::size_t HeapInUse();
std::size_t HeapPeak();
void ResetHeapPeak();

class Stopwatch {
public:
    Stopwatch() : start_(std::chrono::steady_clock::now()) {}
    double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_;
};

// One line of figures: the quantity, its value and its unit.
inline void Figure(const std::string& what, double value, const char* unit) {
    std::printf("  %-58s %14.2f %s\n", what.c_str(), value, unit);
}

}  // namespace kivra::bench
