#pragma once

#include <filesystem>
#include <string>

namespace qb {

// Paths are UTF-8 text everywhere in the program. These convert at the edge of the
// system: Windows names files in UTF-16, and a narrow path handed to it would be read
// in the ANSI code page, losing every character outside it.
std::filesystem::path nativePath(const std::string& utf8);
std::string utf8Path(const std::filesystem::path& path);

} // namespace qb
