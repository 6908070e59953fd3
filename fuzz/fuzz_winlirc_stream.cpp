// The WinLIRC byte stream through framing, parsing, capture and dispatch. The first byte picks
// the setup mode and where the data is cut into reads.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/SignalReception.h"
#include "platform/fake/FakePlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    kivra::fake::FakePlatform fake;
    const bool setupMode = data[0] & 1;
    const std::size_t chunk = 1 + (data[0] >> 1);
    std::size_t dispatched = 0;
    kivra::ReceptionContext context{
        [&] { return setupMode; },
        [] { return true; },
        [](const std::string&) {},
        [](const std::string&) {},
        [&](const std::string&) { ++dispatched; fake.clock.now += 7; },
    };
    kivra::SignalReception reception(fake.platform, context);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        reception.receive(bytes.substr(at, chunk));
        fake.clock.now += 3;
    }
    return 0;
}
