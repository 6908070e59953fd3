#include "app/win32/DirectoryListing.h"

#include <windows.h>

#include "platform/TextCodec.h"

namespace kivra::win32 {
namespace {

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

std::vector<std::string> ListFiles(const std::string& directory) {
    std::vector<std::string> names;
    std::string pattern = directory;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    const std::u16string wide = Utf16FromUtf8(pattern);
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), &data));
    if (find.get() == INVALID_HANDLE_VALUE) return names;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        names.push_back(Utf8FromUtf16(reinterpret_cast<const char16_t*>(data.cFileName)));
    } while (FindNextFileW(find.get(), &data));
    return names;
}

}  // namespace kivra::win32
