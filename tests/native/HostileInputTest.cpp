// Inputs found by fuzzing and by the benchmarks that once cost too much or broke a rule, kept as
// tables so each stays handled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestMainWindow.h"
#include "bindings/BindingFiles.h"
#include "bindings/BindingTable.h"
#include "platform/TextCodec.h"
#include "platform/fake/FakePlatform.h"

namespace kivra {
namespace {

// Binding files that are mostly line ends. Splitting them whole made one string per line end:
// 10 MB of line ends took gigabytes before the 45 lines the table holds were cut out.
TEST(HostileInput, BindingFilesOfMillionsOfLineEndsLoadOnlyTheirFirstLines) {
    const std::string many(10 << 20, '\n');
    struct Case {
        const char* what;
        std::string buttons, keyTexts;
        std::string row1, row44, key25, key44;
    };
    const std::vector<Case> cases = {
        {"line ends only", many, many, "", "", "", ""},
        {"names after the line ends", many + "LATE\r\n", std::string(10 << 20, '\r') + "Alt+F4", "", "", "", ""},
        {"names before the line ends", "\r\nMENU\r\n" + many, "Ctrl+C\n" + many, "MENU", "", "Ctrl+C", ""},
        {"CR LF pairs", std::string(5 << 20, '\r') + many, "\r\n\r\n", "", "", "", ""},
    };
    for (const Case& c : cases) {
        fake::FakePlatform fake;
        fake.files.contents[fake.files.directory + "LIRCAC.LST"] = c.buttons;
        fake.files.contents[fake.files.directory + "LIRCHT.LST"] = c.keyTexts;
        ui::Grid grid("StringGrid1", nullptr, {}, kBindingRows, 2);
        for (int row = 0; row < kBindingRows; ++row) grid.setCell(row, 0, "label");
        LoadBindingFiles(fake.files, grid);
        EXPECT_EQ(grid.cell(1, 1), c.row1) << c.what;
        EXPECT_EQ(grid.cell(44, 1), c.row44) << c.what;
        EXPECT_EQ(grid.cell(25, 0), c.key25) << c.what;
        EXPECT_EQ(grid.cell(44, 0), c.key44) << c.what;
        EXPECT_EQ(grid.cell(24, 0), "label") << c.what;  // column 0 of the fixed rows is not loaded
    }
}

// UTF-8 that is not in its shortest form, or beyond U+10FFFF, is malformed: each byte becomes
// U+FFFD. C0 80 once decoded to a NUL, which would cut the text short at the Win32 edge.
TEST(HostileInput, OverlongAndOutOfRangeUtf8BecomesReplacement) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const std::vector<Case> cases = {
        {"a\xC0\x80" "b", u"a\uFFFD\uFFFDb"},                    // NUL, overlong
        {"\xC1\xBF", u"\uFFFD\uFFFD"},                             // DEL, overlong
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},                   // "/", overlong
        {"\xF0\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},         // NUL in four bytes
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},         // U+110000
        {"\xF7\xBF\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},         // U+1FFFFF
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},                      // the last character stays
        {"\xED\xA0\x80", std::u16string(1, char16_t{0xD800})},   // a lone surrogate stays
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(c.utf16)), c.utf16) << c.utf8;
    }
}

// The server resets the connection in the middle of a line and comes back: the half line goes
// with the old connection, so the first line of the new one is captured whole, not glued to it
// (glued, setup mode captured "VOL0000000000f40bf0" into the selected row).
TEST(HostileInput, HalfALineDoesNotOutliveItsConnection) {
    const std::vector<std::string> halves = {"0000000000f40bf0 00 VOL", "0000000000f40bf0 00 ", "x", "1 2 3"};
    for (const std::string& half : halves) {
        testing::TestMainWindow window;
        window.SetSettings("[Common]\nTryConnect=1\n");
        TForm1& f = window.StartUp();
        window.fake.network.last->completeConnect();
        f.StringGrid1.select(8, 0);
        window.fake.network.last->deliver(half);
        window.fake.network.last->closeByPeer(10054);
        f.Timer1.tick();
        ASSERT_NE(window.fake.network.last, nullptr) << half;
        window.fake.network.last->completeConnect();
        window.fake.network.last->deliver("0000000000f40bf0 00 VOL_UP RM-D420\n");
        EXPECT_EQ(f.sStatusBar1.panel(1), "Последняя команда: RM-D420->VOL_UP") << half;
        EXPECT_EQ(f.StringGrid1.cell(8, 1), "VOL_UP") << half;
    }
}

}  // namespace
}  // namespace kivra
