// The reader on TGA files written by other programs: conformance images compared with
// what netpbm's tgatoppm shows, and small malformed files that broke other decoders.
#include "dib_rgb.h"
#include "images/tga_reader.h"
#include "support/roster_maker.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string_view>

namespace qb {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Under CI (CI=true) missing test data or tools fail the test; elsewhere it is skipped.
void requireUnderCi(bool present, const std::string& what) {
    const char* ci = std::getenv("CI");
    if (!present && ci != nullptr && std::string_view(ci) == "true") {
        ADD_FAILURE() << what << " is missing";
    }
}

// The files of one folder of the test data, at the path the build was configured with.
std::vector<fs::path> filesIn(const std::string& folder) {
    const fs::path root = fs::path(QB_TGA_TESTDATA) / folder;
    std::vector<fs::path> files;
    if (fs::is_directory(root)) {
        for (const auto& entry : fs::directory_iterator(root)) {
            files.push_back(entry.path());
        }
    }
    requireUnderCi(!files.empty(), "TGA test data in " + root.string());
    std::sort(files.begin(), files.end());
    return files;
}

// A copy that tgatoppm reads by our reader's rules: colour-map entries counted
// from 0 with the map filled up to 256 black entries (so an index past the map is
// black), and the right-to-left bit cleared.
Bytes referenceCopy(Bytes file) {
    file[17] = static_cast<std::uint8_t>(file[17] & ~0x10);
    if (file[1] == 1 && file[16] == 8) {
        const std::size_t entryBytes = (file[7] + 7u) / 8u;
        const auto length = static_cast<std::size_t>(file[5] | (file[6] << 8));
        const std::size_t mapEnd = 18 + file[0] + length * entryBytes;
        if (length < 256) {
            file.insert(file.begin() + static_cast<std::ptrdiff_t>(mapEnd),
                        (256 - length) * entryBytes, 0);
        }
        file[3] = file[4] = 0;
        file[5] = 0;
        file[6] = 1;
    }
    return file;
}

// The red, green, blue bytes of a binary PPM file (P6), scaled to 0-255 (tgatoppm
// keeps 5-bit images at a maximum value of 31).
Bytes ppmPixels(const Bytes& ppm) {
    const std::string text(ppm.begin(), ppm.end());
    int maximum = 255;
    int header = 0;
    std::sscanf(text.c_str(), "P6 %*d %*d %d%n", &maximum, &header);
    Bytes out(ppm.begin() + std::min<std::ptrdiff_t>(header + 1, std::ssize(ppm)), ppm.end());
    for (auto& value : out) {
        value = static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
    }
    return out;
}

TEST(TgaFiles, ConformanceImagesLookAsTgatoppmShowsThemAndHostileOnesEndCleanly) {
#ifdef _WIN32
    // tgatoppm is a tool of the Linux host: the Windows build reads the hostile files only.
    const bool netpbm = false;
#else
    const bool netpbm = std::system("command -v tgatoppm >/dev/null 2>&1") == 0;
    requireUnderCi(netpbm, "netpbm's tgatoppm");
#endif
    const test::TempDir dir;
    for (const fs::path& file : filesIn("hostile")) {
        SCOPED_TRACE(file.filename().string());
        TgaReader reader;
        try {
            reader.load(file.string());
        } catch (const std::exception& error) {
            EXPECT_FALSE(reader.bitmap()) << error.what();
        }
        const Dib& dib = reader.bitmap() ? *reader.bitmap() : Dib{};
        EXPECT_EQ(dib.pixels.size(),
                  dib.rowBytes() * static_cast<std::size_t>(std::abs(dib.height)));
    }
    for (const fs::path& file : netpbm ? filesIn("conformance") : std::vector<fs::path>{}) {
        SCOPED_TRACE(file.filename().string());
        const Bytes bytes = test::readFileBytes(file.string());
        TgaReader reader;
        reader.loadBytes(bytes, file.string());
        ASSERT_TRUE(reader.bitmap());
        test::writeFileBytes(dir.file("ref.tga"), referenceCopy(bytes));
        const std::string command =
            "tgatoppm '" + dir.file("ref.tga") + "' > '" + dir.file("ref.ppm") + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const Bytes expected = ppmPixels(test::readFileBytes(dir.file("ref.ppm")));
        const Bytes ours = test::rgbOf(*reader.bitmap());
        ASSERT_EQ(ours.size(), expected.size());
        EXPECT_TRUE(std::equal(ours.begin(), ours.end(), expected.begin(), [](int a, int b) {
            return std::abs(a - b) <= 4;
        })) << "channel values differing by more than 4";
    }
}

} // namespace
} // namespace qb
