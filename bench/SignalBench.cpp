// How fast WinLIRC's lines go through the link and the reception, and what reception holds
// when a peer sends bytes without a line end or plain garbage.
#include <algorithm>
#include <cstdint>

#include "Bench.h"

namespace kivra::bench {
namespace {

using benchmark::Counter;

constexpr std::size_t kStreamLines = 1000;

// Framing, parsing and routing, in reads of range(0) bytes (35: one line per read); dispatch
// only counts.
void Reception(benchmark::State& state) {
    const std::string stream = Lines(kStreamLines);
    const std::vector<std::string> reads = Reads(stream, static_cast<std::size_t>(state.range(0)));
    Rig rig;
    for (auto _ : state) {
        for (const std::string& read : reads) {
            rig.reception.receive(read);
            rig.fake.clock.now += 1;
            rig.forgetRecords();
        }
    }
    state.SetItemsProcessed(state.iterations() * kStreamLines);
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(Reception)->ArgName("read_bytes")->Arg(1)->Arg(kLine.size())->Arg(4096)->Unit(benchmark::kMicrosecond);

// A flood: 10,000 lines a second, each read holding 10 ms of lines, through the
// link, the gap and the table, where the line's button types Ctrl+C on the fake keyboard and
// waits the key delay on the fake clock.
void Flood(benchmark::State& state) {
    constexpr int kLinesPerRead = 100, kMsPerRead = 10;
    Rig rig;
    rig.dispatchToTable = true;
    rig.grid.setCell(kFirstUserKeyRow, 0, "Ctrl+C");
    rig.grid.setCell(kFirstUserKeyRow, 1, "VOL_UP");
    rig.link.setActive(true);
    rig.fake.network.last->completeConnect();
    const std::string read = Lines(kLinesPerRead);
    rig.releaseRecords();
    const HeapWatch heap;
    for (auto _ : state) {
        rig.fake.network.last->deliver(read);
        rig.fake.clock.now += kMsPerRead;
        rig.forgetRecords();
    }
    rig.releaseRecords();
    const double lines = static_cast<double>(state.iterations()) * kLinesPerRead;
    state.SetItemsProcessed(static_cast<std::int64_t>(lines));
    state.SetBytesProcessed(static_cast<std::int64_t>(lines * kLine.size()));
    state.counters["x_flood"] = Counter(lines / 10000, Counter::kIsRate);  // capacity / the flood's rate
    state.counters["dispatched"] = static_cast<double>(rig.dispatched);  // each dropped repeat restarts the gap
    state.counters["heap_peak_bytes"] = heap.peak();
    state.counters["heap_growth_bytes"] = heap.held();
}
BENCHMARK(Flood)->Unit(benchmark::kMicrosecond);

// 64 KB reads without a line end: the framer drops what goes beyond its cap, and the good
// line sent afterwards is still shown.
void NoLineEnd(benchmark::State& state) {
    const std::string chunk(65536, 'x');
    Rig rig;
    const HeapWatch heap;
    for (auto _ : state) rig.reception.receive(chunk);
    state.SetBytesProcessed(state.iterations() * chunk.size());
    state.counters["heap_peak_bytes"] = heap.peak();
    state.counters["framer_cap_bytes"] = LineFramer::kMaxPartial;
    rig.reception.receive("\n" + std::string(kLine));
    state.counters["good_lines_shown"] = static_cast<double>(rig.shown);
}
BENCHMARK(NoLineEnd)->Unit(benchmark::kMicrosecond);

// The framer alone, fed runs of every size up to 64 KB without a line end.
void FramerRuns(benchmark::State& state) {
    const std::string chunk(65536, 'x');
    LineFramer framer;
    std::size_t size = 1, bytes = 0, mostPending = 0;
    const HeapWatch heap;
    for (auto _ : state) {
        const std::string_view run = std::string_view(chunk).substr(0, size);
        benchmark::DoNotOptimize(framer.push(run));
        bytes += run.size();
        mostPending = std::max(mostPending, framer.pending());
        size = size * 2 % 131071 + 1;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["most_pending_bytes"] = static_cast<double>(mostPending);
    state.counters["heap_peak_bytes"] = heap.peak();
}
BENCHMARK(FramerRuns);

// 1 MB of random bytes, NUL included, in 4096-byte reads, as a broken or hostile peer would
// send them; the counts are per MB.
void RandomBytes(benchmark::State& state) {
    std::string bytes(1 << 20, '\0');
    std::uint32_t seed = 12345;
    for (char& c : bytes) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    const std::vector<std::string> reads = Reads(bytes, 4096);
    Rig rig;
    rig.releaseRecords();
    const HeapWatch heap;
    for (auto _ : state) {
        for (const std::string& read : reads) {
            rig.reception.receive(read);
            rig.fake.clock.now += 1;
            rig.forgetRecords();
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["line_ends"] = static_cast<double>(std::count(bytes.begin(), bytes.end(), '\n'));
    state.counters["shown"] = Counter(static_cast<double>(rig.shown), Counter::kAvgIterations);
    state.counters["dispatched"] = Counter(static_cast<double>(rig.dispatched), Counter::kAvgIterations);
    state.counters["heap_peak_bytes"] = heap.peak();
}
BENCHMARK(RandomBytes)->Unit(benchmark::kMillisecond);

// The server resets the connection in the middle of a line, then comes back: one iteration
// is one connection with 20 whole lines and half a line. In setup mode every line counts,
// whatever the gap, so "shown" tells that every whole line arrives and the half one is dropped.
void ServerComesAndGoes(benchmark::State& state) {
    constexpr int kLinesPerCycle = 20;
    const std::string lines = Lines(kLinesPerCycle);
    const std::string halfLine(kLine.substr(0, 20));
    Rig rig;
    rig.setupMode = true;
    rig.releaseRecords();
    const HeapWatch heap;
    for (auto _ : state) {
        rig.link.setActive(true);
        rig.fake.network.last->completeConnect();
        rig.fake.network.last->deliver(lines);
        rig.fake.network.last->deliver(halfLine);
        rig.fake.network.last->closeByPeer(10054);
        rig.forgetRecords();
    }
    rig.releaseRecords();
    state.SetItemsProcessed(state.iterations() * kLinesPerCycle);
    state.counters["shown"] = Counter(static_cast<double>(rig.shown), Counter::kAvgIterations);
    state.counters["sockets"] = Counter(rig.fake.network.created, Counter::kAvgIterations);
    state.counters["heap_growth_bytes"] = heap.held();
}
BENCHMARK(ServerComesAndGoes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kivra::bench
