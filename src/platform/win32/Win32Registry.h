// String values in the registry (the autostart value).
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Registry : public kivra::Registry {
public:
    Win32Registry() = default;
    RegistryWrite writeString(RegistryRoot root, const std::string& keyPath, const std::string& name,
                              const std::string& value) override;
    void deleteValue(RegistryRoot root, const std::string& keyPath, const std::string& name) override;
    std::optional<std::string> readString(RegistryRoot root, const std::string& keyPath,
                                          const std::string& name) override;
};

}  // namespace kivra::win32
