#include <gtest/gtest.h>

#include <limits>

#include "platform/ProfileValues.h"

namespace kivra {

TEST(ParseProfileInteger, ReadsDecimalAndBothHexForms) {
    const struct { const char* text; std::optional<long long> expected; } cases[] = {
        {"0", 0},
        {"12", 12},
        {"007", 7},
        {"-1", -1},
        {"0x10", 16},
        {"0X1f", 31},
        {"$10", 16},
        {"$fF", 255},
        {"0x7FFFFFFF", 2147483647},
        {"9223372036854775807", std::numeric_limits<long long>::max()},
        {"-9223372036854775808", std::numeric_limits<long long>::min()},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseProfileInteger(c.text), c.expected) << c.text;
}

TEST(ParseProfileInteger, RejectsEverythingElse) {
    const char* cases[] = {"", "ten", "-", "--1", "+5", " 5", "5 ", "1.5", "0x", "$", "0x1g", "-0x10", "-$1",
                           "12abc", "9223372036854775808", "-9223372036854775809", "0x10000000000000000"};
    for (const char* text : cases) EXPECT_EQ(ParseProfileInteger(text), std::nullopt) << text;
}

}  // namespace kivra
