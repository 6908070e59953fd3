// The text codec, through which every outside text passes (WinLIRC's bytes, the binding files,
// whatever Windows hands over as UTF-16).
// Properties:
//   - code page 1251 bytes decode to valid UTF-8 and encode back to the same bytes;
//   - any byte string becomes UTF-16 without a NUL that was not in it, and UTF-16 made from it
//     comes back as the same UTF-16;
//   - valid UTF-8 survives the way through UTF-16 unchanged, and becomes one 1251 byte per
//     character;
//   - any UTF-16 (lone surrogates included) survives the way through UTF-8 unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/TextCodec.h"

#include "FuzzSupport.h"

namespace {

using kivra::fuzzing::Check;

// Strict UTF-8: shortest forms, at most U+10FFFF; surrogates too, as UTF-16 from Windows may
// hold lone ones and they must survive.
bool ValidUtf8(const std::string& text, std::size_t& characters) {
    characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra;
        char32_t c;
        if (lead < 0x80) extra = 0, c = lead;
        else if (lead >= 0xC2 && lead < 0xE0) extra = 1, c = lead & 0x1F;
        else if (lead >= 0xE0 && lead < 0xF0) extra = 2, c = lead & 0x0F;
        else if (lead >= 0xF0 && lead < 0xF5) extra = 3, c = lead & 0x07;
        else return false;
        if (text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF))) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::size_t characters = 0;

    const std::string decoded = kivra::Utf8FromCp1251(bytes);
    Check(ValidUtf8(decoded, characters) && characters == bytes.size());
    Check(kivra::Cp1251FromUtf8(decoded) == bytes);

    const std::u16string wide = kivra::Utf16FromUtf8(bytes);
    if (bytes.find('\0') == std::string::npos) Check(wide.find(u'\0') == std::u16string::npos);
    Check(kivra::Utf16FromUtf8(kivra::Utf8FromUtf16(wide)) == wide);
    if (ValidUtf8(bytes, characters)) {
        Check(kivra::Utf8FromUtf16(wide) == bytes);
        Check(kivra::Cp1251FromUtf8(bytes).size() == characters);
    }

    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    Check(kivra::Utf16FromUtf8(kivra::Utf8FromUtf16(units)) == units);
    return 0;
}
