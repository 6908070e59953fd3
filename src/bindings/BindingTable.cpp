#include "bindings/BindingTable.h"

#include <algorithm>
#include <array>

#include "actions/KeyCombination.h"
#include "platform/WindowsConstants.h"

namespace kivra {
namespace {

// Column 0 of rows 1 to 24. Category headings are indented with six blanks and an asterisk.
constexpr std::array<const char*, 25> kLabels{
    nullptr,
    " Lovka menu",
    "      * Папки и приложения",
    " Проводник",
    " Мой компьютер",
    " Мои документы",
    "      * Мультимедиа",
    " Регулятор громкости",
    " Громкость +",
    " Громкость -",
    " Лоток CD/DVD-привода",
    "      * Управление питанием",
    " Хранитель экрана",
    " Выключить монитор",
    " Выключить компьютер",
    "      * Эмуляция клавиатуры",
    " Контекстное меню",
    " Win",
    " Win+D",
    " Alt+Tab",
    " Alt+F4",
    " Enter",
    " Tab",
    " Esc",
    " Space",
};

constexpr char kActionHeader[] = " Действие";
constexpr char kButtonHeader[] = " Команда WinLIRC";

constexpr int kActionColumn = 0;
constexpr int kButtonColumn = 1;

constexpr int kPowerOff = 0;

// Virtual keys of the keyboard rows.
constexpr std::uint8_t kVkApps = 93, kVkLWin = 91, kVkD = 68, kVkLMenu = 164, kVkTab = 9, kVkF4 = 115,
                       kVkReturn = 13, kVkEscape = 27, kVkSpace = 32;

}  // namespace

bool IsCategoryRow(int row) { return row == 2 || row == 6 || row == 11 || row == 15; }

bool IsUserKeyRow(int row) { return row >= kFirstUserKeyRow && row < kBindingRows; }

BindingTable::BindingTable(ui::Grid& grid, KivraUtils& utils, RowSeams seams)
    : grid_(grid), utils_(utils), seams_(std::move(seams)) {}

void BindingTable::ProcessCommands(const std::string& buttonName) {
    if (buttonName.empty()) return;  // an unbound row's empty cell is no binding
    const int rows = std::min(grid_.rowCount(), kBindingRows);
    for (int row = 0; row < rows; ++row) {
        // Read afresh for every row: a nested dispatch (inside the remote menu) may have run.
        if (grid_.cell(row, kButtonColumn) == buttonName) RunRow(row);
    }
}

void BindingTable::AssignButton(const std::string& buttonName) {
    const int row = grid_.selectedRow();
    if (row < 1 || row >= std::min(grid_.rowCount(), kBindingRows) || IsCategoryRow(row)) return;
    grid_.setCell(row, kButtonColumn, buttonName);
}

void BindingTable::WriteLabels() {
    grid_.setCell(0, kActionColumn, kActionHeader);
    grid_.setCell(0, kButtonColumn, kButtonHeader);
    for (int row = 1; row < kFirstUserKeyRow; ++row) grid_.setCell(row, kActionColumn, kLabels[row]);
}

void BindingTable::AddKeyCombination(const ui::HotKeyValue& hotKey) {
    const int row = grid_.selectedRow();
    if (!IsUserKeyRow(row)) return;
    grid_.setCell(row, kActionColumn,
                  KeyCombinationText(utils_.platform().keyboard, hotKey.key, hotKey.shift, hotKey.ctrl, hotKey.alt));
}

void BindingTable::ClearSelectedCell() {
    const int row = grid_.selectedRow();
    if (row < 1 || row >= std::min(grid_.rowCount(), kBindingRows)) return;
    // A user key row loses whichever cell is selected; other rows keep their label.
    grid_.setCell(row, IsUserKeyRow(row) ? grid_.selectedCol() : kButtonColumn, "");
}

void BindingTable::RunRow(int row) {
    const auto tableWindow = [this] { return seams_.tableWindow ? seams_.tableWindow() : grid_.handle(); };
    switch (row) {
        case 1:
            if (seams_.showRemoteMenu) seams_.showRemoteMenu();
            break;
        case 3: utils_.OpenExplorer(tableWindow()); break;
        case 4: utils_.OpenSpecialFolder(tableWindow(), kCsidlDesktop); break;
        case 5: utils_.OpenSpecialFolder(tableWindow(), kCsidlPersonal); break;
        case 7:
            utils_.platform().shell.execute(0, std::string(""), "sndvol32.exe", "", "", kSwHide);
            break;
        case 8: utils_.VolumeStepUp(); break;
        case 9: utils_.VolumeStepDown(); break;
        case 10: utils_.ToggleCdTray(tableWindow()); break;
        case 12: utils_.StartScreenSaver(); break;
        case 13: utils_.TurnMonitorOff(); break;
        case 14:
            // The settings are saved first; when that fails the error ends the dispatch here and
            // the computer stays on.
            if (seams_.saveConfiguration) seams_.saveConfiguration();
            utils_.PowerControl(kPowerOff);
            break;
        case 16: utils_.PressKey(kVkApps); break;
        case 17: utils_.PressKey(kVkLWin); break;
        case 18:
            utils_.KeyDown(kVkLWin);
            utils_.PressKey(kVkD);
            utils_.KeyUp(kVkLWin);
            break;
        case 19:
            utils_.KeyDown(kVkLMenu);
            utils_.PressKey(kVkTab);
            utils_.KeyUp(kVkLMenu);
            break;
        case 20:
            utils_.KeyDown(kVkLMenu);
            utils_.PressKey(kVkF4);
            utils_.KeyUp(kVkLMenu);
            break;
        case 21: utils_.PressKey(kVkReturn); break;
        case 22: utils_.PressKey(kVkTab); break;
        case 23: utils_.PressKey(kVkEscape); break;
        case 24: utils_.PressKey(kVkSpace); break;
        default:
            if (IsUserKeyRow(row)) utils_.SendKeyCombination(grid_.cell(row, kActionColumn));
            break;  // header and category rows have no action
    }
}

}  // namespace kivra
