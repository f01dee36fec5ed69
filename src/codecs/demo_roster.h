#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

// A deterministic roster of invented players (no real people) for the demo mode
// and for trying the tools without the game: the same bytes on every machine.
inline constexpr int kDemoPlayerCount = 600;

// The 1600-slot table: players in slots 0-599, every field within what the editor shows.
std::vector<std::uint8_t> makeDemoSlotTable();
// The demo saved game's 132-byte header.
std::vector<std::uint8_t> makeDemoSaveHeader();

} // namespace qb
