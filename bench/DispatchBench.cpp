// Dispatch of one button name over the full binding table: every one of the 45 rows is read,
// whichever matches, and the matching row's keys go to the fake keyboard.
#include "Bench.h"

namespace kivra::bench {
namespace {

void Dispatch(benchmark::State& state, const char* button) {
    Rig rig;
    const std::string name = button;
    for (auto _ : state) {
        rig.table.ProcessCommands(name);
        rig.forgetRecords();
    }
    state.SetItemsProcessed(state.iterations());
}
// Row 1 opens the remote menu (a no-op here), row 16 presses one key, row 44 (the last)
// types a user combination read from its cell.
BENCHMARK_CAPTURE(Dispatch, row_1_first, "BUTTON_1");
BENCHMARK_CAPTURE(Dispatch, row_16_one_key, "BUTTON_16");
BENCHMARK_CAPTURE(Dispatch, row_44_last, "BUTTON_44");
BENCHMARK_CAPTURE(Dispatch, no_row, "NO_SUCH_BUTTON");

}  // namespace
}  // namespace kivra::bench
