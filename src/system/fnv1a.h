#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qb {

// The 64-bit FNV-1a hash: the journal's checksum, and the short keys that name a file's
// backup folder and a process. Stored journals depend on it staying exactly this.
inline std::uint64_t fnv1a(std::span<const std::uint8_t> bytes,
                           std::uint64_t hash = 14695981039346656037ULL) {
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ULL;
    }
    return hash;
}

inline std::uint64_t fnv1a(std::string_view text, std::uint64_t hash = 14695981039346656037ULL) {
    for (const char ch : text) {
        hash = (hash ^ static_cast<std::uint8_t>(ch)) * 1099511628211ULL;
    }
    return hash;
}

} // namespace qb
