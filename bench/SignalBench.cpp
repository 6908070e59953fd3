// How fast WinLIRC's lines go through reception and dispatch, and what the framer holds when
// a peer sends bytes without a line end.
#include <cstdint>
#include <string>

#include "Bench.h"
#include "actions/KivraUtils.h"
#include "bindings/BindingTable.h"
#include "link/SignalReception.h"
#include "link/WinLircLink.h"
#include "platform/fake/FakePlatform.h"

namespace kivra::bench {
namespace {

const std::string kLine = "0000000000f40bf0 00 VOL_UP RM-D420\n";

std::string Lines(std::size_t count) {
    std::string text;
    text.reserve(count * kLine.size());
    for (std::size_t i = 0; i < count; ++i) text += kLine;
    return text;
}

// A reception that only counts: lines shown, and lines dispatched outside setup mode.
ReceptionContext Counting(std::size_t& shown, std::size_t* dispatched, bool setupMode = false) {
    return ReceptionContext{
        [setupMode] { return setupMode; },
        [] { return false; },
        [&shown](const std::string&) { ++shown; },
        [](const std::string&) {},
        [dispatched](const std::string&) {
            if (dispatched) ++*dispatched;
        },
    };
}

// Lines through framing, parsing and routing; dispatch only counts.
void ReceptionThroughput() {
    constexpr std::size_t kLines = 500000;
    const std::string stream = Lines(kLines);
    fake::FakePlatform fake;
    std::size_t shown = 0, dispatched = 0;
    SignalReception reception(fake.platform, Counting(shown, &dispatched));
    const Stopwatch watch;
    for (std::size_t at = 0; at < stream.size(); at += 4096) {
        reception.receive(stream.substr(at, 4096));
        fake.clock.now += 1;
    }
    const double seconds = watch.seconds();
    Figure("lines sent", kLines, "lines");
    Figure("bytes sent (4096-byte reads)", static_cast<double>(stream.size()), "bytes");
    Figure("signals shown", static_cast<double>(shown), "signals");
    Figure("signals dispatched (gap 100 ms)", static_cast<double>(dispatched), "signals");
    Figure("time", seconds * 1000, "ms");
    Figure("throughput", kLines / seconds, "lines/s");
    Figure("throughput", stream.size() / seconds / 1e6, "MB/s");
}

class Handlers : public LinkHandlers {
public:
    WinLircLink* link = nullptr;
    SignalReception* reception = nullptr;
    void ClientSocket1Lookup() override {}
    void ClientSocket1Connecting() override {}
    void ClientSocket1Connect() override { reception->restartStream(); }
    void ClientSocket1Disconnect() override {}
    void ClientSocket1Error(SocketErrorKind, int) override {}
    void ClientSocket1Read() override { reception->receive(link->receiveText()); }
};

// The flood of issue 6 on the fake: 10,000 lines a second for 10 seconds, each read holding
// 10 ms of lines, through the link, the gap and the binding table (a user key row bound to
// the button types Ctrl+C on the fake keyboard, waiting the key delay on the fake clock).
void FloodThroughLinkAndTable() {
    constexpr int kSeconds = 10, kLinesPerSecond = 10000, kReadsPerSecond = 100;
    fake::FakePlatform fake;
    KivraUtils utils(fake.platform);
    ui::Grid grid("StringGrid1", nullptr, {}, kBindingRows, 2);
    BindingTable table(grid, utils, RowSeams{[] {}, [] {}, [] { return WindowHandle{0}; }});
    table.WriteLabels();
    grid.setCell(25, 0, "Ctrl+C");
    grid.setCell(25, 1, "VOL_UP");
    Handlers handlers;
    WinLircLink link(fake.network, handlers);
    std::size_t dispatched = 0;
    SignalReception reception(fake.platform, ReceptionContext{
                                                 [] { return false; },
                                                 [] { return false; },
                                                 [](const std::string&) {},
                                                 [](const std::string&) {},
                                                 [&](const std::string& button) {
                                                     ++dispatched;
                                                     table.ProcessCommands(button);
                                                 },
                                             });
    handlers.link = &link;
    handlers.reception = &reception;
    link.setActive(true);
    fake.network.last->completeConnect();

    const std::string read = Lines(kLinesPerSecond / kReadsPerSecond);
    fake.log.clear();
    fake.log.shrink_to_fit();
    const std::size_t heapBefore = HeapInUse();
    ResetHeapPeak();
    const Stopwatch watch;
    for (int i = 0; i < kSeconds * kReadsPerSecond; ++i) {
        fake.network.last->deliver(read);
        fake.clock.now += 1000 / kReadsPerSecond;
        fake.log.clear();  // the fake's record of the calls is no memory of the program
    }
    const double seconds = watch.seconds();
    const std::size_t peak = HeapPeak();
    fake.log.shrink_to_fit();
    const double lines = static_cast<double>(kSeconds) * kLinesPerSecond;
    Figure("lines sent (10,000/s for 10 s of fake time)", lines, "lines");
    Figure("bytes sent", lines * kLine.size(), "bytes");
    Figure("signals dispatched (gap 100 ms, key delay 100 ms)", static_cast<double>(dispatched), "signals");
    Figure("wall time to handle them", seconds * 1000, "ms");
    Figure("heap before", static_cast<double>(heapBefore), "bytes");
    Figure("peak heap during the flood", static_cast<double>(peak), "bytes");
    Figure("heap after", static_cast<double>(HeapInUse()), "bytes");
    Figure("capacity", lines / seconds, "lines/s");
    Figure("capacity as a multiple of the flood", lines / seconds / kLinesPerSecond, "x");
}

// 10 MB without a line end, then one good line: the framer's memory stays at its cap and the
// good line still arrives.
void TenMegabytesWithoutLineEnd() {
    constexpr std::size_t kBytes = 10 * 1024 * 1024;
    const std::string chunk(65536, 'x');
    fake::FakePlatform fake;
    std::size_t shown = 0;
    const std::size_t heapBefore = HeapInUse();
    {
        SignalReception reception(fake.platform, Counting(shown, nullptr));
        const std::size_t heapStart = HeapInUse();
        ResetHeapPeak();
        const Stopwatch watch;
        for (std::size_t sent = 0; sent < kBytes; sent += chunk.size()) reception.receive(chunk);
        const double seconds = watch.seconds();
        const std::size_t peakDuring = HeapPeak() - heapStart;
        reception.receive("\n" + kLine);
        Figure("bytes sent without a line end (64 KB reads)", kBytes, "bytes");
        Figure("time", seconds * 1000, "ms");
        Figure("throughput", kBytes / seconds / 1e6, "MB/s");
        Figure("peak heap held by reception beyond one read", static_cast<double>(peakDuring), "bytes");
        Figure("framer cap (LineFramer::kMaxPartial)", LineFramer::kMaxPartial, "bytes");
        Figure("signals shown afterwards (good line)", static_cast<double>(shown), "signals");
    }
    Figure("heap before", static_cast<double>(heapBefore), "bytes");
    Figure("heap after", static_cast<double>(HeapInUse()), "bytes");

    // The framer alone, fed byte runs of every size.
    LineFramer framer;
    ResetHeapPeak();
    const std::size_t start = HeapInUse();
    std::size_t mostPending = 0;
    for (std::size_t sent = 0, size = 1; sent < kBytes; sent += size, size = size * 2 % 131071 + 1) {
        framer.push(std::string_view(chunk).substr(0, std::min(size, chunk.size())));
        mostPending = std::max(mostPending, framer.pending());
    }
    Figure("framer alone: most bytes pending", static_cast<double>(mostPending), "bytes");
    Figure("framer alone: peak heap", static_cast<double>(HeapPeak() - start), "bytes");
}

// Random bytes, NUL included, as a broken or hostile peer would send them.
void RandomBinary() {
    constexpr std::size_t kBytes = 10 * 1024 * 1024;
    std::string bytes(kBytes, '\0');
    std::uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    fake::FakePlatform fake;
    std::size_t shown = 0, dispatched = 0;
    SignalReception reception(fake.platform, Counting(shown, &dispatched));
    std::size_t lineEnds = 0;
    for (char c : bytes) lineEnds += c == '\n';
    ResetHeapPeak();
    const std::size_t start = HeapInUse();
    const Stopwatch watch;
    for (std::size_t at = 0; at < bytes.size(); at += 4096) {
        reception.receive(bytes.substr(at, 4096));
        fake.clock.now += 1;
    }
    const double seconds = watch.seconds();
    Figure("random bytes sent (NUL included)", kBytes, "bytes");
    Figure("line ends among them", static_cast<double>(lineEnds), "lines");
    Figure("signals shown (lines with a button)", static_cast<double>(shown), "signals");
    Figure("signals dispatched", static_cast<double>(dispatched), "signals");
    Figure("time", seconds * 1000, "ms");
    Figure("peak heap beyond one read", static_cast<double>(HeapPeak() - start), "bytes");
}

// The server resets the connection in the middle of a line, then comes back, 50 times: the
// half line is dropped with the old connection and every whole line of the new one arrives.
void ServerComesAndGoes() {
    constexpr int kCycles = 50, kLinesPerCycle = 20;
    fake::FakePlatform fake;
    Handlers handlers;
    WinLircLink link(fake.network, handlers);
    std::size_t shown = 0;
    // In setup mode every line is captured, so each one counts, whatever the gap.
    SignalReception reception(fake.platform, Counting(shown, nullptr, /*setupMode=*/true));
    handlers.link = &link;
    handlers.reception = &reception;
    const std::size_t heapBefore = HeapInUse();
    const Stopwatch watch;
    std::size_t sent = 0, bytes = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        link.setActive(true);
        fake.network.last->completeConnect();
        const std::string lines = Lines(kLinesPerCycle);
        fake.network.last->deliver(lines);
        fake.network.last->deliver(kLine.substr(0, 20));  // half a line, then the reset
        fake.network.last->closeByPeer(10054);
        sent += kLinesPerCycle;
        bytes += lines.size() + 20;
        if (fake.log.size() > 100000) fake.log.clear();
    }
    const double seconds = watch.seconds();
    fake.log.clear();
    fake.log.shrink_to_fit();  // the fake's record of the calls is no memory of the program
    Figure("connections made and reset mid-line", kCycles, "times");
    Figure("whole lines sent", static_cast<double>(sent), "lines");
    Figure("bytes sent", static_cast<double>(bytes), "bytes");
    Figure("signals handled (whole lines; half lines dropped)", static_cast<double>(shown), "signals");
    Figure("sockets created", fake.network.created, "sockets");
    Figure("time for all cycles", seconds * 1000, "ms");
    Figure("heap before", static_cast<double>(heapBefore), "bytes");
    Figure("heap after", static_cast<double>(HeapInUse()), "bytes");
}

const Register reception("signals: reception throughput", ReceptionThroughput);
const Register flood("signals: flood through the link and the binding table", FloodThroughLinkAndTable);
const Register noLineEnd("signals: 10 MB without a line end", TenMegabytesWithoutLineEnd);
const Register comesAndGoes("signals: server resets mid-line and comes back 50 times", ServerComesAndGoes);
const Register binary("signals: 10 MB of random bytes", RandomBinary);

}  // namespace
}  // namespace kivra::bench
