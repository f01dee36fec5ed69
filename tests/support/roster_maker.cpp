#include "support/roster_maker.h"

#include "support/child_process.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>

namespace qb::test {
namespace {

namespace fs = std::filesystem;

// A new folder of a unique name under the system's temporary folder.
fs::path makeUniqueFolder(const std::string& prefix) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder =
            fs::temp_directory_path() / (prefix + "-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(folder, error)) {
            return folder;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

// Journals and backups of the tests go to a data folder of their own, never the user's.
const bool kPrivateDataHome = [] {
    if (std::getenv("QB_KEEP_DATA_HOME") == nullptr) {
        setEnvironment("XDG_DATA_HOME", utf8Path(makeUniqueFolder("quillbay-data")));
    }
    return true;
}();

} // namespace

TempDir::TempDir() : path_(makeUniqueFolder("quillbay-test")) {}

std::string TempDir::file(const std::string& name) const {
    return utf8Path(path_ / nativePath(name));
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

Record recordWith(std::initializer_list<std::pair<int, std::uint8_t>> bytes) {
    Record r{};
    for (const auto& [offset, value] : bytes) {
        r[static_cast<std::size_t>(offset)] = value;
    }
    return r;
}

Record playerRecord(const std::string& name, std::uint16_t nation) {
    Record r{};
    std::memcpy(r.data() + OFFSET_NAME, name.data(),
                std::min<std::size_t>(name.size(), NAME_BYTES));
    r[OFFSET_NATION] = static_cast<std::uint8_t>(nation & 0xFF);
    r[OFFSET_NATION + 1] = static_cast<std::uint8_t>(nation >> 8);
    return r;
}

RosterMaker& RosterMaker::player(int slot, const std::string& name, std::uint16_t nation) {
    return record(slot, playerRecord(name, nation));
}

RosterMaker& RosterMaker::record(int slot, const Record& r) {
    records_[slot] = r;
    return *this;
}

RosterMaker& RosterMaker::set(int slot, int offset, std::initializer_list<std::uint8_t> bytes) {
    Record& r = records_.try_emplace(slot, Record{}).first->second;
    std::copy(bytes.begin(), bytes.end(), r.begin() + offset);
    return *this;
}

RosterMaker& RosterMaker::header(const std::string& text) {
    header_ = text;
    return *this;
}

RosterMaker& RosterMaker::trailer(std::size_t bytes) {
    trailer_ = bytes;
    return *this;
}

RosterMaker& RosterMaker::length(std::size_t bytes) {
    length_ = bytes;
    return *this;
}

std::string RosterMaker::write(const TempDir& dir, const std::string& name) const {
    std::vector<std::uint8_t> bytes;
    if (fileKindOf(name) == FileKind::SavedGame) {
        std::string text = header_;
        text.resize(SAVE_HEADER_SIZE, ' ');
        bytes.assign(text.begin(), text.end());
    }
    const std::size_t base = bytes.size();
    bytes.resize(base + static_cast<std::size_t>(SLOT_TABLE_SIZE), 0);
    bytes.resize(bytes.size() + trailer_, 0xEE);
    for (const auto& [slot, r] : records_) {
        std::memcpy(bytes.data() + base + static_cast<std::size_t>(slot) * SLOT_SIZE, r.data(),
                    r.size());
    }
    if (length_ < bytes.size()) {
        bytes.resize(length_);
    }
    const std::string path = dir.file(name);
    writeFileBytes(path, bytes);
    return path;
}

std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(nativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(nativePath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void saveSeed(const std::string& corpus, const std::vector<std::uint8_t>& bytes) {
    const char* root = std::getenv("QB_SEED_CORPUS");
    if (root == nullptr || *root == '\0') {
        return;
    }
    const std::filesystem::path folder = std::filesystem::path(root) / corpus;
    std::filesystem::create_directories(folder);
    const std::size_t hash = std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    writeFileBytes((folder / std::to_string(hash)).string(), bytes);
}

} // namespace qb::test
