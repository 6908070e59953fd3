#include "platform/win32/Win32Files.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace kivra::win32 {

std::string SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (buffer) {
        text.assign(buffer, length);
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'.' ||
                             text.back() == L' '))
        text.pop_back();
    return Narrow(text);
}

bool Win32Files::exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> Win32Files::read(const std::string& path) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    return bytes;
}

Files::WriteError Win32Files::writeAtomically(const std::string& path, const std::string& bytes) {
    const std::wstring target = Wide(path);
    const std::wstring temporary = target + L".new";
    UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    auto failure = [&](bool createFailed) {
        WriteError error;
        error.failed = true;
        error.createFailed = createFailed;
        error.reason = SystemErrorText(GetLastError());  // before the clean-up changes the last error
        file.reset();
        DeleteFileW(temporary.c_str());
        return error;
    };
    if (!file) return failure(true);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (!WriteFile(file.get(), bytes.data() + written, part, &done, nullptr) || done == 0)
            return failure(false);
        written += done;
    }
    if (!FlushFileBuffers(file.get())) return failure(false);
    file.reset();

    // The old file stays whole until the new one is complete. A target that cannot be
    // replaced (read-only, locked) is the same to the user as one that cannot be created.
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failure(true);
    return WriteError{};
}

std::string Win32Files::executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string Win32Files::executableDirectory() {
    const std::string path = executablePath();
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace kivra::win32
