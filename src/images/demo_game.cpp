#include "images/demo_game.h"

#include "images/face_texture.h"
#include "images/game_folder.h"
#include "images/tga_writer.h"
#include "system/file_handle.h"
#include "system/native_path.h"

#include <array>
#include <cstring>
#include <filesystem>

namespace qb {
namespace {

constexpr int kSide = 256;

// Digits 0-9 in a 3 x 5 font, one row a number of 3 bits.
constexpr std::array<std::array<int, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7},
    {2, 6, 2, 2, 7},
    {7, 1, 7, 4, 7},
    {7, 1, 7, 1, 7},
    {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7},
    {7, 1, 1, 1, 1},
    {7, 5, 7, 5, 7},
    {7, 5, 7, 1, 7},
}};

bool digitPixel(int number, int x, int y) {
    // Two digits, 8 screen pixels to a font pixel, centred on the forehead.
    const int left = 128 - 28;
    const int top = 60;
    const int column = (x - left) / 8;
    const int row = (y - top) / 8;
    if (x < left || y < top || column >= 7 || row >= 5 || column == 3) {
        return false;
    }
    const int digit = column < 3 ? number / 10 : number % 10;
    const int bit = 2 - (column < 3 ? column : column - 4);
    return ((kDigits[static_cast<std::size_t>(digit)][static_cast<std::size_t>(row)] >> bit) & 1) !=
           0;
}

// Colour indexes: 0 background, 1 skin, 2 eyes, 3 mouth, 4 hair, 5 number.
std::uint8_t faceIndex(int face, int x, int y) {
    const int dx = x - 128;
    const int dy = y - 136;
    const bool inHead = dx * dx + dy * dy < 100 * 100;
    if (!inHead) {
        return 0;
    }
    if (y < 56 + (face % 5) * 4) {
        return 4;
    }
    if (digitPixel(face, x, y)) {
        return 5;
    }
    const auto eye = [&](int cx) { return (x - cx) * (x - cx) + (y - 130) * (y - 130) < 100; };
    if (eye(92) || eye(164)) {
        return 2;
    }
    if (y > 180 && y < 190 && dx > -35 && dx < 35) {
        return 3;
    }
    return 1;
}

// Writes every face of the archive; the file is made as long as the game's, zeros
// between the faces.
void writeArchive(const std::string& path) {
    const FileHandle file(path, OpenMode::CreateOrEmpty, "writing");
    // The faces sit from about 554 MB on: the gap before them must take no disk.
    file.makeSparse();
    const std::uint8_t zero = 0;
    file.writeAt(&zero, 1, kArchiveMinimumSize - 1);
    for (int face = 0; face < kFaceEntries; ++face) {
        const std::int64_t p = facePixelOffset(face);
        const std::array<std::uint8_t, 8> size = {0, 1, 0, 0, 0, 1, 0, 0}; // 256, 256
        file.writeAt(size.data(), size.size(), p - 16);
        // The bitmap shows the block reversed, so rows are stored top-down, mirrored.
        std::vector<std::uint8_t> pixels(kFacePixelBytes);
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                pixels[static_cast<std::size_t>(y * kSide + (kSide - 1 - x))] =
                    faceIndex(face, x, y);
            }
        }
        file.writeAt(pixels.data(), pixels.size(), p);
        // Red, green, blue, alpha; skin and background vary with the face.
        std::vector<std::uint8_t> table(1024, 0);
        const std::array<std::array<int, 3>, 6> colours = {{
            {40 + 8 * face, 90, 160 - 4 * face},
            {235 - 5 * face, 190 - 4 * face, 150 - 3 * face},
            {30, 30, 30},
            {150, 40, 40},
            {60 + 6 * face, 40, 20},
            {255, 255, 255},
        }};
        for (std::size_t i = 0; i < colours.size(); ++i) {
            for (std::size_t c = 0; c < 3; ++c) {
                table[4 * i + c] = static_cast<std::uint8_t>(colours[i][c]);
            }
            table[4 * i + 3] = 255;
        }
        file.writeAt(table.data(), table.size(), p + kFacePixelBytes);
    }
}

TgaPicture batPicture(int bat) {
    TgaPicture picture;
    picture.width = 32;
    picture.height = 128;
    const std::array<std::uint8_t, 4> background = {40, 110, 40, 255};
    const std::array<std::uint8_t, 4> handle = {30, 30, static_cast<std::uint8_t>(120 + 3 * bat),
                                                255};
    const std::array<std::uint8_t, 4> blade = {140, 200, 225, 255};
    const std::array<std::uint8_t, 4> stripe = {static_cast<std::uint8_t>(7 * bat), 60, 200, 255};
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            auto colour = background;
            if (y < 40 && x >= 12 && x < 20) {
                colour = handle;
            } else if (y >= 40 && y < 124 && x >= 4 && x < 28) {
                colour = (y - 40) / 6 == bat % 14 ? stripe : blade;
            }
            picture.colours.push_back(colour);
        }
    }
    return picture;
}

} // namespace

void writeDemoGameFolder(const std::string& folder) {
    const std::filesystem::path root = nativePath(folder);
    std::filesystem::create_directories(root / "data" / "bats");
    writeArchive(utf8Path(root / kArchiveRelative));
    constexpr std::array<int, 4> kDepths = {24, 32, 16, 8};
    for (int bat = 0; bat < kBatFiles; ++bat) {
        const TgaWriteOptions options{kDepths[static_cast<std::size_t>(bat % 4)],
                                      (bat / 4) % 2 == 1, bat % 3 == 0};
        const std::vector<std::uint8_t> bytes = encodeTga(batPicture(bat), options);
        const std::filesystem::path path = root / batRelativePath(bat);
        writeSmallFile(utf8Path(path), bytes);
    }
}

} // namespace qb
