// Colour and monochrome-bitmap helpers of the owner-drawn menus (module Utils). They serve
// any menu; nothing here knows about the remote menu.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Canvas.h"

namespace kivra::Utils {

using SystemColorLookup = std::function<ui::Color(int)>;

// A monochrome bitmap as rows of '1' (black) and '0' (white), all of one length.
using MonoBitmap = std::vector<std::string>;

int Max(int a, int b);

struct ColorParts {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// The red, green and blue bytes; a system colour is looked up first.
ColorParts SplitColor(ui::Color color, const SystemColorLookup& systemColor);

// The colour moved toward white: each byte c becomes c + (255 - c) * percent / 100, rounded
// to the nearest integer with halves to the even one. A percentage outside 0..100 is taken
// as the nearer end. The result is always an RGB colour.
ui::Color LightenColor(ui::Color color, int percent, const SystemColorLookup& systemColor);

// A white width x height bitmap painted from a pattern: "-" moves to the start of the next
// row, "1" paints the pixel black and moves right, any other character just moves right.
// What falls outside the bitmap is dropped.
MonoBitmap PaintMonoBitmap(const std::string& pattern, int width, int height);

// Paints the black pixels of bitmap in colour at x, y and leaves the canvas untouched under
// its white ones.
void DrawMonoBitmap(ui::Canvas& canvas, const MonoBitmap& bitmap, ui::Color color, int x, int y);

}  // namespace kivra::Utils
