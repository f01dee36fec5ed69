#include "images/demo_game.h"
#include "images/face_texture.h"
#include "images/game_folder.h"
#include "support/roster_maker.h"
#include "system/file_handle.h"

#include <cstdint>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace qb {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes le32(std::int64_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// A sparse archive of the game's size holding one face entry written byte by byte.
struct FakeArchive {
    explicit FakeArchive(const test::TempDir& dir) : path(dir.file("cricket_pc.gob")) {
        test::writeFileBytes(path, {});
        fs::resize_file(path, static_cast<std::uintmax_t>(kArchiveMinimumSize));
    }
    void put(std::int64_t offset, const Bytes& bytes) const {
        FileHandle(path, OpenMode::Write, "writing").writeAt(bytes.data(), bytes.size(), offset);
    }
    void size(int face, std::int32_t width, std::int32_t height) const {
        Bytes bytes = le32(width);
        bytes.insert(bytes.end(), {0, 0, 0, 0});
        std::ranges::copy(le32(height), bytes.begin() + 4);
        put(facePixelOffset(face) - 16, bytes);
    }
    std::string path;
};

TEST(FaceTexture, CopiesTheFaceIntoABottomUpBitmap) {
    EXPECT_EQ((std::array{facePixelOffset(0), facePixelOffset(1), facePixelOffset(24)}),
              (std::array<std::int64_t, 3>{554214880, 554148208, 552614752}));
    const test::TempDir dir;
    const FakeArchive archive(dir);
    const int face = 3;
    const std::int64_t p = facePixelOffset(face);
    archive.size(face, 256, 256);
    Bytes pixels(65536);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    archive.put(p, pixels);
    archive.put(p + 65536, {10, 20, 30, 40, 1, 2, 3, 4});
    Bytes entry(112 + 65536 + 1024, 0);
    entry[97] = 1;  // width 256
    entry[101] = 1; // height 256
    std::copy(pixels.begin(), pixels.end(), entry.begin() + 112);
    test::saveSeed("face", entry);
    const std::string bmp = dir.file("temp.bmp");
    test::writeFileBytes(bmp, {1, 2, 3}); // an old picture is replaced
    copyFaceToBmp(archive.path, face, bmp);

    const Bytes out = test::readFileBytes(bmp);
    ASSERT_EQ(out.size(), 66614u);
    // 66614 bytes with the pixels at 1078; 256 x 256, one plane of 8 bits, 65536 bytes of
    // pixels at 10000 a metre; every colour of the table used.
    const Bytes header = {'B',  'M',  0x36, 0x04, 0x01, 0, 0, 0, 0, 0, 0x36, 0x04, 0, 0,
                          40,   0,    0,    0,    0,    1, 0, 0, 0, 1, 0,    0,    1, 0,
                          8,    0,    0,    0,    0,    0, 0, 0, 1, 0, 0x10, 0x27, 0, 0,
                          0x10, 0x27, 0,    0,    0,    0, 0, 0, 0, 0, 0,    0};
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 54), header);
    EXPECT_EQ(Bytes(out.begin() + 54, out.begin() + 62), (Bytes{30, 20, 10, 40, 3, 2, 1, 4}));
    EXPECT_EQ(out[1078], pixels[65535]);
    EXPECT_EQ(out[66613], pixels[0]);
    EXPECT_EQ(out[1078 + 4096], pixels[65535 - 4096]);
    EXPECT_FALSE(fs::exists(bmp + ".partial"));
}

