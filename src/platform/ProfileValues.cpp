#include "platform/ProfileValues.h"

#include <limits>

namespace kivra {

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Reads digits[from..] as a non-negative number; nullopt when empty, not a digit, or too large.
std::optional<long long> ParseDigits(const std::string& text, size_t from, int base, bool negative) {
    if (from >= text.size()) return std::nullopt;
    // Accumulate toward the sign so that the most negative value still fits.
    constexpr long long kMax = std::numeric_limits<long long>::max();
    constexpr long long kMin = std::numeric_limits<long long>::min();
    long long value = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) return std::nullopt;
        if (negative) {
            if (value < (kMin + digit) / base) return std::nullopt;
            value = value * base - digit;
        } else {
            if (value > (kMax - digit) / base) return std::nullopt;
            value = value * base + digit;
        }
    }
    return value;
}

}  // namespace

std::optional<long long> ParseProfileInteger(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseDigits(text, 2, 16, false);
    if (!text.empty() && text[0] == '$') return ParseDigits(text, 1, 16, false);
    if (!text.empty() && text[0] == '-') return ParseDigits(text, 1, 10, true);
    return ParseDigits(text, 0, 10, false);
}

}  // namespace kivra
