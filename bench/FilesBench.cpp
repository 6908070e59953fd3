// Loading and saving the binding files, and loading menu files, on the in-memory fakes: the
// program's own work, without the disk.
#include <cstdint>

#include "Bench.h"
#include "bindings/BindingFiles.h"

namespace kivra::bench {
namespace {

using benchmark::Counter;

const char* const kBindingFiles[] = {"LIRCAC.LST", "LIRCHT.LST"};

double BindingFilesSize(fake::FakeFiles& files) {
    double size = 0;
    for (const char* name : kBindingFiles) size += static_cast<double>(files.contents[files.directory + name].size());
    return size;
}

// Both files of the full 45-row table.
void BindingFilesSave(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) SaveBindingFiles(rig.fake.files, rig.grid);
    state.SetBytesProcessed(static_cast<std::int64_t>(BindingFilesSize(rig.fake.files) * state.iterations()));
}
BENCHMARK(BindingFilesSave)->Unit(benchmark::kMicrosecond);

void BindingFilesLoad(benchmark::State& state) {
    Rig rig;
    SaveBindingFiles(rig.fake.files, rig.grid);
    for (auto _ : state) LoadBindingFiles(rig.fake.files, rig.grid);
    state.SetBytesProcessed(static_cast<std::int64_t>(BindingFilesSize(rig.fake.files) * state.iterations()));
}
BENCHMARK(BindingFilesLoad)->Unit(benchmark::kMicrosecond);

// Damaged files: both 10 MB of one character, in one line or all line ends. The files are
// read whole, which the peak heap shows.
void DamagedBindingFiles(benchmark::State& state, char fill) {
    Rig rig;
    for (const char* name : kBindingFiles) rig.fake.files.contents[rig.fake.files.directory + name] = std::string(10 << 20, fill);
    const HeapWatch heap;
    for (auto _ : state) LoadBindingFiles(rig.fake.files, rig.grid);
    state.SetBytesProcessed(static_cast<std::int64_t>(BindingFilesSize(rig.fake.files) * state.iterations()));
    state.counters["heap_peak_bytes"] = heap.peak();
}
BENCHMARK_CAPTURE(DamagedBindingFiles, 10MB_in_one_line, 'A')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DamagedBindingFiles, 10MB_of_line_ends, '\n')->Unit(benchmark::kMillisecond);

// A menu of exactly `items` items, breadth first with nine children to a parent: top-level
// sections Sub1 to Sub9 and children one digit deeper, so that no two items share a section.
std::string MenuText(int items) {
    std::vector<std::string> sections{"Sub"};
    std::vector<int> children{0};
    for (std::size_t parent = 0; static_cast<int>(sections.size()) - 1 < items; ++parent) {
        for (int i = 1; i <= 9 && static_cast<int>(sections.size()) - 1 < items; ++i) {
            sections.push_back(sections[parent] + std::to_string(i));
            children.push_back(0);
            ++children[parent];
        }
    }
    std::string text;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        text += "[" + sections[i] + "]\n";
        if (i > 0) text += "Caption=Пункт " + sections[i] + "\nCommand=SENDKEY\nParameters=Alt+F4\n";
        if (children[i] > 0) text += "Subs=" + std::to_string(children[i]) + "\n";
    }
    return text;
}

// A crafted file: counts of 0x7FFFFFFF at every one of 20 levels.
std::string CraftedMenuText() {
    std::string text = "[Sub]\nSubs=0x7FFFFFFF\n";
    for (std::string section = "Sub1"; section.size() < 24; section += "1") text += "[" + section + "]\nSubs=0x7FFFFFFF\n";
    return text;
}

// FillTree and ChangeMenuFont, as at start-up; the heap held is what the menu keeps after
// the last load.
void MenuLoad(benchmark::State& state, const std::string& text) {
    Rig rig;
    rig.fake.profile.setText("Kivra.mnu", text);
    const HeapWatch heap;
    for (auto _ : state) {
        rig.menu.FillTree("Kivra.mnu");
        rig.menu.ChangeMenuFont(32);
    }
    state.counters["items"] = static_cast<double>(rig.menu.table().size());
    state.counters["file_reads"] = Counter(rig.fake.profile.fileReads, Counter::kAvgIterations);
    state.counters["heap_held_bytes"] = heap.held();
}
BENCHMARK_CAPTURE(MenuLoad, 100_items, MenuText(100))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MenuLoad, 10000_items, MenuText(10000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MenuLoad, counts_0x7FFFFFFF, CraftedMenuText())->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kivra::bench
