// Keyboard emulation: key events go to whatever window has the focus.
#include "actions/KeyCombination.h"
#include "actions/KivraUtils.h"

namespace kivra {
namespace {

// Every event carries the same scan code and the extended-key flag; a release adds key-up.
constexpr std::uint8_t kScanCode = 69;
constexpr std::uint32_t kPressFlags = 1;
constexpr std::uint32_t kReleaseFlags = 3;

constexpr std::uint8_t kAlt = 164;    // left Alt
constexpr std::uint8_t kCtrl = 17;    // Ctrl, neither side
constexpr std::uint8_t kShift = 160;  // left Shift

}  // namespace

void KivraUtils::KeyDown(std::uint8_t virtualKey) {
    platform_.keyboard.keyEvent(virtualKey, kScanCode, kPressFlags);
}

void KivraUtils::KeyUp(std::uint8_t virtualKey) {
    platform_.keyboard.keyEvent(virtualKey, kScanCode, kReleaseFlags);
}

void KivraUtils::PressKey(std::uint8_t virtualKey) {
    KeyDown(virtualKey);
    KeyUp(virtualKey);
    // A negative delay (typed into the field, not yet clamped) would become a wait of weeks.
    platform_.clock.sleep(keyDelay > 0 ? static_cast<std::uint32_t>(keyDelay) : 0);
}

void KivraUtils::SendKeyCombination(const std::string& text) {
    const bool alt = HasAlt(text);
    const bool ctrl = HasCtrl(text);
    const bool shift = HasShift(text);
    // Modifiers go down as Alt, Ctrl, Shift whatever order the text names them in, and come up
    // in the reverse order, so no key stays held.
    if (alt) KeyDown(kAlt);
    if (ctrl) KeyDown(kCtrl);
    if (shift) KeyDown(kShift);
    if (const unsigned vk = VirtualKeyOfName(KeyNameOf(text)); vk != 0) PressKey(static_cast<std::uint8_t>(vk));
    if (shift) KeyUp(kShift);
    if (ctrl) KeyUp(kCtrl);
    if (alt) KeyUp(kAlt);
}

}  // namespace kivra
