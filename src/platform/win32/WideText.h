// UTF-8 texts of the program as the W functions take them, and back.
#pragma once

#include <string>

#include "platform/TextCodec.h"

namespace kivra::win32 {

// wchar_t is 16 bits on Windows, so UTF-16 code units carry over one to one.
inline std::wstring WideFromUtf8(const std::string& text) {
    const std::u16string utf16 = Utf16FromUtf8(text);
    return std::wstring(utf16.begin(), utf16.end());
}

inline std::string Utf8FromWide(const std::wstring& text) {
    return Utf8FromUtf16(std::u16string(text.begin(), text.end()));
}

}  // namespace kivra::win32
