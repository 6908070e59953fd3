// Whole-file reading, atomic replacement, and where the executable lives.
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Files : public kivra::Files {
public:
    bool exists(const std::string& path) override;
    std::optional<std::string> read(const std::string& path) override;
    WriteError writeAtomically(const std::string& path, const std::string& bytes) override;
    std::string executablePath() override;
    std::string executableDirectory() override;
};

// The system's text for an error code, without the trailing line end and full stop.
std::string SystemErrorText(unsigned long code);

}  // namespace kivra::win32
