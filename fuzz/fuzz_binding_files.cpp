// The binding files. Input: LIRCAC.LST, a NUL, LIRCHT.LST, and optionally a second NUL and a
// byte that picks a fault (1: LIRCAC.LST cannot be created, 2: writing LIRCHT.LST fails,
// 3: LIRCHT.LST cannot be read, 4: LIRCHT.LST is missing).
// Properties:
//   - loading sets exactly the cells a plain reading of the line rules gives, and no other;
//   - a save writes 45 and 20 lines, each ended by CR LF and holding no other CR or LF;
//   - loading what was saved gives back the same table;
//   - a failed save reports the message, leaves the table as it was, and leaves each file
//     either as it was or fully written;
//   - the loaded bindings dispatch without leaving a key held.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "actions/KivraUtils.h"
#include "bindings/BindingFiles.h"
#include "bindings/BindingTable.h"
#include "platform/TextCodec.h"
#include "platform/fake/FakePlatform.h"
#include "toolkit/ErrorReport.h"

#include "FuzzSupport.h"

namespace {

using kivra::fuzzing::Check;

constexpr std::size_t kLongestCell = 4096;  // a longer line is cut to this

// CR LF, a lone LF or a lone CR ends a line; the text after the last one is a line if not empty.
std::vector<std::string> ModelLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    if (lines.back().empty()) lines.pop_back();
    for (std::string& line : lines)
        if (line.size() > kLongestCell) line.resize(kLongestCell);
    return lines;
}

using Cells = std::vector<std::vector<std::string>>;

Cells Snapshot(const kivra::ui::Grid& grid) {
    Cells cells(45, std::vector<std::string>(2));
    for (int row = 0; row < 45; ++row)
        for (int col = 0; col < 2; ++col) cells[row][col] = grid.cell(row, col);
    return cells;
}

void CheckSavedFile(const std::string& bytes, std::size_t lines) {
    std::size_t crlf = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            Check(i + 1 < bytes.size() && bytes[i + 1] == '\n');
            ++crlf;
            ++i;
        } else {
            Check(bytes[i] != '\n');
        }
    }
    Check(crlf == lines && bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    const std::string buttonsText = input.substr(0, cut);
    std::string keyTextsText = cut == std::string::npos ? "" : input.substr(cut + 1);
    int fault = 0;
    if (const std::size_t second = keyTextsText.find('\0'); second != std::string::npos) {
        fault = second + 1 < keyTextsText.size() ? keyTextsText[second + 1] % 5 : 0;
        keyTextsText.resize(second);
    }

    kivra::fake::FakePlatform fake;
    const std::string buttonsPath = fake.files.directory + "LIRCAC.LST";
    const std::string keyTextsPath = fake.files.directory + "LIRCHT.LST";
    fake.files.contents[buttonsPath] = buttonsText;
    fake.files.contents[keyTextsPath] = keyTextsText;
    if (fault == 3) fake.files.unreadable.insert(keyTextsPath);
    if (fault == 4) fake.files.contents.erase(keyTextsPath);

    kivra::ui::Grid grid("StringGrid1", nullptr, {}, 45, 2);
    kivra::KivraUtils utils(fake.platform);
    utils.keyDelay = 10;
    kivra::BindingTable table(grid, utils, kivra::RowSeams{[] {}, [] {}, [] { return kivra::WindowHandle{0}; }});
    table.WriteLabels();
    for (int row = 0; row < 45; ++row) grid.setCell(row, 1, "before" + std::to_string(row));
    const Cells before = Snapshot(grid);

    // Loading.
    kivra::LoadBindingFiles(fake.files, grid);
    Cells expected = before;
    if (fault != 3 && fault != 4) {
        const std::vector<std::string> buttons = ModelLines(buttonsText);
        const std::vector<std::string> keyTexts = ModelLines(keyTextsText);
        for (std::size_t row = 0; row < buttons.size() && row < 45; ++row) {
            expected[row][1] = kivra::Utf8FromCp1251(buttons[row]);
            if (row >= 25) expected[row][0] = row - 25 < keyTexts.size() ? kivra::Utf8FromCp1251(keyTexts[row - 25]) : "";
        }
    }
    Check(Snapshot(grid) == expected);
    table.WriteLabels();
    const Cells loaded = Snapshot(grid);

    // The loaded buttons dispatch; no key stays held.
    for (int row = 1; row < 45; row += 7) table.ProcessCommands(grid.cell(row, 1));
    int held = 0;
    for (const std::string& call : fake.calls("keybd_event(")) held += call[call.size() - 2] == '1' ? 1 : -1;
    Check(held == 0);
    Check(Snapshot(grid) == loaded);

    // Saving, with the fault if any.
    const std::string oldButtons = buttonsText;
    const std::string oldKeyTexts = keyTextsText;
    fake.files.contents[buttonsPath] = oldButtons;
    fake.files.contents[keyTextsPath] = oldKeyTexts;
    fake.files.unreadable.clear();
    if (fault == 1) fake.files.writeFailures[buttonsPath] = {true, true, "Access is denied."};
    if (fault == 2) fake.files.writeFailures[keyTextsPath] = {true, false, "Disk full."};
    bool failed = false;
    try {
        kivra::SaveBindingFiles(fake.files, grid);
    } catch (const kivra::KivraError& error) {
        failed = true;
        const std::string message = error.what();
        if (fault == 1) Check(message == "Cannot create file \"" + buttonsPath + "\". Access is denied.");
        if (fault == 2) Check(message == "Stream write error");
    }
    Check(failed == (fault == 1 || fault == 2));
    Check(Snapshot(grid) == loaded);
    if (fault == 1) {
        Check(fake.files.contents[buttonsPath] == oldButtons && fake.files.contents[keyTextsPath] == oldKeyTexts);
        return 0;
    }
    CheckSavedFile(fake.files.contents[buttonsPath], 45);
    if (fault == 2) {
        Check(fake.files.contents[keyTextsPath] == oldKeyTexts);
        return 0;
    }
    CheckSavedFile(fake.files.contents[keyTextsPath], 20);

    // Loading what was saved gives the same table.
    kivra::ui::Grid again("StringGrid1", nullptr, {}, 45, 2);
    kivra::LoadBindingFiles(fake.files, again);
    for (int row = 0; row < 45; ++row) {
        Check(again.cell(row, 1) == loaded[row][1]);
        if (row >= 25) Check(again.cell(row, 0) == loaded[row][0]);
    }
    return 0;
}
