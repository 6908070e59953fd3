// Placeholder until keyboard emulation lands.
#include "actions/KivraUtils.h"

namespace kivra {
void KivraUtils::PressKey(std::uint8_t) {}
void KivraUtils::KeyDown(std::uint8_t) {}
void KivraUtils::KeyUp(std::uint8_t) {}
void KivraUtils::SendKeyCombination(const std::string&) {}
}  // namespace kivra
