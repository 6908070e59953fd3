// Placeholder until the menu command language lands.
#include "actions/CommandParser.h"

namespace kivra {
void MenuCommands::CommandParser(const std::string&, const std::string&) {}
}  // namespace kivra
