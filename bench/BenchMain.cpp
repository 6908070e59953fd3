// The heap counters, and the entry point: Google Benchmark's flags, and bare words that choose
// the benchmarks whose name matches one of them (scripts/bench NAME-PART...).
#include <cstdlib>
#include <new>
#include <string>

#include "Bench.h"

namespace kivra::bench {
namespace {

// Each block carries its size in front, so the counters know what a delete gives back.
constexpr std::size_t kHeader = alignof(std::max_align_t);
std::size_t inUse = 0;
std::size_t peak = 0;

}  // namespace

std::size_t HeapInUse() { return inUse; }
std::size_t HeapPeak() { return peak; }
void ResetHeapPeak() { peak = inUse; }

}  // namespace kivra::bench

void* operator new(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kivra::bench::kHeader));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    kivra::bench::inUse += size;
    if (kivra::bench::inUse > kivra::bench::peak) kivra::bench::peak = kivra::bench::inUse;
    return block + kivra::bench::kHeader;
}

void operator delete(void* pointer) noexcept {
    if (!pointer) return;
    auto* block = static_cast<unsigned char*>(pointer) - kivra::bench::kHeader;
    kivra::bench::inUse -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { operator delete(pointer); }

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::string filter;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') {
            benchmark::ReportUnrecognizedArguments(argc, argv);
            return 1;
        }
        if (!filter.empty()) filter += '|';
        filter += argv[i];
    }
    if (filter.empty()) benchmark::RunSpecifiedBenchmarks();
    else benchmark::RunSpecifiedBenchmarks(filter);
    benchmark::Shutdown();
    return 0;
}
