// The shutdown privilege, log-off and power-off, standby and hibernation.
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Power : public kivra::Power {
public:
    Win32Power() = default;
    void enablePrivilege(const std::string& privilegeName) override;
    void exitWindows(unsigned flags) override;
    void suspend(bool hibernate, bool force) override;
};

}  // namespace kivra::win32
