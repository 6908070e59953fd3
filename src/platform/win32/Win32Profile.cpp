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

// Where the service looks for a file: a name without any path in the Windows directory.
std::string ProfilePath(const std::string& file) {
    if (file.find_first_of("\\/:") != std::string::npos) return file;
    wchar_t directory[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return file;
    return Narrow(directory, length) + "\\" + file;
}

// The file's bytes as text: UTF-16 or UTF-8 after their byte-order marks, else the ANSI code page.
std::string ProfileText(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        std::u16string utf16((bytes.size() - 2) / 2, u'\0');
        for (std::size_t i = 0; i < utf16.size(); ++i)
            utf16[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                             static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        return Utf8FromUtf16(utf16);
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return bytes.substr(3);
    return Utf8FromAnsi(bytes.data(), static_cast<int>(bytes.size()));
}

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

IniDocument Win32Profile::readFile(const std::string& file) {
    const std::optional<std::string> bytes = files_.read(ProfilePath(file));
    return bytes ? IniDocument::Parse(ProfileText(*bytes)) : IniDocument();
}

}  // namespace kivra::win32
