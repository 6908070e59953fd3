// GetTickCount and Sleep.
#pragma once

#include "platform/Platform.h"

namespace kivra::win32 {

class Win32Clock : public kivra::Clock {
public:
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;
};

}  // namespace kivra::win32
