#include "actions/KeyCombination.h"

#include <array>
#include <string_view>

namespace kivra {
namespace {

void EraseFirst(std::string& text, std::string_view word) {
    const size_t at = text.find(word);
    if (at != std::string::npos) text.erase(at, word.size());
}

// Names of the keys the hot-key field commonly holds; other keys are named by the layout.
std::string FixedKeyName(unsigned vk) {
    switch (vk) {
        case 8: return "BkSp";
        case 9: return "Tab";
        case 13: return "Enter";
        case 27: return "Esc";
        case 32: return "Space";
        case 33: return "PgUp";
        case 34: return "PgDn";
        case 35: return "End";
        case 36: return "Home";
        case 37: return "Left";
        case 38: return "Up";
        case 39: return "Right";
        case 40: return "Down";
        case 45: return "Ins";
        case 46: return "Del";
        default: break;
    }
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
    // The numeric keypad's digits are written as the main-row digits, and so typed as those.
    if (vk >= 96 && vk <= 105) return std::string(1, static_cast<char>('0' + (vk - 96)));
    if (vk >= 112 && vk <= 135) return std::string(1, 'F').append(std::to_string(vk - 111));
    return {};
}

}  // namespace

bool HasAlt(const std::string& text) { return text.find("Alt") != std::string::npos; }
bool HasCtrl(const std::string& text) { return text.find("Ctrl") != std::string::npos; }
bool HasShift(const std::string& text) { return text.find("Shift") != std::string::npos; }

std::string KeyNameOf(const std::string& text) {
    std::string name;
    for (char c : text)
        if (c != '+' && c != ' ') name += c;
    // The modifier tests look at the text as given; only one occurrence of each word goes, so
    // "Ctrl+Ctrl+A" leaves "CtrlA", which names no key.
    if (HasAlt(text)) EraseFirst(name, "Alt");
    if (HasCtrl(text)) EraseFirst(name, "Ctrl");
    if (HasShift(text)) EraseFirst(name, "Shift");
    return name;
}

std::string KeyCombinationText(Keyboard& keyboard, unsigned virtualKey, bool shift, bool ctrl, bool alt) {
    if (virtualKey == 0) return {};  // an empty hot-key field
    std::string name = FixedKeyName(virtualKey);
    if (name.empty()) {
        const unsigned scanCode = keyboard.scanCodeOf(virtualKey);
        if (scanCode != 0) name = keyboard.keyNameOfScanCode(scanCode);
    }
    if (name.empty()) return {};
    std::string text;
    if (shift) text += "Shift+";
    if (ctrl) text += "Ctrl+";
    if (alt) text += "Alt+";
    return text + name;
}

unsigned VirtualKeyOfName(const std::string& keyName) {
    static constexpr std::array<std::pair<std::string_view, unsigned>, 6> kNamedKeys{{
        {"Insert", 45}, {"Tab", 9}, {"Up", 38}, {"Down", 40}, {"Left", 37}, {"Right", 39},
    }};
    for (const auto& [name, vk] : kNamedKeys)
        if (keyName == name) return vk;
    for (unsigned n = 1; n <= 12; ++n)
        if (keyName.size() > 1 && keyName[0] == 'F' && keyName.compare(1, std::string::npos, std::to_string(n)) == 0)
            return 111 + n;
    // Written names the reader does not know ("Ins", "Enter", "F13", layout names) type nothing.
    if (keyName.size() == 1) {
        const char c = keyName[0];
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return static_cast<unsigned char>(c);
    }
    return 0;
}

}  // namespace kivra
