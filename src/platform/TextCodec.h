// The one text codec. Texts inside the program are UTF-8. Bytes that come from or go to the
// 8-bit world (WinLIRC lines, the binding files) are code page 1251, decoded one to one so
// that every byte sequence survives a round trip; the Win32 side speaks UTF-16.
#pragma once

#include <string>

namespace kivra {

std::string Utf8FromCp1251(const std::string& bytes);
// Characters that code page 1251 lacks become "?".
std::string Cp1251FromUtf8(const std::string& text);

std::u16string Utf16FromUtf8(const std::string& text);
std::string Utf8FromUtf16(const std::u16string& text);

}  // namespace kivra
