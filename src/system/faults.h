#pragma once

namespace qb::faults {

// A seam for tests: every open, read, write and sync of roster files, player files and
// journals asks here first. Nothing is ever set outside tests.
enum class Op { Open, Read, Write, Sync };

// Makes the n-th operation of `op` from now on (1-based) fail with the system error
// `error`; n = 0 removes the plan for `op`. A write planned with kLostWrite reports
// success but never reaches the file, as a failing disk or driver may do.
inline constexpr int kLostWrite = -1;
void failNth(Op op, int n, int error);
void reset();

// True (and the error to report) when the current operation is to fail.
bool shouldFail(Op op, int& error);

// Ends the process at once (a kill) when the environment variable QB_CRASH_AT names
// this point, so tests can cut a save off where they choose. When QB_STOP_AT names it,
// the process waits there the first time it gets there: it creates the file that
// QB_STOP_FILE names and goes on once that file is gone. A test meanwhile runs a second
// process against the roster, then deletes the file or kills the waiting process. A file
// works on every system and through Wine, where no signal stops a Windows program.
void crashPoint(const char* name);

} // namespace qb::faults
