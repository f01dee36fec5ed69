#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qb {

// A value a message echoes back to the user, in double quotes and readable whatever it
// holds: control characters and bytes that are not UTF-8 as \xNN (a zero byte would end
// the message early), and a value longer than `limit` characters cut there with its
// full length named, so a 50 MB value does not flood the terminal.
std::string quotedText(std::string_view text, std::size_t limit = 80);

} // namespace qb
