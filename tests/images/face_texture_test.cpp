#include "images/demo_game.h"
#include "images/face_texture.h"
#include "images/game_folder.h"
#include "support/roster_maker.h"

#include <fcntl.h>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace qb {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A sparse archive of the game's size holding one face entry written byte by byte.
class FakeArchive {
public:
    explicit FakeArchive(const test::TempDir& dir) : path(dir.file("cricket_pc.gob")) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_EQ(::ftruncate(fd, kArchiveMinimumSize), 0);
        ::close(fd);
    }
    void put(std::int64_t offset, const Bytes& bytes) const {
        const int fd = ::open(path.c_str(), O_WRONLY);
        EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), offset),
                  static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }
    void size(int face, std::int32_t width, std::int32_t height) const {
        Bytes bytes(8);
        for (int i = 0; i < 4; ++i) {
            bytes[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
            bytes[static_cast<std::size_t>(4 + i)] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
        }
        put(facePixelOffset(face) - 16, bytes);
    }
    std::string path;
};

std::uint32_t at32(const Bytes& b, std::size_t i) {
    return static_cast<std::uint32_t>(b[i] | (b[i + 1] << 8) | (b[i + 2] << 16)) |
           (static_cast<std::uint32_t>(b[i + 3]) << 24);
}

TEST(FaceTexture, OffsetsOfTheFaces) {
    EXPECT_EQ(facePixelOffset(0), 554214880);
    EXPECT_EQ(facePixelOffset(1), 554148208);
    EXPECT_EQ(facePixelOffset(24), 552614752);
}

TEST(FaceTexture, CopiesTheFaceIntoABottomUpBitmap) {
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

TEST(FaceTexture, SizesOutsideAFaceAreRefusedAndLeaveTheOldFile) {
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
            EXPECT_EQ(at32(out, 2), out.size());
        } else {
            EXPECT_THROW(copyFaceToBmp(archive.path, 0, bmp), FaceSizeError);
            EXPECT_EQ(test::readFileBytes(bmp), Bytes{1});
            EXPECT_FALSE(fs::exists(bmp + ".partial"));
        }
    }
    EXPECT_STREQ(FaceSizeError().what(), "Error while reading ");
}

TEST(FaceTexture, OtherFailuresNameTheirCause) {
    const test::TempDir dir;
    const std::string bmp = dir.file("temp.bmp");
    EXPECT_THAT([&] { copyFaceToBmp(dir.file("missing.gob"), 0, bmp); },
                testing::ThrowsMessage<FaceCopyError>(
                    testing::AllOf(testing::StartsWith("An error occured due to\r\n"),
                                   testing::HasSubstr("missing.gob"))));
    test::writeFileBytes(dir.file("short.gob"), Bytes(1000, 0));
    EXPECT_THROW(copyFaceToBmp(dir.file("short.gob"), 0, bmp), FaceCopyError);
    const FakeArchive archive(dir);
    archive.size(0, 256, 256);
    EXPECT_THROW(copyFaceToBmp(archive.path, 0, dir.file("no-folder/temp.bmp")), FaceCopyError);
}

TEST(GameFolder, BatNamesAndCaseInsensitivePaths) {
    EXPECT_EQ(batRelativePath(0), "data/bats/bat01.tga");
    EXPECT_EQ(batRelativePath(9), "data/bats/bat10.tga");
    EXPECT_EQ(batRelativePath(33), "data/bats/bat34.tga");
    const test::TempDir dir;
    fs::create_directories(dir.path() / "Game" / "DATA" / "Bats");
    test::writeFileBytes((dir.path() / "Game" / "DATA" / "Cricket_PC.GOB").string(), {1});
    test::writeFileBytes((dir.path() / "Game" / "DATA" / "Bats" / "BAT10.tga").string(), {1});
    const fs::path game = dir.path() / "Game";
    ASSERT_TRUE(findArchive(game));
    EXPECT_EQ(findArchive(game)->filename(), "Cricket_PC.GOB");
    EXPECT_EQ(findBat(game, 9)->filename(), "BAT10.tga");
    EXPECT_FALSE(findBat(game, 8));
    EXPECT_FALSE(findBat(game, 34));
    EXPECT_FALSE(findArchive(dir.path()));
    EXPECT_EQ(gameFolderPath(game.string() + "\\"), game.string() + "/");
    EXPECT_TRUE(findArchive(gameFolderPath((dir.path() / "Game").string() + "\\")));
}

TEST(GameFolder, DemoGameHoldsFacesAndBats) {
    const test::TempDir dir;
    writeDemoGameFolder(dir.path().string());
    const auto archive = findArchive(dir.path());
    ASSERT_TRUE(archive);
    EXPECT_EQ(fs::file_size(*archive), static_cast<std::uintmax_t>(kArchiveMinimumSize));
    for (int face = 0; face < kFaceEntries; ++face) {
        copyFaceToBmp(archive->string(), face, dir.file("face.bmp"));
        EXPECT_EQ(fs::file_size(dir.file("face.bmp")), 66614u);
    }
    for (int bat = 0; bat < kBatFiles; ++bat) {
        EXPECT_TRUE(findBat(dir.path(), bat)) << bat;
    }
}

} // namespace
} // namespace qb
