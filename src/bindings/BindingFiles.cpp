#include "bindings/BindingFiles.h"

#include <algorithm>
#include <string>
#include <vector>

#include "bindings/BindingTable.h"
#include "platform/TextCodec.h"
#include "toolkit/ErrorReport.h"

namespace kivra {
namespace {

constexpr char kButtonsFile[] = "LIRCAC.LST";   // column 1 of rows 0 to 44
constexpr char kKeyTextsFile[] = "LIRCHT.LST";  // column 0 of rows 25 to 44

// Each line is one short cell (a button or key name). A longer line, which only a damaged or
// foreign file holds, is cut to this many bytes and still counts as one line.
constexpr size_t kMaxLineBytes = 4096;

// A line ends at CR LF, a lone LF or a lone CR; text after the last line end is a line only
// when it is not empty.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (line.size() < kMaxLineBytes) {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// One cell is one line: a line break inside a cell would shift every later row on loading.
std::string FileLine(const std::string& cell) {
    std::string bytes = Cp1251FromUtf8(cell);
    bytes.erase(std::remove_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; }),
                bytes.end());
    return bytes + "\r\n";
}

void Write(Files& files, const std::string& path, const std::string& bytes) {
    const Files::WriteError error = files.writeAtomically(path, bytes);
    if (!error.failed) return;
    if (error.createFailed) throw KivraError("Cannot create file \"" + path + "\". " + error.reason);
    throw KivraError("Stream write error");
}

}  // namespace

void LoadBindingFiles(Files& files, ui::Grid& grid) {
    const std::string buttonsPath = files.executableDirectory() + kButtonsFile;
    const std::string keyTextsPath = files.executableDirectory() + kKeyTextsFile;
    if (!files.exists(buttonsPath) || !files.exists(keyTextsPath)) return;
    const std::optional<std::string> buttonsText = files.read(buttonsPath);
    const std::optional<std::string> keyTextsText = files.read(keyTextsPath);
    if (!buttonsText || !keyTextsText) return;

    const std::vector<std::string> buttons = SplitLines(*buttonsText);
    const std::vector<std::string> keyTexts = SplitLines(*keyTextsText);
    const int rows = std::min({static_cast<int>(buttons.size()), kBindingRows, grid.rowCount()});
    for (int row = 0; row < rows; ++row) {
        grid.setCell(row, 1, Utf8FromCp1251(buttons[static_cast<size_t>(row)]));
        if (row >= kFirstUserKeyRow) {
            const size_t line = static_cast<size_t>(row - kFirstUserKeyRow);
            grid.setCell(row, 0, line < keyTexts.size() ? Utf8FromCp1251(keyTexts[line]) : std::string());
        }
    }
}

void SaveBindingFiles(Files& files, const ui::Grid& grid) {
    std::string buttons;
    for (int row = 0; row < kBindingRows; ++row) buttons += FileLine(grid.cell(row, 1));
    std::string keyTexts;
    for (int row = kFirstUserKeyRow; row < kBindingRows; ++row) keyTexts += FileLine(grid.cell(row, 0));

    // LIRCHT.LST is written only after LIRCAC.LST has been.
    Write(files, files.executableDirectory() + kButtonsFile, buttons);
    Write(files, files.executableDirectory() + kKeyTextsFile, keyTexts);
}

}  // namespace kivra
