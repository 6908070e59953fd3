// What the fuzz targets share: the property check and the plain models they compare with.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace kivra::fuzzing {

// A broken property is a finding, like a crash.
inline void Check(bool property) {
    if (!property) std::abort();
}

// An INI integer read the plain way: decimal with an optional minus, or hexadecimal after
// "0x", "0X" or "$"; anything else, or a number beyond 64 bits, is nothing.
inline std::optional<long long> ModelInteger(const std::string& text) {
    std::size_t from = 0;
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) from = 2, base = 16;
    else if (!text.empty() && text[0] == '$') from = 1, base = 16;
    else if (!text.empty() && text[0] == '-') from = 1, negative = true;
    if (from >= text.size()) return std::nullopt;
    __int128 value = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
        if (value > (static_cast<__int128>(1) << 64)) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT64_MAX || value < INT64_MIN) return std::nullopt;
    return static_cast<long long>(value);
}

// A small deterministic generator, so one input always makes the same run.
class XorShift {
public:
    explicit XorShift(std::uint32_t seed) : state_(seed ? seed : 1) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    std::uint32_t state_;
};

}  // namespace kivra::fuzzing
