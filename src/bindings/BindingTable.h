// The binding table: 45 rows of the grid StringGrid1, which is the only storage of the
// bindings. Column 0 is the action (a label, or a user key text), column 1 the bound button.
#pragma once

#include <functional>
#include <string>

#include "actions/KivraUtils.h"
#include "toolkit/Controls.h"

namespace kivra {

constexpr int kBindingRows = 45;
constexpr int kFirstUserKeyRow = 25;

bool IsCategoryRow(int row);
bool IsUserKeyRow(int row);

// The actions of rows whose work belongs to other parts of the program.
struct RowSeams {
    std::function<void()> showRemoteMenu;     // row 1
    std::function<void()> saveConfiguration;  // row 14, before the power-off
    std::function<WindowHandle()> tableWindow;  // owner window for rows 3, 4, 5 and 10
};

class BindingTable {
public:
    BindingTable(ui::Grid& grid, KivraUtils& utils, RowSeams seams);
    ui::Grid& grid() { return grid_; }

    // Runs, in row order, the action of every row bound to the button name.
    void ProcessCommands(const std::string& buttonName);
    // Setup mode: the button name goes into column 1 of the selected row (not a category row).
    void AssignButton(const std::string& buttonName);
    // The header and the labels of rows 1 to 24, written at start-up after the files are loaded.
    void WriteLabels();
    // "Добавить": the hot-key field's combination into column 0 of a selected user key row.
    void AddKeyCombination(const ui::HotKeyValue& hotKey);
    // "Очистить": empties the selected cell of a user key row, else column 1 of the row.
    void ClearSelectedCell();

private:
    void RunRow(int row);
    ui::Grid& grid_;
    KivraUtils& utils_;
    RowSeams seams_;
};

}  // namespace kivra
