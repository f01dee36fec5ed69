#pragma once

#include <string>
#include <string_view>

namespace qb {

// The system-independent part of a link's name: "quillbay-<topic>-<user>[-<namespace>]",
// the topic's spaces as "_" and its "|" as ".", as the companion protocol lays down.
std::string linkBaseName(std::string_view topic, const std::string& user);

} // namespace qb
