#include "support/child_process.h"

#include <gmock/gmock.h>

// The tests' entry point; a copy started by ChildProcess runs its task instead.
int main(int argc, char** argv) {
    if (const int code = qb::test::runChildTaskIfAsked(); code >= 0) {
        return code;
    }
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
