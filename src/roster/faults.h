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
// the process stops itself (SIGSTOP, where the system has it) the first time it gets
// there, so a test can run a second process against the file meanwhile and then let it
// go on (SIGCONT) or kill it.
void crashPoint(const char* name);

} // namespace qb::faults
