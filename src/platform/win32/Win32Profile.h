// The private-profile (INI) service. Texts go to the file in the ANSI code page, so the file
// reads the same to any program that uses the A functions on this system.
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Profile : public kivra::Profile {
public:
    explicit Win32Profile(Files& files) : files_(files) {}
    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    IniDocument readFile(const std::string& file) override;

private:
    Files& files_;
};

}  // namespace kivra::win32
