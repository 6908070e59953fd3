#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace kivra::win32 {
namespace {

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// An open key, or none when it cannot be opened with that access.
UniqueRegistryKey OpenKey(RegistryRoot root, const std::wstring& path, REGSAM access) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(RootKey(root), path.c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
    return UniqueRegistryKey(opened);
}

// Creates the key if it is missing; false when it cannot be created.
bool CreateKey(RegistryRoot root, const std::wstring& path) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
        return false;
    const UniqueRegistryKey closedOnReturn(created);
    return true;
}

}  // namespace

RegistryWrite Win32Registry::writeString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                                         const std::string& value) {
    const std::wstring path = Wide(keyPath);
    if (!CreateKey(root, path)) return RegistryWrite::CreateKeyFailed;
    // A key that was just created but cannot be opened has not been written to: the caller
    // must hear that, not believe the value is in place.
    const UniqueRegistryKey key = OpenKey(root, path, KEY_ALL_ACCESS);
    if (!key) return RegistryWrite::CreateKeyFailed;
    const std::wstring data = Wide(value);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));  // with the NUL
    if (RegSetValueExW(key.get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       bytes) != ERROR_SUCCESS)
        return RegistryWrite::SetValueFailed;
    return RegistryWrite::Ok;
}

void Win32Registry::deleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) {
    const UniqueRegistryKey key = OpenKey(root, Wide(keyPath), KEY_ALL_ACCESS);
    if (!key) return;
    RegDeleteValueW(key.get(), Wide(name).c_str());
}

std::optional<std::string> Win32Registry::readString(RegistryRoot root, const std::string& keyPath,
                                                     const std::string& name) {
    const UniqueRegistryKey key = OpenKey(root, Wide(keyPath), KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    const std::wstring valueName = Wide(name);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // One spare character, so data stored without its NUL still ends in one.
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    return Narrow(std::wstring(buffer.data()));
}

}  // namespace kivra::win32
