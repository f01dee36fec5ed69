#pragma once

#include <string>

namespace qb {

// Writes a stand-in for an installed game under `folder`, for the demo and the tests:
// data/cricket_pc.gob, a sparse file of the archive's full size holding 25 faces
// (each shows its number) at their places, and data/bats/bat01.tga to bat34.tga in
// mixed depths, plain and run-length encoded. No game data is used.
void writeDemoGameFolder(const std::string& folder);

} // namespace qb
