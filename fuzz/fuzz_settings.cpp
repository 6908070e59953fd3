// The integers of the settings file and the menu file, as the profile service hands them over.
// Properties:
//   - ParseProfileInteger agrees with a plain reading of the format: decimal with an optional
//     minus sign, or hexadecimal after "0x", "0X" or "$", nothing else, within 64 bits;
//   - every value it accepts is written back by the decimal form to the same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/ProfileValues.h"

namespace {

void Check(bool property) {
    if (!property) std::abort();
}

std::optional<long long> ModelInteger(const std::string& text) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<long long> value = kivra::ParseProfileInteger(text);
    Check(value == ModelInteger(text));
    if (value) Check(kivra::ParseProfileInteger(std::to_string(*value)) == value);
    return 0;
}
