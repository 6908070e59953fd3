// Placeholder until the key-combination codec lands.
#include "actions/KeyCombination.h"

namespace kivra {
bool HasAlt(const std::string&) { return false; }
bool HasCtrl(const std::string&) { return false; }
bool HasShift(const std::string&) { return false; }
std::string KeyNameOf(const std::string&) { return {}; }
std::string KeyCombinationText(Keyboard&, unsigned, bool, bool, bool) { return {}; }
unsigned VirtualKeyOfName(const std::string&) { return 0; }
}  // namespace kivra
