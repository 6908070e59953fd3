// Volume of the default playback device: its endpoint master volume per channel through Core
// Audio, or the wave-out volume where Core Audio is missing (before Windows Vista).
#pragma once

#include "platform/Platform.h"
#include "platform/win32/ComApartment.h"

namespace kivra::win32 {

class Win32Audio : public kivra::Audio {
public:
    Win32Audio() = default;
    bool getVolume(std::uint16_t& left, std::uint16_t& right) override;
    void setVolume(std::uint16_t left, std::uint16_t right) override;

private:
    ComApartment com_;
};

}  // namespace kivra::win32
