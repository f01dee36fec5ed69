#pragma once

#include "roster/layout.h"

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

} // namespace qb::test
