#include <gtest/gtest.h>

#include <stdexcept>

#include "bindings/BindingTable.h"
#include "platform/fake/FakePlatform.h"

namespace kivra {
namespace {

using Log = std::vector<std::string>;

std::string Down(int vk) { return "keybd_event(" + std::to_string(vk) + ",69,1)"; }
std::string Up(int vk) { return "keybd_event(" + std::to_string(vk) + ",69,3)"; }
const std::string kWait = "Sleep(100)";

class BindingTableTest : public ::testing::Test {
protected:
    BindingTableTest() { table.WriteLabels(); }

    RowSeams Seams() {
        return RowSeams{
            [this] {
                fake.log.push_back("ShowRemoteMenu");
                if (whileMenuOpen) whileMenuOpen();
            },
            [this] {
                fake.log.push_back("SaveConfiguration");
                if (saveFails) throw std::runtime_error("Unable to write to Kivra.ini");
            },
            [] { return WindowHandle{77}; },
        };
    }

    void Bind(int row, const std::string& button) { grid.setCell(row, 1, button); }

    fake::FakePlatform fake;
    KivraUtils utils{fake.platform};
    ui::Grid grid{"StringGrid1", nullptr, {}, kBindingRows, 2};
    bool saveFails = false;
    std::function<void()> whileMenuOpen;
    BindingTable table{grid, utils, Seams()};
};

TEST_F(BindingTableTest, LabelsAndRowKinds) {
    EXPECT_EQ(grid.cell(0, 0), " Действие");
    EXPECT_EQ(grid.cell(0, 1), " Команда WinLIRC");
    for (int row = 1; row < kBindingRows; ++row) {
        SCOPED_TRACE(row);
        const std::string& label = grid.cell(row, 0);
        if (IsCategoryRow(row))
            EXPECT_EQ(label.rfind("      * ", 0), 0u);
        else if (row < kFirstUserKeyRow)
            EXPECT_TRUE(label.size() > 1 && label[0] == ' ' && label[1] != ' ');
        else
            EXPECT_EQ(label, "");  // user key rows have no label
        EXPECT_EQ(grid.cell(row, 1), "");
        EXPECT_EQ(IsUserKeyRow(row), row >= 25);
    }
    EXPECT_EQ(grid.cell(14, 0), " Выключить компьютер");
    EXPECT_EQ(grid.cell(15, 0), "      * Эмуляция клавиатуры");
}

TEST_F(BindingTableTest, LabelsOverwriteWhatTheFilesPutInRows0To24Only) {
    grid.setCell(0, 1, "HEADER FROM FILE");
    grid.setCell(3, 0, "changed");
    grid.setCell(3, 1, "EXPLORER");
    grid.setCell(30, 0, "Ctrl+A");
    table.WriteLabels();
    EXPECT_EQ(grid.cell(0, 1), " Команда WinLIRC");
    EXPECT_EQ(grid.cell(3, 0), " Проводник");
    EXPECT_EQ(grid.cell(3, 1), "EXPLORER");
    EXPECT_EQ(grid.cell(30, 0), "Ctrl+A");
}

TEST_F(BindingTableTest, KeyboardRows) {
    struct Case { int row; Log events; };
    const Case cases[] = {
        {16, {Down(93), Up(93), kWait}},
        {17, {Down(91), Up(91), kWait}},
        {18, {Down(91), Down(68), Up(68), kWait, Up(91)}},
        {19, {Down(164), Down(9), Up(9), kWait, Up(164)}},
        {20, {Down(164), Down(115), Up(115), kWait, Up(164)}},
        {21, {Down(13), Up(13), kWait}},
        {22, {Down(9), Up(9), kWait}},
        {23, {Down(27), Up(27), kWait}},
        {24, {Down(32), Up(32), kWait}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        Bind(c.row, "KEY");
        fake.log.clear();
        table.ProcessCommands("KEY");
        EXPECT_EQ(fake.log, c.events);
        Bind(c.row, "");
    }
}

TEST_F(BindingTableTest, EveryBoundRowRunsInRowOrder) {
    Bind(30, "B");
    grid.setCell(30, 0, "Shift+Ctrl+Alt+F10");
    Bind(17, "B");
    table.ProcessCommands("B");
    EXPECT_EQ(fake.log, (Log{Down(91), Up(91), kWait, Down(164), Down(17), Down(160), Down(121), Up(121), kWait,
                             Up(160), Up(17), Up(164)}));
}

TEST_F(BindingTableTest, NamesThatMatchNoRowRunNothing) {
    Bind(21, "OK");
    Bind(0, "HEAD");  // only an edited binding file puts names here
    Bind(6, "CAT");
    Bind(31, "EMPTYKEY");  // a bound user key row without key text
    for (const char* name : {"NONE", "", "ok", "OK ", " OK", "HEAD", "CAT", "EMPTYKEY"}) {
        table.ProcessCommands(name);
        EXPECT_TRUE(fake.log.empty()) << '"' << name << '"';
    }
}

TEST_F(BindingTableTest, RemoteMenuAndVolumeControlRows) {
    Bind(1, "MENU");
    Bind(7, "MIXER");
    table.ProcessCommands("MENU");
    table.ProcessCommands("MIXER");
    EXPECT_EQ(fake.log, (Log{"ShowRemoteMenu", "ShellExecute(0,\"\",sndvol32.exe,,,0)"}));
}

TEST_F(BindingTableTest, PowerOffRowSavesFirstAndAFailedSaveStopsTheDispatch) {
    Bind(14, "POWER");
    Bind(21, "POWER");
    saveFails = true;
    EXPECT_THROW(table.ProcessCommands("POWER"), std::runtime_error);
    EXPECT_EQ(fake.log, Log{"SaveConfiguration"});  // neither power-off nor row 21
}

TEST_F(BindingTableTest, NestedDispatchRunsToItsEndBeforeTheNextRow) {
    Bind(1, "MENU");
    Bind(21, "MENU");
    Bind(23, "ESC");
    whileMenuOpen = [this] {
        table.ProcessCommands("ESC");
        fake.log.push_back("menu closed");
    };
    table.ProcessCommands("MENU");
    EXPECT_EQ(fake.log, (Log{"ShowRemoteMenu", Down(27), Up(27), kWait, "menu closed", Down(13), Up(13), kWait}));
}

TEST_F(BindingTableTest, AssignButton) {
    Bind(3, "X");
    grid.select(8, 0);
    table.AssignButton("X");
    EXPECT_EQ(grid.cell(8, 1), "X");
    EXPECT_EQ(grid.cell(3, 1), "X");  // other rows keep the same name
    table.AssignButton("Y");
    EXPECT_EQ(grid.cell(8, 1), "Y");
    EXPECT_EQ(grid.selectedRow(), 8);

    for (int category : {2, 6, 11, 15}) {
        grid.select(category, 1);
        table.AssignButton("Z");
        EXPECT_EQ(grid.cell(category, 1), "") << category;
    }
    grid.select(44, 1);
    table.AssignButton("LAST");
    EXPECT_EQ(grid.cell(44, 1), "LAST");
}

TEST_F(BindingTableTest, AddKeyCombinationOnlyOnUserKeyRows) {
    grid.select(24, 0);
    table.AddKeyCombination({116, false, true, true});
    EXPECT_EQ(grid.cell(24, 0), " Space");

    grid.select(25, 1);
    Bind(25, "F5KEY");
    table.AddKeyCombination({116, false, true, true});
    EXPECT_EQ(grid.cell(25, 0), "Ctrl+Alt+F5");
    EXPECT_EQ(grid.cell(25, 1), "F5KEY");

    table.AddKeyCombination({});  // an empty hot-key field clears the key text
    EXPECT_EQ(grid.cell(25, 0), "");
    EXPECT_EQ(grid.cell(25, 1), "F5KEY");
}

TEST_F(BindingTableTest, ClearSelectedCell) {
    Bind(22, "TAB");
    grid.select(22, 0);
    table.ClearSelectedCell();
    EXPECT_EQ(grid.cell(22, 0), " Tab");
    EXPECT_EQ(grid.cell(22, 1), "");

    grid.setCell(30, 0, "Ctrl+A");
    Bind(30, "A");
    grid.select(30, 0);
    table.ClearSelectedCell();
    EXPECT_EQ(grid.cell(30, 0), "");
    EXPECT_EQ(grid.cell(30, 1), "A");

    grid.setCell(30, 0, "Ctrl+A");
    grid.select(30, 1);
    table.ClearSelectedCell();
    EXPECT_EQ(grid.cell(30, 0), "Ctrl+A");
    EXPECT_EQ(grid.cell(30, 1), "");
}

// Rows 3 to 14 call the system operations with the table's window: each bound row must leave
// the same platform calls as the operation called directly.
TEST(BindingTableSystemRows, RunTheirSystemOperation) {
    struct Case { int row; std::function<void(KivraUtils&)> operation; };
    const WindowHandle window = 77;
    const Case cases[] = {
        {3, [&](KivraUtils& u) { u.OpenExplorer(window); }},
        {4, [&](KivraUtils& u) { u.OpenSpecialFolder(window, 0); }},
        {5, [&](KivraUtils& u) { u.OpenSpecialFolder(window, 5); }},
        {8, [](KivraUtils& u) { u.VolumeStepUp(); }},
        {9, [](KivraUtils& u) { u.VolumeStepDown(); }},
        {10, [&](KivraUtils& u) { u.ToggleCdTray(window); }},
        {12, [](KivraUtils& u) { u.StartScreenSaver(); }},
        {13, [](KivraUtils& u) { u.TurnMonitorOff(); }},
        {14, [](KivraUtils& u) { u.PowerControl(0); }},  // recorded by the fake, nothing powers off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        fake::FakePlatform direct;
        KivraUtils directUtils{direct.platform};
        directUtils.setApplicationWindow(5);
        c.operation(directUtils);
        ASSERT_FALSE(direct.log.empty());

        fake::FakePlatform fake;
        KivraUtils utils{fake.platform};
        utils.setApplicationWindow(5);
        ui::Grid grid{"StringGrid1", nullptr, {}, kBindingRows, 2};
        BindingTable table{grid, utils, RowSeams{{}, [&] { fake.log.push_back("SaveConfiguration"); },
                                                 [&] { return window; }}};
        grid.setCell(c.row, 1, "SYS");
        table.ProcessCommands("SYS");
        if (c.row == 14) {
            ASSERT_FALSE(fake.log.empty());
            EXPECT_EQ(fake.log.front(), "SaveConfiguration");
            fake.log.erase(fake.log.begin());
        }
        EXPECT_EQ(fake.log, direct.log);
        EXPECT_EQ(utils.monitorOff, directUtils.monitorOff);
        EXPECT_EQ(utils.cdTrayOpen, directUtils.cdTrayOpen);
    }
}

}  // namespace
}  // namespace kivra
