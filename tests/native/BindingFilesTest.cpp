#include <gtest/gtest.h>

#include "bindings/BindingFiles.h"
#include "bindings/BindingTable.h"
#include "platform/fake/FakePlatform.h"
#include "toolkit/ErrorReport.h"

namespace kivra {
namespace {

std::string Lines(int count, const std::string& prefix, const std::string& end = "\r\n") {
    std::string text;
    for (int i = 0; i < count; ++i) text += prefix + std::to_string(i) + end;
    return text;
}

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

// " Команда WinLIRC" in code page 1251.
const std::string kHeaderBytes = "\x20\xCA\xEE\xEC\xE0\xED\xE4\xE0 WinLIRC";

class BindingFilesTest : public ::testing::Test {
protected:
    BindingFilesTest() {
        // Sentinels show which cells a load leaves alone.
        for (int row = 0; row < kBindingRows; ++row) {
            grid.setCell(row, 0, "old0");
            grid.setCell(row, 1, "old1");
        }
    }
    std::string& buttonsFile() { return fake.files.contents[buttonsPath]; }
    std::string& keyTextsFile() { return fake.files.contents[keyTextsPath]; }

    fake::FakePlatform fake;
    ui::Grid grid{"StringGrid1", nullptr, {}, kBindingRows, 2};
    const std::string buttonsPath = "C:\\Kivra\\LIRCAC.LST";
    const std::string keyTextsPath = "C:\\Kivra\\LIRCHT.LST";
};

TEST_F(BindingFilesTest, FortySixLinesLoadTheFirstFortyFive) {
    buttonsFile() = Lines(46, "b");
    keyTextsFile() = Lines(20, "k");
    LoadBindingFiles(fake.files, grid);
    EXPECT_EQ(grid.cell(0, 1), "b0");
    EXPECT_EQ(grid.cell(44, 1), "b44");
    EXPECT_EQ(grid.cell(24, 0), "old0");  // column 0 of the fixed rows is not loaded
    EXPECT_EQ(grid.cell(25, 0), "k0");
    EXPECT_EQ(grid.cell(44, 0), "k19");
}

TEST_F(BindingFilesTest, ThirtyLinesBindRowsUpTo29) {
    buttonsFile() = Lines(30, "b");
    keyTextsFile() = Lines(20, "k");
    LoadBindingFiles(fake.files, grid);
    EXPECT_EQ(grid.cell(29, 1), "b29");
    EXPECT_EQ(grid.cell(29, 0), "k4");
    EXPECT_EQ(grid.cell(30, 1), "old1");
    EXPECT_EQ(grid.cell(30, 0), "old0");
}

TEST_F(BindingFilesTest, ShortKeyTextFileEmptiesTheRemainingKeyTexts) {
    buttonsFile() = Lines(45, "b");
    keyTextsFile() = Lines(3, "k");
    LoadBindingFiles(fake.files, grid);
    EXPECT_EQ(grid.cell(27, 0), "k2");
    EXPECT_EQ(grid.cell(28, 0), "");
    EXPECT_EQ(grid.cell(44, 0), "");
}

TEST_F(BindingFilesTest, LineEnds) {
    struct Case { const char* name; std::string text; std::vector<std::string> rows; };
    const Case cases[] = {
        {"CR LF", "a\r\n\r\nc\r\n", {"a", "", "c"}},
        {"LF only", "a\n\nc\n", {"a", "", "c"}},
        {"CR only", "a\r\rc\r", {"a", "", "c"}},
        {"mixed", "a\n\r\nc\r", {"a", "", "c"}},
        {"unterminated last line", "a\r\n\r\nc", {"a", "", "c"}},
        {"LF CR is two line ends", "a\n\rc\n", {"a", "", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int row = 0; row < kBindingRows; ++row) grid.setCell(row, 1, "old1");
        buttonsFile() = c.text;
        keyTextsFile() = "";
        LoadBindingFiles(fake.files, grid);
        for (size_t row = 0; row < c.rows.size(); ++row) EXPECT_EQ(grid.cell(static_cast<int>(row), 1), c.rows[row]);
        EXPECT_EQ(grid.cell(static_cast<int>(c.rows.size()), 1), "old1");
    }
}

TEST_F(BindingFilesTest, MissingOrUnreadableFileLoadsNothing) {
    buttonsFile() = Lines(45, "b");
    LoadBindingFiles(fake.files, grid);  // LIRCHT.LST missing
    EXPECT_EQ(grid.cell(1, 1), "old1");

    keyTextsFile() = Lines(20, "k");
    fake.files.unreadable.insert(keyTextsPath);
    LoadBindingFiles(fake.files, grid);
    EXPECT_EQ(grid.cell(1, 1), "old1");
    EXPECT_EQ(grid.cell(25, 0), "old0");
}

TEST_F(BindingFilesTest, LoadDecodesCodePage1251AndCutsVeryLongLines) {
    buttonsFile() = kHeaderBytes + "\r\n\xCA\xED\xEE\xEF\xEA\xE0\r\n" + std::string(5000, 'x') + "\r\nnext\r\n";
    keyTextsFile() = "";
    LoadBindingFiles(fake.files, grid);
    EXPECT_EQ(grid.cell(0, 1), " Команда WinLIRC");
    EXPECT_EQ(grid.cell(1, 1), "Кнопка");
    EXPECT_EQ(grid.cell(2, 1), std::string(4096, 'x'));
    EXPECT_EQ(grid.cell(3, 1), "next");
}

class SaveTest : public BindingFilesTest {
protected:
    SaveTest() {
        for (int row = 0; row < kBindingRows; ++row) {
            grid.setCell(row, 0, "");
            grid.setCell(row, 1, "");
        }
        utils = std::make_unique<KivraUtils>(fake.platform);
        BindingTable(grid, *utils, {}).WriteLabels();
    }
    std::unique_ptr<KivraUtils> utils;
};

TEST_F(SaveTest, UntouchedTableGivesTheHeaderAndEmptyLines) {
    SaveBindingFiles(fake.files, grid);
    EXPECT_EQ(buttonsFile(), kHeaderBytes + "\r\n" + Repeat("\r\n", 44));
    EXPECT_EQ(keyTextsFile(), Repeat("\r\n", 20));
    EXPECT_EQ(keyTextsFile().size(), 40u);
}

TEST_F(SaveTest, OneButtonOnRow14) {
    grid.setCell(14, 1, "POWER");
    SaveBindingFiles(fake.files, grid);
    EXPECT_EQ(buttonsFile(), kHeaderBytes + "\r\n" + Repeat("\r\n", 13) + "POWER\r\n" + Repeat("\r\n", 30));
}

TEST_F(SaveTest, KeyTextsOfUserKeyRowsAndCodePage1251) {
    grid.setCell(25, 0, "Ctrl+Alt+F5");
    grid.setCell(44, 0, "Shift+A");
    grid.setCell(44, 1, "Кнопка");
    grid.setCell(30, 1, "A\rB");  // a line end inside a cell must not shift the rows below
    SaveBindingFiles(fake.files, grid);
    EXPECT_EQ(keyTextsFile(), "Ctrl+Alt+F5\r\n" + Repeat("\r\n", 18) + "Shift+A\r\n");
    EXPECT_NE(buttonsFile().find("\r\nAB\r\n"), std::string::npos);
    EXPECT_EQ(buttonsFile().substr(buttonsFile().size() - 8), "\xCA\xED\xEE\xEF\xEA\xE0\r\n");
}

TEST_F(SaveTest, SaveThenLoadRestoresRows1To44) {
    for (int row = 1; row < kBindingRows; ++row) {
        if (!IsCategoryRow(row)) grid.setCell(row, 1, "Кн" + std::to_string(row));
        if (IsUserKeyRow(row)) grid.setCell(row, 0, "Ctrl+" + std::to_string(row % 10));
    }
    SaveBindingFiles(fake.files, grid);
    ui::Grid loaded{"StringGrid1", nullptr, {}, kBindingRows, 2};
    LoadBindingFiles(fake.files, loaded);
    for (int row = 1; row < kBindingRows; ++row) {
        EXPECT_EQ(loaded.cell(row, 1), grid.cell(row, 1)) << row;
        if (IsUserKeyRow(row)) {
            EXPECT_EQ(loaded.cell(row, 0), grid.cell(row, 0)) << row;
        }
    }
}

TEST_F(SaveTest, FailuresAndTheirMessages) {
    struct Case {
        const char* name;
        std::string failingPath;
        Files::WriteError error;
        std::string message;
        bool keyTextsWritten;
    };
    const Case cases[] = {
        {"LIRCAC.LST not created", "C:\\Kivra\\LIRCAC.LST", {true, true, "Access is denied"},
         "Cannot create file \"C:\\Kivra\\LIRCAC.LST\". Access is denied", false},
        {"LIRCAC.LST not written", "C:\\Kivra\\LIRCAC.LST", {true, false, "Disk full"}, "Stream write error", false},
        {"LIRCHT.LST not created", "C:\\Kivra\\LIRCHT.LST", {true, true, "Access is denied"},
         "Cannot create file \"C:\\Kivra\\LIRCHT.LST\". Access is denied", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.log.clear();
        fake.files.writeFailures.clear();
        fake.files.writeFailures[c.failingPath] = c.error;
        try {
            SaveBindingFiles(fake.files, grid);
            ADD_FAILURE() << "no error reported";
        } catch (const KivraError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        EXPECT_EQ(fake.calls("WriteFile").size(), c.keyTextsWritten ? 2u : 1u);
        EXPECT_EQ(fake.calls("WriteFile").front(), "WriteFile(C:\\Kivra\\LIRCAC.LST)");
    }
}

}  // namespace
}  // namespace kivra
