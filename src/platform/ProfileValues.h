// Integers as the menu file and the settings file write them.
#pragma once

#include <optional>
#include <string>

namespace kivra {

// Decimal with an optional minus sign ("12", "-1"), or hexadecimal after "0x"/"0X" ("0x10")
// or "$" ("$1F"). Nothing else is accepted: no blanks, no plus sign, no trailing characters.
// std::nullopt for any other text and for values beyond the range of long long.
std::optional<long long> ParseProfileInteger(const std::string& text);

}  // namespace kivra