TEST(FaceTexture, FailuresNameTheirCauseAndLeaveTheOldFile) {
    const test::TempDir dir;
    const FakeArchive archive(dir);
    const std::string bmp = dir.file("temp.bmp");
    struct Row {
        std::int32_t width;
        std::int32_t height;
        bool accepted;
    };
    const Row rows[] = {{1025, 64, false}, {-1, 256, false}, {256, 1025, false},
                        {256, -5, false},  {1024, 64, true}, {128, 512, true},
                        {256, 255, false}, {0, 0, false},    {2, 32768, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        archive.size(0, row.width, row.height);
        test::writeFileBytes(bmp, {1});
        if (row.accepted) {
            copyFaceToBmp(archive.path, 0, bmp);
            const Bytes out = test::readFileBytes(bmp);
            EXPECT_EQ(out.size(), 66614u);
            EXPECT_EQ(Bytes(out.begin() + 2, out.begin() + 6), le32(66614));
        } else {
            EXPECT_THROW(copyFaceToBmp(archive.path, 0, bmp), FaceSizeError);
            EXPECT_EQ(test::readFileBytes(bmp), Bytes{1});
            EXPECT_FALSE(fs::exists(bmp + ".partial"));
        }
    }
    EXPECT_THAT([&] { copyFaceToBmp(dir.file("missing.gob"), 0, bmp); },
                testing::ThrowsMessage<FaceCopyError>(
                    testing::AllOf(testing::StartsWith("An error occured due to\r\n"),
                                   testing::HasSubstr("missing.gob"))));
    EXPECT_THAT([&] { copyFaceToBmp(archive.path, kFaceEntries, bmp); },
                testing::ThrowsMessage<FaceCopyError>(testing::HasSubstr("there is no face")));
    test::writeFileBytes(dir.file("short.gob"), Bytes(1000, 0));
    EXPECT_THROW(copyFaceToBmp(dir.file("short.gob"), 0, bmp), FaceCopyError);
    archive.size(0, 256, 256);
    EXPECT_THROW(copyFaceToBmp(archive.path, 0, dir.file("no-folder/temp.bmp")), FaceCopyError);
}

TEST(GameFolder, BatNamesCaseInsensitivePathsAndTheDemoGame) {
    EXPECT_EQ((std::array{batRelativePath(0), batRelativePath(9), batRelativePath(33)}),
              (std::array<std::string, 3>{"data/bats/bat01.tga", "data/bats/bat10.tga",
                                          "data/bats/bat34.tga"}));
    const test::TempDir dir;
    const fs::path game = dir.path() / "Game";
    fs::create_directories(game / "DATA" / "Bats");
    test::writeFileBytes((game / "DATA" / "Cricket_PC.GOB").string(), {1});
    test::writeFileBytes((game / "DATA" / "Bats" / "BAT10.tga").string(), {1});
    EXPECT_EQ(findArchive(game).value_or("").filename(), "Cricket_PC.GOB");
    EXPECT_EQ(findBat(game, 9).value_or("").filename(), "BAT10.tga");
    EXPECT_FALSE(findBat(game, 8) || findBat(game, 34) || findArchive(dir.path()));
    EXPECT_EQ(gameFolderPath(game.string() + "\\"), game.string() + "/");
    EXPECT_TRUE(findArchive(gameFolderPath(game.string() + "\\")));

    writeDemoGameFolder(dir.file("demo"));
    const auto archive = findArchive(dir.file("demo"));
    ASSERT_TRUE(archive);
    for (int face = 0; face < kFaceEntries; ++face) {
        copyFaceToBmp(archive->string(), face, dir.file("face.bmp"));
        EXPECT_EQ(fs::file_size(dir.file("face.bmp")), 66614u);
    }
    for (int bat = 0; bat < kBatFiles; ++bat) {
        EXPECT_TRUE(findBat(dir.file("demo"), bat)) << bat;
    }
    // The faces sit from about 554 MB on; the gap before them takes no disk. (Only where
    // the allocated size can be read: under Wine, GetCompressedFileSizeW answers the
    // file's length, whatever it takes.)
#ifndef _WIN32
    struct stat status {};
    ASSERT_EQ(::stat(archive->c_str(), &status), 0);
    EXPECT_GT(status.st_size, std::int64_t{500} << 20);
    EXPECT_LT(static_cast<std::int64_t>(status.st_blocks) * 512, std::int64_t{16} << 20);
#endif
}

} // namespace
} // namespace qb
