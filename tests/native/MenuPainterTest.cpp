#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu/RyMenus.h"
#include "menu/Utils.h"
#include "toolkit/headless/RecordingCanvas.h"

namespace kivra {
namespace {

using ui::Rgb;
using Lines = std::vector<std::string>;

// The classic palette: button face 212,208,200, highlight 10,36,106, shadow 128,128,128.
const Utils::SystemColorLookup kClassic = ui::ClassicSystemColor;

TEST(Utils, LightenColorMovesTowardWhiteRoundingHalvesToEven) {
    const struct { ui::Color color; int percent; ui::Color expected; } cases[] = {
        {Rgb(212, 208, 200), 85, Rgb(249, 248, 247)},
        {ui::clBtnFace, 85, Rgb(249, 248, 247)},  // looked up first
        {Rgb(0, 0, 0), 50, Rgb(128, 128, 128)},   // 127.5 goes up to the even 128
        {Rgb(2, 2, 2), 50, Rgb(128, 128, 128)},   // 128.5 goes down to the even 128
        {ui::clHighlight, 65, Rgb(169, 178, 203)},
        {Rgb(1, 2, 3), 0, Rgb(1, 2, 3)},
        {Rgb(1, 2, 3), 100, ui::clWhite},
        {Rgb(1, 2, 3), 150, ui::clWhite},         // beyond the range: the nearer end
        {Rgb(1, 2, 3), -20, Rgb(1, 2, 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utils::LightenColor(c.color, c.percent, kClassic), c.expected)
            << std::hex << c.color << " at " << std::dec << c.percent;
}

TEST(Utils, SplitColorLooksUpSystemColours) {
    const Utils::ColorParts face = Utils::SplitColor(ui::clBtnFace, kClassic);
    EXPECT_EQ((Lines{std::to_string(face.red), std::to_string(face.green), std::to_string(face.blue)}),
              (Lines{"212", "208", "200"}));
    const Utils::ColorParts rgb = Utils::SplitColor(Rgb(1, 2, 3), kClassic);
    EXPECT_EQ(rgb.red + rgb.green * 10 + rgb.blue * 100, 321);
}

TEST(Utils, MonoBitmapFollowsItsPattern) {
    // "-" starts the next row, any other character skips a pixel, what lies outside is dropped.
    EXPECT_EQ(Utils::PaintMonoBitmap("1x1-0111-1", 3, 2), (Lines{"101", "011"}));
}

TEST(RyMenus, CheckGlyphIsACheckMarkInRowsThreeToNine) {
    EXPECT_EQ(CheckGlyph(), (Lines{
                                "000000000000",
                                "000000000000",
                                "000000000000",
                                "000000001000",
                                "000000011000",
                                "001000111000",
                                "001101110000",
                                "001111100000",
                                "000111000000",
                                "000010000000",
                                "000000000000",
                                "000000000000",
                            }));
}

TEST(RyMenus, InitialColoursAreFixedWhenThePainterIsMade) {
    TRyMenu painter(kClassic);
    EXPECT_EQ(painter.GutterColor, ui::clBtnFace);  // follows the system
    EXPECT_EQ(painter.MenuColor, Rgb(249, 248, 247));
    EXPECT_EQ(painter.SelectedColor, Rgb(169, 178, 203));
    EXPECT_EQ(painter.CheckedColor, Utils::LightenColor(Rgb(10, 36, 106), 75, kClassic));
    EXPECT_EQ(painter.MinWidth, 0);
    EXPECT_EQ(painter.MinHeight, 20);
    EXPECT_EQ(painter.Font, ui::FontSpec{});  // the system's menu font
}

// The recording canvas: text height round(points * 4 / 3), 0.6 of it per character.
TEST(RyMenus, MeasureItemSizesItemsAndSeparators) {
    const struct { int points; int minWidth; const char* caption; int width; int height; } cases[] = {
        {32, 50, "Open", 165, 47},  // 43 + 4 high; 103 + 47 + 15 wide
        {32, 50, "-", 88, 11},      // 26 + 47 + 15 wide, but 11 high
        {9, 0, "A", 42, 20},        // 12 + 4 is below MinHeight 20; 7 + 20 + 15 wide
        {9, 50, "A", 50, 20},       // widened to MinWidth
        {9, 0, "-", 42, 5},         // separators up to 20 high become 5
        {12, 0, "-", 45, 5},        // 16 + 4 = 20 is not above 20
        {13, 0, "-", 46, 11},       // 17 + 4 = 21 is
    };
    for (const auto& c : cases) {
        TRyMenu painter(kClassic);
        painter.SetFontSize(c.points);
        painter.MinWidth = c.minWidth;
        ui::headless::RecordingCanvas canvas;
        int width = 0;
        int height = 0;
        painter.MeasureItem(ui::MenuItem(c.caption), canvas, width, height);
        EXPECT_EQ(width, c.width) << c.points << " pt " << c.caption;
        EXPECT_EQ(height, c.height) << c.points << " pt " << c.caption;
    }
}

TEST(RyMenus, GutterIsOneWiderThanTheItemAndSeparatorsMatchTheirItems) {
    const struct { int points; const char* caption; int rectHeight; int gutter; } cases[] = {
        {32, "Open", 47, 48},
        {32, "-", 11, 48},   // from the text height, not the separator's 11 pixels
        {9, "Open", 20, 21},
        {9, "-", 5, 21},     // never below MinHeight
    };
    for (const auto& c : cases) {
        TRyMenu painter(kClassic);
        painter.SetFontSize(c.points);
        ui::headless::RecordingCanvas canvas;
        EXPECT_EQ(painter.GutterWidth(ui::MenuItem(c.caption), canvas, c.rectHeight), c.gutter)
            << c.points << " pt " << c.caption;
    }
}

class DrawItemTest : public ::testing::Test {
protected:
    TRyMenu painter{kClassic};
    ui::headless::RecordingCanvas canvas;
    DrawItemTest() { painter.SetFontSize(32); }
    Lines draw(const char* caption, ui::Rect rect, unsigned state) {
        painter.DrawItem(ui::MenuItem(caption), canvas, rect, state);
        return canvas.drawing();
    }
};

TEST_F(DrawItemTest, UnselectedItemHasGutterTextAreaAndCaption) {
    EXPECT_EQ(draw("Open", {0, 47, 165, 47}, 0), (Lines{
                                                     "setFont(,32,normal,00000000)",
                                                     "setPen(00000000)",
                                                     "setBrush(FF00000F)",
                                                     "fillRect(0,47,48,94)",
                                                     "setBrush(00F7F8F9)",
                                                     "fillRect(48,47,165,94)",
                                                     "setFont(,32,normal,00000000)",
                                                     "setBrushClear()",
                                                     "drawText(Open,53,47,165,94,8124)",
                                                 }));
}

TEST_F(DrawItemTest, SelectedItemIsFramedAndTintedWhole) {
    EXPECT_EQ(draw("Open", {0, 0, 165, 47}, MenuItemState::Selected), (Lines{
                                                                          "setFont(,32,normal,00000000)",
                                                                          "setPen(00000000)",
                                                                          "setBrush(00CBB2A9)",
                                                                          "rectangle(0,0,165,47)",
                                                                          "setFont(,32,normal,00000000)",
                                                                          "setBrushClear()",
                                                                          "drawText(Open,53,0,165,47,8124)",
                                                                      }));
}

TEST_F(DrawItemTest, SeparatorIsALineThroughTheMiddleRightOfTheGutter) {
    const Lines calls = draw("-", {0, 94, 165, 11}, 0);
    EXPECT_EQ(calls.at(3), "fillRect(0,94,48,105)");
    EXPECT_EQ(calls.back(), "line(53,99,165,99)");
    EXPECT_EQ(calls.at(calls.size() - 2), "setPen(FF000010)");
}

TEST_F(DrawItemTest, CheckedDisabledDefaultItemHasBoxGlyphGreyBoldText) {
    const Lines calls = draw("Opt", {0, 0, 165, 47},
                             MenuItemState::Checked | MenuItemState::Disabled | MenuItemState::Default);
    const Lines expectedTail{
        "setPen(FF000010)",
        "setBrush(00DAC8C2)",  // LightenColor(highlight, 75): 194,200,218
        "rectangle(1,1,46,46)",
        "drawMonoGlyph(00000000,17,17)",
        "setFont(,32,bold,00808080)",
        "setBrushClear()",
        "drawText(Opt,53,0,165,47,8124)",
    };
    EXPECT_EQ(Lines(calls.end() - 7, calls.end()), expectedTail);
    EXPECT_EQ(canvas.lastGlyph, CheckGlyph());
}

TEST_F(DrawItemTest, ItemNotAtTheLeftEdgeKeepsItsGutterUnderItself) {
    const Lines calls = draw("Open", {200, 0, 165, 47}, 0);
    EXPECT_EQ(calls.at(3), "fillRect(200,0,248,47)");
    EXPECT_EQ(calls.at(5), "fillRect(248,0,365,47)");
    EXPECT_EQ(calls.back(), "drawText(Open,253,0,365,47,8124)");
}

TEST(RyMenus, AssignToHooksEveryItemAndALaterPainterTakesThemOver) {
    ui::PopupMenu menu("PopupMenu1");
    ui::MenuItem& parent = menu.root.add(std::make_unique<ui::MenuItem>("Parent"));
    ui::MenuItem& child = parent.add(std::make_unique<ui::MenuItem>("Child"));
    ui::MenuItem& grandchild = child.add(std::make_unique<ui::MenuItem>("Grandchild"));

    TRyMenu first(kClassic);
    first.AssignTo(menu);
    EXPECT_TRUE(menu.ownerDraw);
    EXPECT_EQ(grandchild.painter, &first);

    TRyMenu second(kClassic);
    second.AssignTo(menu);
    for (ui::MenuItem* item : {&parent, &child, &grandchild}) EXPECT_EQ(item->painter, &second) << item->caption;

    ui::MenuItem& late = menu.root.add(std::make_unique<ui::MenuItem>("Late"));
    EXPECT_EQ(late.painter, nullptr);  // until the next AssignTo
}

}  // namespace
}  // namespace kivra
