// The binding-file loader: any two files load without harm and a save writes 45 and 20 lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bindings/BindingFiles.h"
#include "platform/fake/FakePlatform.h"

namespace {
std::size_t CountCrLf(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    return lines;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    kivra::fake::FakePlatform fake;
    fake.files.contents[fake.files.directory + "LIRCAC.LST"] = input.substr(0, cut);
    fake.files.contents[fake.files.directory + "LIRCHT.LST"] = cut == std::string::npos ? "" : input.substr(cut + 1);
    kivra::ui::Grid grid("StringGrid1", nullptr, {}, 45, 2);
    kivra::LoadBindingFiles(fake.files, grid);

    // Cells never hold a line end, so a save keeps one line per cell.
    kivra::SaveBindingFiles(fake.files, grid);
    if (CountCrLf(fake.files.contents[fake.files.directory + "LIRCAC.LST"]) != 45) std::abort();
    if (CountCrLf(fake.files.contents[fake.files.directory + "LIRCHT.LST"]) != 20) std::abort();
    return 0;
}
