// Key-combination texts as menu files and binding files carry them: whatever the text, the
// combination leaves no key held.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "actions/KeyCombination.h"
#include "actions/KivraUtils.h"
#include "platform/fake/FakePlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kivra::fake::FakePlatform fake;
    kivra::KivraUtils utils(fake.platform);
    utils.keyDelay = 10;
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)kivra::KeyNameOf(text);
    utils.SendKeyCombination(text);

    std::map<std::string, int> held;  // "vk" -> presses minus releases
    for (const std::string& call : fake.calls("keybd_event(")) {
        const std::string vk = call.substr(12, call.find(',') - 12);
        held[vk] += call.back() == ')' && call[call.size() - 2] == '1' ? 1 : -1;
    }
    for (const auto& [vk, count] : held)
        if (count != 0) std::abort();
    return 0;
}
