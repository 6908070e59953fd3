// What the benchmarks share: the heap counters of this executable's global operator new
// (BenchMain.cpp), WinLIRC's lines, and one rig of the program's pieces on the recording fake.
// Benchmarks report figures and assert nothing.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "actions/KivraUtils.h"
#include "bindings/BindingTable.h"
#include "link/SignalReception.h"
#include "link/WinLircLink.h"
#include "menu/RemoteMenu.h"
#include "platform/fake/FakePlatform.h"

namespace kivra::bench {

// Bytes allocated and not yet freed, and the most there were since the last ResetHeapPeak().
std::size_t HeapInUse();
std::size_t HeapPeak();
void ResetHeapPeak();

// The heap taken by the code that runs after the watch starts.
class HeapWatch {
public:
    HeapWatch() : start_(HeapInUse()) { ResetHeapPeak(); }
    double peak() const { return static_cast<double>(HeapPeak() - start_); }
    double held() const { return static_cast<double>(HeapInUse()) - static_cast<double>(start_); }

private:
    std::size_t start_;
};

constexpr std::string_view kLine = "0000000000f40bf0 00 VOL_UP RM-D420\n";

inline std::string Lines(std::size_t count) {
    std::string text;
    text.reserve(count * kLine.size());
    for (std::size_t i = 0; i < count; ++i) text += kLine;
    return text;
}

// The stream cut into reads of `size` bytes, made before the clock runs.
inline std::vector<std::string> Reads(const std::string& stream, std::size_t size) {
    std::vector<std::string> reads;
    for (std::size_t at = 0; at < stream.size(); at += size) reads.push_back(stream.substr(at, size));
    return reads;
}

// The program's pieces wired as the main window wires them: the link feeds the reception,
// whose dispatch only counts unless dispatchToTable is set. Every row of the table is bound,
// row n to "BUTTON_n", and every user key row types Shift+Ctrl+Alt+F10.
struct Rig : LinkHandlers {
    Rig() {
        table.WriteLabels();
        for (int row = 1; row < kBindingRows; ++row) grid.setCell(row, 1, "BUTTON_" + std::to_string(row));
        for (int row = kFirstUserKeyRow; row < kBindingRows; ++row) grid.setCell(row, 0, "Shift+Ctrl+Alt+F10");
    }

    // The fake's record of calls is no memory of the program: the timed loops forget it as
    // they go, and release it before the heap is read.
    void forgetRecords() { fake.log.clear(); }
    void releaseRecords() {
        forgetRecords();
        fake.log.shrink_to_fit();
    }

    void ClientSocket1Lookup() override {}
    void ClientSocket1Connecting() override {}
    void ClientSocket1Connect() override { reception.restartStream(); }
    void ClientSocket1Disconnect() override {}
    void ClientSocket1Error(SocketErrorKind, int) override {}
    void ClientSocket1Read() override { reception.receive(link.receiveText()); }

    fake::FakePlatform fake;
    KivraUtils utils{fake.platform};
    ui::Grid grid{"StringGrid1", nullptr, {}, kBindingRows, 2};
    BindingTable table{grid, utils, RowSeams{[] {}, [] {}, [] { return WindowHandle{0}; }}};
    ui::PopupMenu popup{"PopupMenu1"};
    ui::TreeView tree{"sTreeView1", nullptr, {}};
    RemoteMenu menu{fake.profile, popup, tree, [](const std::string&, const std::string&) {}};
    WinLircLink link{fake.network, *this};
    bool setupMode = false, dispatchToTable = false;
    std::size_t shown = 0, dispatched = 0;
    SignalReception reception{fake.platform, ReceptionContext{
                                                 [this] { return setupMode; },
                                                 [] { return false; },
                                                 [this](const std::string&) { ++shown; },
                                                 [](const std::string&) {},
                                                 [this](const std::string& button) {
                                                     ++dispatched;
                                                     if (dispatchToTable) table.ProcessCommands(button);
                                                 },
                                             }};
};

}  // namespace kivra::bench
