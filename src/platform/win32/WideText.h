// UTF-8 <-> UTF-16 at the edge of the W functions. wchar_t is 16 bits on Windows.
#pragma once

#include <string>

#include "platform/TextCodec.h"

namespace kivra::win32 {

inline std::wstring Wide(const std::string& text) {
    const std::u16string utf16 = Utf16FromUtf8(text);
    return std::wstring(utf16.begin(), utf16.end());
}

inline std::string Narrow(const wchar_t* text, std::size_t length) {
    return Utf8FromUtf16(std::u16string(text, text + length));
}

inline std::string Narrow(const std::wstring& text) {
    return Narrow(text.data(), text.size());
}

}  // namespace kivra::win32
