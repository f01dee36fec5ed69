// The field registry is the one place that names a field: every key and caption it
// holds is written in exactly one source file.
#include "player/field_registry.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

namespace qb {
namespace {

// The source files under src/, comment lines left out.
std::map<std::string, std::string> sourceFiles() {
    std::map<std::string, std::string> sources;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(QB_SOURCE_DIR)) {
        if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") {
            continue;
        }
        std::ifstream in(entry.path());
        std::string code;
        for (std::string line; std::getline(in, line);) {
            if (!line.substr(line.find_first_not_of(' ') + 1).starts_with("/")) {
                code += line + '\n';
            }
        }
        sources[entry.path().filename().string()] = code;
    }
    return sources;
}

std::vector<std::string> filesWriting(const std::map<std::string, std::string>& sources,
                                      const std::string& text) {
    std::vector<std::string> files;
    for (const auto& [file, code] : sources) {
        if (code.find('"' + text + '"') != std::string::npos) {
            files.push_back(file);
        }
    }
    return files;
}

// Keys made from a table (ratings, flags, statistics) are written nowhere whole.
TEST(FieldRegistry, EveryKeyAndCaptionIsWrittenInOneSourceFile) {
    const auto sources = sourceFiles();
    ASSERT_GT(sources.size(), 50U);
    for (const Field& field : fieldRegistry()) {
        const auto captions = filesWriting(sources, field.caption);
        EXPECT_EQ(captions.size(), 1U)
            << field.caption << " in " << testing::PrintToString(captions);
        const auto keys = filesWriting(sources, field.key);
        EXPECT_LE(keys.size(), 1U) << field.key << " in " << testing::PrintToString(keys);
    }
}

} // namespace
} // namespace qb
