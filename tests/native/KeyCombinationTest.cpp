#include <gtest/gtest.h>

#include "actions/KeyCombination.h"
#include "platform/fake/FakePlatform.h"

namespace kivra {
namespace {

TEST(KeyCombination, ModifierWordsArePlainCaseSensitiveSubstrings) {
    struct Case { const char* text; bool alt, ctrl, shift; };
    const Case cases[] = {
        {"Shift+Ctrl+Alt+F10", true, true, true},
        {"ShiftCtrlA", false, true, true},
        {"ctrl+alt+shift+A", false, false, false},
        {"Alternate", true, false, false},  // anywhere in the text
        {"", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HasAlt(c.text), c.alt);
        EXPECT_EQ(HasCtrl(c.text), c.ctrl);
        EXPECT_EQ(HasShift(c.text), c.shift);
    }
}

TEST(KeyCombination, KeyNameOfRemovesSeparatorsAndOneOfEachModifier) {
    const std::pair<const char*, const char*> cases[] = {
        {"Shift+Ctrl+Alt+F10", "F10"},
        {"Ctrl + Shift + A", "A"},
        {"ShiftCtrlA", "A"},
        {"Ctrl+Ctrl+A", "CtrlA"},  // only the first Ctrl goes
        {"Alt+Enter", "Enter"},
        {"ctrl+c", "ctrlc"},
        {"Ctrl+c", "c"},
        {"Shift+Insert", "Insert"},
        {"7", "7"},
        {"+", ""},
        {"", ""},
        {"Ctrl+\t", "\t"},  // only "+" and blanks are separators
    };
    for (const auto& [text, name] : cases) EXPECT_EQ(KeyNameOf(text), name) << '"' << text << '"';
}

TEST(KeyCombination, VirtualKeyOfNameKnowsOnlyTheReadVocabulary) {
    const std::pair<const char*, unsigned> cases[] = {
        {"F1", 112}, {"F10", 121}, {"F12", 123}, {"F13", 0}, {"F0", 0}, {"f1", 0},
        {"Insert", 45}, {"Ins", 0}, {"Tab", 9}, {"Up", 38}, {"Down", 40}, {"Left", 37}, {"Right", 39},
        {"0", 48}, {"9", 57}, {"A", 65}, {"Z", 90}, {"a", 0}, {"AB", 0},
        {"Enter", 0}, {"Esc", 0}, {"Space", 0}, {"BkSp", 0}, {"PgUp", 0}, {"Home", 0}, {"Del", 0}, {"", 0},
    };
    for (const auto& [name, vk] : cases) EXPECT_EQ(VirtualKeyOfName(name), vk) << '"' << name << '"';
}

struct TextCase { unsigned vk; bool shift, ctrl, alt; const char* text; };

TEST(KeyCombination, TextOfKeyWithModifiers) {
    fake::FakePlatform fake;
    fake.keyboard.scanCodes[186] = 39;
    fake.keyboard.keyNames[39] = ";";
    fake.keyboard.scanCodes[20] = 58;
    fake.keyboard.keyNames[58] = "Caps Lock";
    const TextCase cases[] = {
        {113, true, false, true, "Shift+Alt+F2"},
        {121, true, true, true, "Shift+Ctrl+Alt+F10"},
        {45, false, false, false, "Ins"},
        {103, false, true, false, "Ctrl+7"},  // numeric keypad 7
        {96, false, false, false, "0"},
        {67, false, true, false, "Ctrl+C"},
        {135, false, false, false, "F24"},
        {8, false, false, false, "BkSp"},   {13, false, false, false, "Enter"},
        {27, false, false, false, "Esc"},   {32, false, false, false, "Space"},
        {33, false, false, false, "PgUp"},  {34, false, false, false, "PgDn"},
        {35, false, false, false, "End"},   {36, false, false, false, "Home"},
        {37, false, false, false, "Left"},  {38, false, false, false, "Up"},
        {39, false, false, false, "Right"}, {40, false, false, false, "Down"},
        {46, false, false, false, "Del"},   {9, false, false, true, "Alt+Tab"},
        {186, false, true, false, "Ctrl+;"},           // named by the layout
        {20, true, false, false, "Shift+Caps Lock"},
        {255, true, true, true, ""},                   // no scan code: no name, no modifiers
        {0, true, false, false, ""},                   // an empty hot-key field
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(KeyCombinationText(fake.keyboard, c.vk, c.shift, c.ctrl, c.alt), c.text) << "vk " << c.vk;
}

// What the writer produces, the reader types: the same key, a main-row digit for a keypad
// digit, or nothing for the names it does not read.
TEST(KeyCombination, WrittenTextsReadBackAsTheSameKeyOrNone) {
    fake::FakePlatform fake;
    for (unsigned vk = 1; vk < 256; ++vk) {
        fake.keyboard.scanCodes[vk] = vk;
        fake.keyboard.keyNames[vk] = "Key" + std::to_string(vk);
    }
    for (unsigned vk = 1; vk < 256; ++vk) {
        unsigned typed = 0;
        if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || (vk >= 112 && vk <= 123) || vk == 9 ||
            (vk >= 37 && vk <= 40))
            typed = vk;
        else if (vk >= 96 && vk <= 105)
            typed = '0' + (vk - 96);
        for (int mods = 0; mods < 8; ++mods) {
            const std::string text = KeyCombinationText(fake.keyboard, vk, mods & 1, mods & 2, mods & 4);
            EXPECT_EQ(VirtualKeyOfName(KeyNameOf(text)), typed) << text;
            EXPECT_EQ(HasShift(text), (mods & 1) != 0) << text;
            EXPECT_EQ(HasCtrl(text), (mods & 2) != 0) << text;
            EXPECT_EQ(HasAlt(text), (mods & 4) != 0) << text;
        }
    }
}

}  // namespace
}  // namespace kivra
