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
    Bytes h(18, 0);
    h[0] = static_cast<std::uint8_t>(idLength);
    h[1] = static_cast<std::uint8_t>(mapType);
    h[2] = static_cast<std::uint8_t>(type);
    h[5] = static_cast<std::uint8_t>(mapLength & 0xFF);
    h[6] = static_cast<std::uint8_t>(mapLength >> 8);
    h[7] = static_cast<std::uint8_t>(mapEntrySize);
    h[12] = static_cast<std::uint8_t>(width & 0xFF);
    h[13] = static_cast<std::uint8_t>((width >> 8) & 0xFF);
    h[14] = static_cast<std::uint8_t>(height & 0xFF);
    h[15] = static_cast<std::uint8_t>((height >> 8) & 0xFF);
    h[16] = static_cast<std::uint8_t>(depth);
    h[17] = static_cast<std::uint8_t>(descriptor);
    return h;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TgaReader loaded(const Bytes& file) {
    test::saveSeed("tga", file);
    TgaReader reader;
    reader.LoadTGAFromBytes(file, "test.tga");
    return reader;
}

const Bytes kSixPixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};

TEST(TgaReader, TrueColourPixelsBecomeBlueGreenRedZero) {
    const TgaReader bottomUp = loaded(header(2, 24, 3, 2) + kSixPixels);
    ASSERT_TRUE(bottomUp.bitmap());
    const Dib& dib = *bottomUp.bitmap();
    EXPECT_EQ(dib.width, 3);
    EXPECT_EQ(dib.height, 2);
    EXPECT_EQ(dib.bitsPerPixel, 32);
    EXPECT_EQ(dib.pixels, (Bytes{1,  2,  3,  0, 4,  5,  6,  0, 7,  8,  9,  0,
                                 10, 11, 12, 0, 13, 14, 15, 0, 16, 17, 18, 0}));
    const TgaReader topDown = loaded(header(2, 24, 3, 2, 0x20) + kSixPixels);
    EXPECT_EQ(topDown.bitmap()->height, -2); // drawn upside-down relative to the first
    EXPECT_EQ(topDown.bitmap()->pixels, dib.pixels);
    // The ID field is skipped; 32-bit alpha becomes 0.
    const Bytes withId = header(2, 24, 3, 2, 0, 10) + Bytes(10, 0xEE) + kSixPixels;
    EXPECT_EQ(loaded(withId).bitmap()->pixels, dib.pixels);
    const TgaReader alpha = loaded(header(2, 32, 1, 1) + Bytes{9, 8, 7, 200});
    EXPECT_EQ(alpha.bitmap()->pixels, (Bytes{9, 8, 7, 0}));
}

