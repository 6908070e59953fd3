#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace kivra::win32 {

namespace {

// The profile service reads and writes 8-bit texts in the ANSI code page, so the file looks
// the same to every program on this system that uses the A functions.
std::string AnsiFromUtf8(const std::string& text) {
    const std::wstring wide = Wide(text);
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), size, nullptr,
                        nullptr);
    return ansi;
}

std::string Utf8FromAnsi(const char* text, int length) {
    if (length <= 0) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), size);
    return Narrow(wide);
}

constexpr DWORD kValueBufferSize = 2048;

}  // namespace

std::string Win32Profile::readString(const std::string& file, const std::string& section, const std::string& key,
                                     const std::string& fallback) {
    char value[kValueBufferSize] = {};
    const DWORD length = GetPrivateProfileStringA(AnsiFromUtf8(section).c_str(), AnsiFromUtf8(key).c_str(),
                                                  AnsiFromUtf8(fallback).c_str(), value, kValueBufferSize,
                                                  AnsiFromUtf8(file).c_str());
    return Utf8FromAnsi(value, static_cast<int>(length));
}

bool Win32Profile::writeString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value) {
    return WritePrivateProfileStringA(AnsiFromUtf8(section).c_str(), AnsiFromUtf8(key).c_str(),
                                      AnsiFromUtf8(value).c_str(), AnsiFromUtf8(file).c_str()) != FALSE;
}

}  // namespace kivra::win32
