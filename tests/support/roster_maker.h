#pragma once

#include "roster/layout.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace qb::test {

// A folder of its own under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    std::filesystem::path path() const { return path_; }
    // The path of `name` in the folder, as UTF-8 like every path of the program.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path path_;
};

inline constexpr std::uint16_t kEngland = 8;

// A record of zeros but for the given (offset, value) pairs.
Record recordWith(std::initializer_list<std::pair<int, std::uint8_t>> bytes);

// A record every show step accepts: the name, nation England, everything else 0.
Record playerRecord(const std::string& name, std::uint16_t nation = kEngland);

// Builds roster files and saved games from a few lines, so each test states its bytes:
//   RosterMaker().player(0, "Smith").player(2, "Jones").set(2, 205, {30}).write(dir, "r.pak")
class RosterMaker {
public:
    RosterMaker& player(int slot, const std::string& name, std::uint16_t nation = kEngland);
    RosterMaker& record(int slot, const Record& record);
    RosterMaker& set(int slot, int offset, std::initializer_list<std::uint8_t> bytes);
    RosterMaker& header(const std::string& text); // saved games only; padded with spaces
    RosterMaker& trailer(std::size_t bytes);      // bytes after the slot table
    RosterMaker& length(std::size_t bytes);       // cut the file to this length

    // Writes the file; a name ending in "sav" gets the 132-byte header in front.
    std::string write(const TempDir& dir, const std::string& name) const;

private:
    std::map<int, Record> records_;
    std::string header_;
    std::size_t trailer_ = 0;
    std::size_t length_ = SIZE_MAX;
};

std::vector<std::uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// When QB_SEED_CORPUS names a folder, writes `bytes` there under `corpus`/ as a seed
// for the fuzzers, so their corpus comes from the tests' own fixtures.
void saveSeed(const std::string& corpus, const std::vector<std::uint8_t>& bytes);

} // namespace qb::test
