#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

std::uint32_t currentProcessId();

// A mark of when process `pid` started: the same for its whole life and different for
// a later process given the same ID. 0 when it is unknown (or the process is gone).
std::uint64_t processStartMark(std::uint32_t pid);

// Whether a process of that ID runs now.
bool processExists(std::uint32_t pid);

// Ends this process at once, as a kill or a power cut would: nothing is flushed or
// cleaned up.
[[noreturn]] void killThisProcess();

// Makes the standard streams carry bytes as they are. Windows opens them in text mode,
// which turns every "\n" written into "\r\n": CSV rows ending "\r\n" would end "\r\r\n"
// and output would differ between systems.
void useBinaryStandardStreams();

// The program's arguments as UTF-8, its name first. Windows hands them over in UTF-16;
// the narrow `argv` there holds them in the ANSI code page, which loses file names.
std::vector<std::string> commandLineArguments(int argc, char** argv);

} // namespace qb
