#include "dib_rgb.h"
#include "images/image_error.h"
#include "images/tga_reader.h"
#include "images/tga_writer.h"
#include "support/roster_maker.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qb {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes header(int type, int depth, int width, int height, int descriptor = 0, int idLength = 0,
             int mapType = 0, int mapLength = 0, int mapEntrySize = 0) {
    const int fields[18] = {idLength,       mapType,      type,   0,           0,     mapLength,
                            mapLength >> 8, mapEntrySize, 0,      0,           0,     0,
                            width,          width >> 8,   height, height >> 8, depth, descriptor};
    Bytes h;
    for (const int value : fields) {
        h.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    return h;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TgaReader loaded(const Bytes& file) {
    test::saveSeed("tga", file);
    TgaReader reader;
    reader.loadBytes(file, "test.tga");
    return reader;
}

// The first `count` bytes (at most) of the colour table `file` is read with.
Bytes colours(const Bytes& file, std::size_t count = SIZE_MAX) {
    const TgaReader reader = loaded(file);
    const std::vector<std::uint8_t>& table = reader.bitmap()->colourTable;
    return {table.begin(),
            table.begin() + static_cast<std::ptrdiff_t>(std::min(count, table.size()))};
}

const Bytes kSixPixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};

// Our bitmap's pixel bytes (rows padded to four bytes, true colour as blue, green, red, 0)
// for each kind of file.
TEST(TgaReader, DecodedPixels) {
    Bytes rawPacket = {0x7F}; // the longest raw packet holds 128 pixels
    for (int i = 1; i <= 128; ++i) {
        rawPacket.push_back(static_cast<std::uint8_t>(i));
    }
    Bytes longRow(rawPacket.begin() + 1, rawPacket.end());
    longRow.insert(longRow.end(), {0xEE, 0, 0, 0}); // a run of one, then row padding
    rawPacket.insert(rawPacket.end(), {0x80, 0xEE});
    Bytes widest; // 4096 pixels, the widest image read, in 32 runs of 128
    for (int run = 0; run < 32; ++run) {
        widest.insert(widest.end(), {0xFF, 5});
    }
    const Bytes sixBgr0 = {1,  2,  3,  0, 4,  5,  6,  0, 7,  8,  9,  0,
                           10, 11, 12, 0, 13, 14, 15, 0, 16, 17, 18, 0};
    // A 3 x 3 image whose origin (1, 1) leaves the first two pixels of its first two rows.
    Bytes originAt1 = header(2, 24, 3, 3);
    originAt1[8] = 1;
    originAt1[10] = 1;
    for (std::uint8_t i = 1; i <= 27; ++i) {
        originAt1.push_back(i);
    }
    struct Row {
        const char* what;
        Bytes file;
        Bytes pixels;
    };
    // clang-format off
    const Row rows[] = {
        {"24 bits", header(2, 24, 3, 2) + kSixPixels, sixBgr0},
        {"an ID field is skipped", header(2, 24, 3, 2, 0, 10) + Bytes(10, 0xEE) + kSixPixels, sixBgr0},
        {"alpha becomes 0", header(2, 32, 1, 1) + Bytes{9, 8, 7, 200}, {9, 8, 7, 0}},
        {"16 bits padded", header(2, 16, 3, 1) + Bytes{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6, 0, 0}},
        {"8 bits padded", header(1, 8, 5, 2, 0, 0, 1, 2, 24) + Bytes{0, 0, 0, 10, 20, 30} +
             Bytes{1, 0, 1, 0, 1, 0, 1, 0, 1, 0}, {1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0}},
        {"greyscale run", header(11, 8, 4, 1) + Bytes{0x83, 77}, {77, 77, 77, 77}},
        {"16-bit run, next packet follows", header(10, 16, 3, 1) + Bytes{0x81, 0x11, 0x22, 0x00, 0x33, 0x44},
         {0x11, 0x22, 0x11, 0x22, 0x33, 0x44, 0, 0}},
        {"run cut at the end", header(10, 24, 2, 1) + Bytes{0xFF, 1, 2, 3}, {1, 2, 3, 0, 1, 2, 3, 0}},
        {"raw packet short of input", header(10, 24, 3, 1) + Bytes{0x05, 1, 2, 3, 4},
         {1, 2, 3, 0, 4, 0, 0, 0, 0, 0, 0, 0}},
        {"run short of input", header(10, 24, 3, 1) + Bytes{0x80, 1}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"128-pixel raw packet", header(11, 8, 129, 1) + rawPacket, longRow},
        {"4096 wide", header(11, 8, 4096, 1) + widest, Bytes(4096, 5)},
        {"cropped by its origin", originAt1, {1, 2, 3, 0, 4, 5, 6, 0, 10, 11, 12, 0, 13, 14, 15, 0}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const TgaReader reader = loaded(row.file);
        ASSERT_TRUE(reader.bitmap());
        EXPECT_EQ(reader.bitmap()->pixels, row.pixels);
        EXPECT_EQ(reader.isCompressed(), row.file[2] >= 9);
    }
    EXPECT_EQ(colours(rows[4].file).size(), 1024u);
    EXPECT_EQ(colours(rows[4].file, 12), (Bytes{0, 0, 0, 0, 10, 20, 30, 0, 0, 0, 0, 0}));
    EXPECT_EQ(colours(rows[5].file).at(4 * 77 + 1), 77); // a grey ramp
    // ... unless the greyscale image brings a colour map.
    EXPECT_EQ(colours(header(3, 8, 1, 1, 0, 0, 1, 1, 24) + Bytes{10, 20, 30, 0}, 4),
              (Bytes{10, 20, 30, 0}));
    // 16-bit map entries widen 5 bits to 8: red 31, green 0, blue 16.
    EXPECT_EQ(colours(header(1, 8, 1, 1, 0, 0, 1, 1, 16) + Bytes{0x10, 0x7C, 0}, 4),
              (Bytes{0x84, 0, 0xFF, 0}));
}

TEST(TgaReader, Properties) {
    TgaReader reader = loaded(header(9, 8, 7, 3) + Bytes{0x94, 0});
    EXPECT_TRUE(reader.isCompressed() && reader.isTga());
    EXPECT_EQ((std::array<long, 2>{reader.width(), reader.height()}),
              (std::array<long, 2>{105, 45}));
    reader.setScaleMode(5);
    EXPECT_EQ(reader.scaleMode(), 1);
    reader.setScaleMode(0);
    EXPECT_EQ(reader.width(), 7);
    reader.setScaleMode(-2);
    EXPECT_EQ((std::array<long, 2>{reader.scaleMode(), reader.width()}),
              (std::array<long, 2>{-2, 0}));
}

// 130 equal pixels first: the longest run packet holds 128.
TEST(TgaReader, WriterAndReaderAgreeOnEveryDepth) {
    TgaPicture picture;
    picture.width = 45;
    picture.height = 3;
    Bytes rgb;      // what every depth but 16 shows
    Bytes fiveBits; // 16 bits keep the top five bits of each channel
    for (int i = 0; i < 135; ++i) {
        const auto v = static_cast<std::uint8_t>(i < 130 ? 0x40 : 8 * i);
        picture.colours.push_back({v, static_cast<std::uint8_t>(255 - v), 0x80, 0xFF});
        for (const int channel : {2, 1, 0}) {
            const int value = picture.colours.back()[static_cast<std::size_t>(channel)];
            rgb.push_back(static_cast<std::uint8_t>(value));
            fiveBits.push_back(static_cast<std::uint8_t>((value & 0xF8) | (value >> 5)));
        }
    }
    for (const int depth : {8, 16, 24, 32}) {
        for (const bool runLength : {false, true}) {
            for (const bool top : {false, true}) {
                SCOPED_TRACE(std::to_string(depth) + (runLength ? " run-length" : "") +
                             (top ? " top-down" : ""));
                const TgaReader reader = loaded(encodeTga(picture, {depth, runLength, top}));
                ASSERT_TRUE(reader.bitmap());
                EXPECT_EQ(reader.bitmap()->height, top ? -3 : 3);
                EXPECT_EQ(test::rgbOf(*reader.bitmap()), depth == 16 ? fiveBits : rgb);
            }
        }
    }
}

TEST(TgaReader, HostileHeadersFailCleanly) {
    struct Row {
        const char* what;
        Bytes file;
        bool fails; // false: a zero-filled result is fine
    };
    const Row rows[] = {
        {"shorter than a header", Bytes(17, 0), true},
        {"width zero", header(2, 24, 0, 5), true},
        {"height negative", header(2, 24, 5, -3), true},
        {"origin eats the width",
         Bytes{0, 0, 2, 0, 0, 0, 0, 0, 4, 0, 0, 0, 4, 0, 4, 0, 24, 0} + Bytes(48, 1), true},
        {"too wide", header(2, 24, 5000, 1) + Bytes(15000, 1), true},
        {"20000 x 20000 in 18 bytes", header(10, 32, 20000, 20000), true},
        {"4096 x 4096 promised by 10 bytes", header(2, 32, 4096, 4096) + Bytes(10, 0), true},
        {"ID past the end", header(2, 24, 2, 2, 0, 255) + Bytes(5, 1), false},
        {"map length 0", header(1, 8, 2, 2, 0, 0, 1, 0, 24) + Bytes{5, 6, 7, 8}, false},
        {"index past the map", header(1, 8, 2, 1, 0, 0, 1, 1, 24) + Bytes{1, 2, 3} + Bytes{0, 200},
         false},
        {"raw packet past the input", header(10, 24, 4, 4) + Bytes{0x7F, 1, 2}, false},
        {"run past the output", header(10, 24, 2, 2) + Bytes{0xFF, 1, 2, 3, 0xFF, 4, 5, 6}, false},
        {"truncated plain data", header(2, 32, 8, 8) + Bytes(5, 9), false},
        {"map entry size 0", header(1, 8, 2, 2, 0, 0, 1, 300, 0) + Bytes(4, 1), false},
        {"unknown depth", header(2, 7, 9, 9), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::saveSeed("tga", row.file);
        TgaReader reader;
        if (row.fails) {
            EXPECT_THROW(reader.loadBytes(row.file, "x.tga"), ImageError);
            EXPECT_FALSE(reader.bitmap());
            continue;
        }
        EXPECT_NO_THROW(reader.loadBytes(row.file, "x.tga"));
        const Dib& dib = reader.bitmap() ? *reader.bitmap() : Dib{};
        EXPECT_EQ(dib.pixels.size(),
                  dib.rowBytes() * static_cast<std::size_t>(std::abs(dib.height)));
    }
    EXPECT_EQ(colours(header(1, 8, 2, 1, 0, 0, 1, 1, 24) + Bytes{1, 2, 3, 0, 200}).at(800), 0);
    EXPECT_THROW(TgaReader().load("/no/such/file.tga"), ImageError);
}

// A drawing target that records what the reader asks of it.
struct FakeTarget : DrawTarget {
    FakeTarget(int w, int h, int b) : width(w), height(h), border(b) {}
    void clear() override { ++clears; }
    int outerWidth() const override { return width; }
    int outerHeight() const override { return height; }
    int innerWidth() const override { return width - 2 * border; }
    int innerHeight() const override { return height - 2 * border; }
    void setOuterSize(int w, int h) override { std::tie(width, height) = std::tuple(w, h); }
    void drawStretched(const Dib&, int w, int h) override { drawn = {w, h}; }
    void keepPicture() override { kept = true; }
    int width, height, border;
    int clears = 0;
    std::array<int, 2> drawn = {-1, -1};
    bool kept = false;
};

TEST(TgaReader, DrawSizesTheTargetToTheImage) {
    TgaReader reader = loaded(header(2, 24, 3, 2) + kSixPixels);
    FakeTarget plain(700, 1400, 0);
    reader.draw(plain);
    EXPECT_EQ((std::array{plain.width, plain.height, plain.drawn[0], plain.drawn[1]}),
              (std::array{45, 30, 3, 2}));
    EXPECT_TRUE(plain.kept);
    FakeTarget bordered(700, 1400, 30); // 2-pixel border
    reader.draw(bordered);
    EXPECT_EQ((std::array{bordered.innerWidth(), bordered.innerHeight(), bordered.drawn[0]}),
              (std::array{45, 30, 3}));
    reader.setAutoscale(false);
    FakeTarget stretched(700, 1400, 0);
    reader.draw(stretched);
    EXPECT_EQ((std::array{stretched.width, stretched.drawn[0], stretched.drawn[1]}),
              (std::array{700, 47, 93}));
    TgaReader empty = loaded(header(2, 7, 4, 4));
    FakeTarget nothing(700, 1400, 0);
    empty.draw(nothing);
    EXPECT_EQ((std::array{nothing.clears, nothing.width, nothing.drawn[0]}),
              (std::array{1, 60, -1}));
}

} // namespace
} // namespace qb
