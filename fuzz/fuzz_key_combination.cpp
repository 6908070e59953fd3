// Key-combination texts as menu files and binding files carry them. Input: the text, or, when
// it starts with a NUL, a virtual-key code and three modifier bits for KeyCombinationText
// followed by a layout name for the fake keyboard.
// Properties:
//   - SendKeyCombination sends exactly what a plain reading of the rules gives: Alt, Ctrl,
//     Shift down for the words the text holds, at most one recognised key typed (press,
//     release, one wait), the modifiers up in the reverse order; so no key is left held;
//   - every event carries scan code 69 with the flags 1 (press) or 3 (release);
//   - a text that KeyCombinationText wrote types back the same key and modifiers whenever the
//     key is one that the reader knows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "actions/KeyCombination.h"
#include "actions/KivraUtils.h"
#include "platform/fake/FakePlatform.h"

#include "FuzzSupport.h"

namespace {

using kivra::fuzzing::Check;

std::string Event(unsigned vk, bool press) {
    return "keybd_event(" + std::to_string(vk) + ",69," + (press ? "1" : "3") + ")";
}

// The key name left after "+", blanks and the first of each modifier word are taken out.
std::string ModelKeyName(const std::string& text) {
    std::string name;
    for (char c : text)
        if (c != '+' && c != ' ') name += c;
    for (const char* word : {"Alt", "Ctrl", "Shift"}) {
        if (text.find(word) == std::string::npos) continue;
        const std::size_t at = name.find(word);
        if (at != std::string::npos) name.erase(at, std::string(word).size());
    }
    return name;
}

unsigned ModelKey(const std::string& name) {
    static const char* const kFunctionKeys[] = {"F1", "F2", "F3", "F4", "F5", "F6",
                                                "F7", "F8", "F9", "F10", "F11", "F12"};
    for (unsigned n = 0; n < 12; ++n)
        if (name == kFunctionKeys[n]) return 112 + n;
    if (name == "Insert") return 45;
    if (name == "Tab") return 9;
    if (name == "Up") return 38;
    if (name == "Down") return 40;
    if (name == "Left") return 37;
    if (name == "Right") return 39;
    if (name.size() == 1 && ((name[0] >= '0' && name[0] <= '9') || (name[0] >= 'A' && name[0] <= 'Z')))
        return static_cast<unsigned char>(name[0]);
    return 0;
}

// What SendKeyCombination(text) must send, with a key delay of 10.
std::vector<std::string> ModelEvents(const std::string& text) {
    const bool alt = text.find("Alt") != std::string::npos;
    const bool ctrl = text.find("Ctrl") != std::string::npos;
    const bool shift = text.find("Shift") != std::string::npos;
    std::vector<std::string> events;
    if (alt) events.push_back(Event(164, true));
    if (ctrl) events.push_back(Event(17, true));
    if (shift) events.push_back(Event(160, true));
    if (const unsigned vk = ModelKey(ModelKeyName(text))) {
        events.push_back(Event(vk, true));
        events.push_back(Event(vk, false));
        events.push_back("Sleep(10)");
    }
    if (shift) events.push_back(Event(160, false));
    if (ctrl) events.push_back(Event(17, false));
    if (alt) events.push_back(Event(164, false));
    return events;
}

std::vector<std::string> Sent(kivra::fake::FakePlatform& fake, const std::string& text) {
    kivra::KivraUtils utils(fake.platform);
    utils.keyDelay = 10;
    fake.log.clear();
    utils.SendKeyCombination(text);
    return fake.log;
}

void CheckSendKeyCombination(const std::string& text) {
    kivra::fake::FakePlatform fake;
    Check(kivra::KeyNameOf(text) == ModelKeyName(text));
    const std::vector<std::string> sent = Sent(fake, text);
    Check(sent == ModelEvents(text));
    int held = 0;
    for (const std::string& call : sent) {
        if (call.rfind("keybd_event(", 0) != 0) continue;
        held += call.back() == ')' && call[call.size() - 2] == '1' ? 1 : -1;
        Check(held >= 0);
    }
    Check(held == 0);
}

void CheckRoundTrip(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return;
    const unsigned vk = data[1];
    const bool shift = data[2] & 1, ctrl = data[2] & 2, alt = data[2] & 4;
    kivra::fake::FakePlatform fake;
    fake.keyboard.scanCodes[vk] = data[2] >> 3;
    fake.keyboard.keyNames[data[2] >> 3] = std::string(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::string text = kivra::KeyCombinationText(fake.keyboard, vk, shift, ctrl, alt);
    CheckSendKeyCombination(text);
    if (text.empty()) return;
    const std::string prefix = std::string(shift ? "Shift+" : "") + (ctrl ? "Ctrl+" : "") + (alt ? "Alt+" : "");
    Check(text.rfind(prefix, 0) == 0 && text.size() > prefix.size());

    // Keys the reader knows come back as themselves, the keypad digits as the main-row ones.
    unsigned typed = 0;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || vk == 9 || (vk >= 37 && vk <= 40) ||
        (vk >= 112 && vk <= 123))
        typed = vk;
    else if (vk >= 96 && vk <= 105)
        typed = '0' + (vk - 96);
    if (typed == 0) return;
    std::vector<std::string> expected;
    if (alt) expected.push_back(Event(164, true));
    if (ctrl) expected.push_back(Event(17, true));
    if (shift) expected.push_back(Event(160, true));
    expected.push_back(Event(typed, true));
    expected.push_back(Event(typed, false));
    expected.push_back("Sleep(10)");
    if (shift) expected.push_back(Event(160, false));
    if (ctrl) expected.push_back(Event(17, false));
    if (alt) expected.push_back(Event(164, false));
    Check(Sent(fake, text) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && data[0] == 0)
        CheckRoundTrip(data, size);
    else
        CheckSendKeyCombination(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
