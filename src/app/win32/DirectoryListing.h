// The names of the files in a directory, for the skin engine.
#pragma once

#include <string>
#include <vector>

namespace kivra::win32 {

// File names (without the directory) of the plain files in the directory; empty when the
// directory cannot be read.
std::vector<std::string> ListFiles(const std::string& directory);

}  // namespace kivra::win32