TEST(TgaReader, RunLengthPackets) {
    struct Row {
        int depth;
        int width;
        Bytes data;
        Bytes pixels;
    };
    const Row rows[] = {
        {24, 3, {0x82, 1, 2, 3}, {1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0}},
        {24, 3, {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0}},
        // 0x81 repeats one 2-byte pixel twice; the next packet byte follows it directly.
        {16, 3, {0x81, 0x11, 0x22, 0x00, 0x33, 0x44}, {0x11, 0x22, 0x11, 0x22, 0x33, 0x44, 0, 0}},
        // Packets running past the output are cut; missing input leaves zeros.
        {24, 2, {0xFF, 1, 2, 3}, {1, 2, 3, 0, 1, 2, 3, 0}},
        {24, 3, {0x05, 1, 2, 3, 4}, {1, 2, 3, 0, 4, 0, 0, 0, 0, 0, 0, 0}},
        {24, 3, {0x80, 1}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        const TgaReader reader = loaded(header(10, row.depth, row.width, 1) + row.data);
        ASSERT_TRUE(reader.bitmap());
        EXPECT_EQ(reader.bitmap()->pixels, row.pixels);
        EXPECT_TRUE(reader.Compressed());
    }
    // The longest raw packet (header 0x7F) holds 128 pixels.
    Bytes raw = {0x7F};
    for (int i = 1; i <= 128; ++i) {
        raw.push_back(static_cast<std::uint8_t>(i));
    }
    const Bytes pixels(raw.begin() + 1, raw.end());
    raw.insert(raw.end(), {0x80, 0xEE});
    EXPECT_EQ(DecodeRLE(raw, 1, 129), pixels + Bytes{0xEE});
}

TEST(TgaReader, RowsArePaddedToFourBytes) {
    const Bytes map = {0, 0, 0, 10, 20, 30};
    const TgaReader eight =
        loaded(header(1, 8, 5, 2, 0, 0, 1, 2, 24) + map + Bytes{1, 0, 1, 0, 1, 0, 1, 0, 1, 0});
    EXPECT_EQ(eight.bitmap()->rowBytes(), 8u);
    EXPECT_EQ(eight.bitmap()->pixels, (Bytes{1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(eight.bitmap()->colourTable.size(), 1024u);
    EXPECT_EQ(Bytes(eight.bitmap()->colourTable.begin(), eight.bitmap()->colourTable.begin() + 12),
              (Bytes{0, 0, 0, 0, 10, 20, 30, 0, 0, 0, 0, 0}));
    const TgaReader sixteen = loaded(header(2, 16, 3, 1) + Bytes{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(sixteen.bitmap()->pixels, (Bytes{1, 2, 3, 4, 5, 6, 0, 0}));
}

TEST(TgaReader, ColourMapsAndGreyscale) {
    // 16-bit map entries widen 5 bits to 8: red 31, green 0, blue 16.
    const TgaReader fifteen =
        loaded(header(1, 8, 1, 1, 0, 0, 1, 1, 16) + Bytes{0x10, 0x7C} + Bytes{0});
    EXPECT_EQ(
        Bytes(fifteen.bitmap()->colourTable.begin(), fifteen.bitmap()->colourTable.begin() + 4),
        (Bytes{0x84, 0, 0xFF, 0}));
    const TgaReader grey = loaded(header(11, 8, 4, 1) + Bytes{0x83, 77});
    EXPECT_EQ(grey.bitmap()->pixels, (Bytes{77, 77, 77, 77}));
    EXPECT_EQ(grey.bitmap()->colourTable[4 * 77 + 1], 77);
}

TEST(TgaReader, Properties) {
    TgaReader reader = loaded(header(9, 8, 7, 3) + Bytes{0x94, 0});
    EXPECT_TRUE(reader.Compressed());
    EXPECT_TRUE(reader.IsTGA());
    EXPECT_EQ(reader.TGAWidth(), 105);
    EXPECT_EQ(reader.TGAHeight(), 45);
    reader.setScaleMode(5);
    EXPECT_EQ(reader.ScaleMode(), 1);
    reader.setScaleMode(0);
    EXPECT_EQ(reader.TGAWidth(), 7);
    reader.setScaleMode(-2);
    EXPECT_EQ(reader.ScaleMode(), -2);
    EXPECT_EQ(reader.TGAWidth(), 0);
    EXPECT_FALSE(loaded(header(2, 24, 3, 2) + kSixPixels).Compressed());
    const TgaReader fifteenBits = loaded(header(2, 15, 3, 2) + kSixPixels);
    EXPECT_FALSE(fifteenBits.IsTGA());
    EXPECT_FALSE(fifteenBits.bitmap());
    EXPECT_EQ(fifteenBits.Bpp(), 15);
}

TEST(TgaReader, WriterAndReaderAgreeOnEveryDepth) {
    TgaPicture picture;
    picture.width = 5;
    picture.height = 3;
    Bytes rgb;      // what every depth but 16 shows
    Bytes fiveBits; // 16 bits keep the top five bits of each channel
    for (int i = 0; i < 15; ++i) {
        const auto v = static_cast<std::uint8_t>(i < 6 ? 0x40 : 8 * i);
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
         [] {
             Bytes h = header(2, 24, 4, 4);
             h[8] = 4;
             return h + Bytes(48, 1);
         }(),
         true},
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
            EXPECT_THROW(reader.LoadTGAFromBytes(row.file, "x.tga"), ImageError);
            EXPECT_FALSE(reader.bitmap());
            continue;
        }
        EXPECT_NO_THROW(reader.LoadTGAFromBytes(row.file, "x.tga"));
        if (reader.bitmap()) {
            EXPECT_EQ(reader.bitmap()->pixels.size(),
                      reader.bitmap()->rowBytes() *
                          static_cast<std::size_t>(std::abs(reader.bitmap()->height)));
        }
    }
    EXPECT_EQ(loaded(header(1, 8, 2, 1, 0, 0, 1, 1, 24) + Bytes{1, 2, 3} + Bytes{0, 200})
                  .bitmap()
                  ->colourTable[4 * 200],
              0);
    EXPECT_THROW(TgaReader().LoadTGA("/no/such/file.tga"), ImageError);
}

// A drawing target that records what the reader asks of it.
class FakeTarget : public DrawTarget {
public:
    FakeTarget(int width, int height, int border)
        : width_(width), height_(height), border_(border) {}
    void clear() override { ++clears; }
    int outerWidth() const override { return width_; }
    int outerHeight() const override { return height_; }
    int innerWidth() const override { return width_ - 2 * border_; }
    int innerHeight() const override { return height_ - 2 * border_; }
    void setOuterSize(int width, int height) override {
        width_ = width;
        height_ = height;
    }
    void drawStretched(const Dib&, int w, int h) override {
        drawnWidth = w;
        drawnHeight = h;
    }
    void keepPicture() override { kept = true; }

    int clears = 0;
    int drawnWidth = -1;
    int drawnHeight = -1;
    bool kept = false;

private:
    int width_;
    int height_;
    int border_;
};

TEST(TgaReader, DrawSizesTheTargetToTheImage) {
    TgaReader reader = loaded(header(2, 24, 3, 2) + kSixPixels);
    FakeTarget plain(700, 1400, 0);
    reader.DrawTGA(plain);
    EXPECT_EQ(plain.outerWidth(), 45);
    EXPECT_EQ(plain.outerHeight(), 30);
    EXPECT_EQ(plain.drawnWidth, 3);
    EXPECT_EQ(plain.drawnHeight, 2);
    EXPECT_TRUE(plain.kept);

    FakeTarget bordered(700, 1400, 30); // 2-pixel border
    reader.DrawTGA(bordered);
    EXPECT_EQ(bordered.innerWidth(), 45);
    EXPECT_EQ(bordered.innerHeight(), 30);
    EXPECT_EQ(bordered.drawnWidth, 3);

    reader.setAutoscale(false);
    FakeTarget stretched(700, 1400, 0);
    reader.DrawTGA(stretched);
    EXPECT_EQ(stretched.outerWidth(), 700);
    EXPECT_EQ(stretched.drawnWidth, 47);
    EXPECT_EQ(stretched.drawnHeight, 93);

    TgaReader empty = loaded(header(2, 7, 4, 4));
    FakeTarget nothing(700, 1400, 0);
    empty.DrawTGA(nothing);
    EXPECT_EQ(nothing.clears, 1);
    EXPECT_EQ(nothing.outerWidth(), 60);
    EXPECT_EQ(nothing.drawnWidth, -1);
}

} // namespace
} // namespace qb
