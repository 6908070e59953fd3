// The key-combination text ("Shift+Ctrl+Alt+F10"): the one place that writes and reads it.
// It is stored in the binding files and typed by hand into menu files (SENDKEY).
#pragma once

#include <string>

#include "platform/Platform.h"

namespace kivra {

// Plain substring tests, letter case significant.
bool HasAlt(const std::string& text);
bool HasCtrl(const std::string& text);
bool HasShift(const std::string& text);

// The key name left when "+", blanks and one occurrence of each modifier word are taken out.
std::string KeyNameOf(const std::string& text);

// The text of a key with its modifiers ("Shift+", "Ctrl+", "Alt+", then the key name); the
// empty text when the key has no name. Keys outside the fixed table are named by the layout.
std::string KeyCombinationText(Keyboard& keyboard, unsigned virtualKey, bool shift, bool ctrl, bool alt);

// The virtual-key code that SendKeyCombination types for a key name; 0 when it types none.
unsigned VirtualKeyOfName(const std::string& keyName);

}  // namespace kivra
