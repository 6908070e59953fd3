#include <gtest/gtest.h>

#include "platform/TextCodec.h"

namespace kivra {

TEST(TextCodec, Cp1251RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Cp1251FromUtf8(Utf8FromCp1251(all)), all);
}

TEST(TextCodec, DecodesRussianHeader) {
    // " Команда WinLIRC" as the binding file stores it.
    const std::string bytes = "\x20\xCA\xEE\xEC\xE0\xED\xE4\xE0 WinLIRC";
    EXPECT_EQ(Utf8FromCp1251(bytes), " Команда WinLIRC");
    EXPECT_EQ(Cp1251FromUtf8(" Команда WinLIRC"), bytes);
}

TEST(TextCodec, Utf16RoundTrip) {
    const std::string text = "Режим настройки \xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8(text)), text);
    EXPECT_EQ(Utf16FromUtf8("Ж"), u"Ж");
}

TEST(TextCodec, MalformedUtf8BecomesReplacement) {
    EXPECT_EQ(Cp1251FromUtf8("a\xC3"), "a?");
    EXPECT_EQ(Utf16FromUtf8("\xE0\x80"), u"\uFFFD\uFFFD");
}

}  // namespace kivra
