#pragma once

#include "roster/layout.h"
#include "support/roster_maker.h"

#include <random>

namespace qb::test {

// Random player records whose every field lies in the range the editor shows, for
// round-trip properties. Bytes the editor never reads are random too.
class RecordGenerator {
public:
    explicit RecordGenerator(unsigned seed) : random_(seed) {}

    Record player();

private:
    int below(int bound);
    std::mt19937 random_;
};

// Generated players in slots 0 to count - 1, named "P<slot>" (names any field takes),
// with player ID 100 + slot.
RosterMaker generatedPlayers(unsigned seed, int count);

} // namespace qb::test
