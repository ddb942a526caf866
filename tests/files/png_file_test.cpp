#include "files/png_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/png_writing.h"

#include "support/file_bytes.h"
#include "support/png_reading.h"
#include "support/scratch_folder.h"

namespace {

class PngFile : public ::testing::Test, protected ScratchFolder {
  protected:
    PngFile() : ScratchFolder("png") {}
};

TEST_F(PngFile, HoldsEveryPixelAsLibpngReadsIt) {
    // 3 x 2 pixels, each channel a different value.
    const RgbImage image{3,
                         2,
                         {0, 1, 2, 255, 254, 253, 127, 0, 255,  //
                          10, 20, 30, 40, 50, 60, 70, 80, 90}};
    const Bytes png = encodePng(image);
    ASSERT_FALSE(png.empty());
    writeBytes(folder() / "picture.png", png);
    const DecodedPng read = readPng(folder() / "picture.png");
    ASSERT_EQ(read.problem, "");
    EXPECT_EQ(read.width, 3);
    EXPECT_EQ(read.height, 2);
    EXPECT_EQ(read.colourType, 2);  // truecolour, no alpha
    EXPECT_EQ(read.bitDepth, 8);
    EXPECT_EQ(read.rgb, image.bytes);
}

TEST_F(PngFile, NothingIsMadeOfAnEmptyOrInconsistentImage) {
    EXPECT_TRUE(encodePng(RgbImage{}).empty());
    EXPECT_TRUE(encodePng(RgbImage{0, 5, {}}).empty());
    EXPECT_TRUE(encodePng(RgbImage{2, 2, Bytes(11, 0)}).empty());
    EXPECT_TRUE(encodePng(RgbImage{2, 2, Bytes(13, 0)}).empty());
}

// Every pixel of a decoded picture, as 8-bit RGBA, and how often each came.
struct Decoded {
    std::string problem;
    std::vector<std::uint8_t> rgba;
    std::vector<int> visits;
    int runs = 0;
};

Decoded decode(const Bytes& png, int width, int height) {
    Decoded decoded;
    decoded.rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
    decoded.visits.assign(static_cast<std::size_t>(width) * height, 0);
    decoded.problem = decodePng(
        png.data(), png.size(),
        [&](int w, int h) {
            return w == width && h == height ? std::string() : std::string("other size");
        },
        [&](const PngPixelRun& run) {
            ++decoded.runs;
            for (int i = 0; i < run.count; ++i) {
                const int x = run.firstX + i * run.stepX;
                const std::ptrdiff_t at = std::ptrdiff_t{run.y} * width + x;
                ++decoded.visits[static_cast<std::size_t>(at)];
                const std::uint8_t* pixel = run.rgba + std::ptrdiff_t{4} * i;
                std::copy(pixel, pixel + 4, decoded.rgba.begin() + 4 * at);
            }
            return true;
        });
    return decoded;
}

// 13 x 7 pixels (so that the passes of an interlaced picture are uneven)
// whose samples step through the values `levels` holds.
Picture levelPicture(const std::vector<std::uint16_t>& levels, bool grey) {
    Picture picture = blankPicture(13, 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 13; ++x) {
            const auto i = static_cast<std::size_t>(y) * 13 + static_cast<std::size_t>(x);
            const std::uint16_t r = levels[i % levels.size()];
            const std::uint16_t g = grey ? r : levels[(i / 2) % levels.size()];
            const std::uint16_t b = grey ? r : levels[(i / 3) % levels.size()];
            picture.set(x, y, r, g, b);
        }
    }
    return picture;
}

TEST(DecodePng, GivesTheFileSamplesScaledToEightBits) {
    // Samples of each depth and the 8-bit values they mean: a 1-bit 1 is
    // 255, a 2-bit 1 is 85, a 4-bit 1 is 17.
    const std::vector<std::uint16_t> oneBit = {0, 0xFFFF};
    const std::vector<std::uint16_t> twoBits = {0, 0x5555, 0xAAAA, 0xFFFF};
    const std::vector<std::uint16_t> fourBits = {0, 0x1111, 0x7777, 0xCCCC, 0xFFFF};
    const std::vector<std::uint16_t> eightBits = {0, 1 * 257, 127 * 257, 205 * 257, 255 * 257};
    const struct {
        PngFormat format;
        const std::vector<std::uint16_t>* levels;
        bool grey;
    } cases[] = {
        {{PngKind::Grey, 1}, &oneBit, true},
        {{PngKind::Grey, 2}, &twoBits, true},
        {{PngKind::Grey, 4}, &fourBits, true},
        {{PngKind::Grey, 8}, &eightBits, true},
        {{PngKind::Grey, 16}, &eightBits, true},
        {{PngKind::GreyAlpha, 8}, &eightBits, true},
        {{PngKind::GreyAlpha, 16, true}, &eightBits, true},
        {{PngKind::Palette, 1}, &oneBit, true},
        {{PngKind::Palette, 2}, &twoBits, true},
        {{PngKind::Palette, 4}, &fourBits, true},
        {{PngKind::Palette, 8, true}, &eightBits, false},
        {{PngKind::Rgb, 8}, &eightBits, false},
        {{PngKind::Rgb, 16}, &eightBits, false},
        {{PngKind::Rgba, 8, true}, &eightBits, false},
        {{PngKind::Rgba, 16}, &eightBits, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(c.format.kind)) + " depth " +
                     std::to_string(c.format.bitDepth) +
                     (c.format.interlaced ? " interlaced" : ""));
        const Picture picture = levelPicture(*c.levels, c.grey);
        const Decoded decoded = decode(pngFile(picture, c.format), 13, 7);
        ASSERT_EQ(decoded.problem, "");
        EXPECT_EQ(decoded.visits, std::vector<int>(std::size_t{13} * 7, 1));
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 13; ++x) {
                const std::uint16_t* wide = picture.at(x, y);
                const std::size_t at = static_cast<std::size_t>(y * 13 + x) * 4;
                for (int channel = 0; channel < 4; ++channel) {
                    // Every level above is a multiple of 257: its 8-bit value is exact.
                    EXPECT_EQ(decoded.rgba[at + channel], wide[channel] / 257)
                        << x << "," << y << " channel " << channel;
                }
            }
        }
    }
}

TEST(DecodePng, RoundsSixteenBitColoursAndTakesOnlyFullAlphaAsOpaque) {
    // value -> 8 bits: value / 257 rounded for colour, rounded down for alpha.
    const struct {
        std::uint16_t sample;
        std::uint8_t colour;
        std::uint8_t alpha;
    } cases[] = {
        {0, 0, 0},         {128, 0, 0},       {129, 1, 0},       {256, 1, 0},
        {257, 1, 1},       {32767, 127, 127}, {32768, 128, 127}, {65278, 254, 254},
        {65406, 254, 254}, {65407, 255, 254}, {65534, 255, 254}, {65535, 255, 255},
    };
    Picture picture = blankPicture(static_cast<int>(std::size(cases)), 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        picture.set(static_cast<int>(i), 0, cases[i].sample, 0, 65535 - cases[i].sample,
                    cases[i].sample);
    }
    const Decoded decoded = decode(pngFile(picture, {PngKind::Rgba, 16}), picture.width, 1);
    ASSERT_EQ(decoded.problem, "");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].sample);
        EXPECT_EQ(decoded.rgba[4 * i], cases[i].colour);
        EXPECT_EQ(decoded.rgba[4 * i + 2], 255 - cases[i].colour);
        EXPECT_EQ(decoded.rgba[4 * i + 3], cases[i].alpha);
    }
}

TEST(DecodePng, TurnsTrnsIntoAlpha) {
    Picture picture = blankPicture(4, 2);
    picture.set8(1, 0, 127, 0, 0, 0);
    picture.set8(2, 1, 127, 0, 0, 0);
    picture.set8(3, 1, 127, 0, 1);
    for (const PngFormat& format : {PngFormat{PngKind::RgbTrns, 8}, PngFormat{PngKind::Palette, 2},
                                    PngFormat{PngKind::RgbTrns, 16, true}}) {
        const Decoded decoded = decode(pngFile(picture, format), 4, 2);
        ASSERT_EQ(decoded.problem, "");
        const std::vector<std::uint8_t> alpha = {
            decoded.rgba[3],  decoded.rgba[7],  decoded.rgba[11], decoded.rgba[15],
            decoded.rgba[19], decoded.rgba[23], decoded.rgba[27], decoded.rgba[31]};
        EXPECT_EQ(alpha, (std::vector<std::uint8_t>{255, 0, 255, 255, 255, 255, 0, 255}));
    }
}

TEST(DecodePng, StopsWhereTheSizeCheckOrTheSinkSays) {
    const Bytes png = pngFile(blankPicture(6, 5), {PngKind::Rgb, 8});
    int runs = 0;
    EXPECT_EQ(decodePng(
                  png.data(), png.size(),
                  [](int w, int h) { return w == 6 && h == 5 ? "too small" : ""; },
                  [&](const PngPixelRun&) { return ++runs > 0; }),
              "too small");
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(decodePng(
                  png.data(), png.size(), [](int, int) { return std::string(); },
                  [&](const PngPixelRun&) { return ++runs < 2; }),
              "");
    EXPECT_EQ(runs, 2);
}

TEST(DecodePng, ReportsWhatIsNoPngOrIsDamaged) {
    const Bytes png = pngFile(blankPicture(6, 5), {PngKind::Rgb, 8});
    Bytes corrupt = png;
    corrupt[40] ^= 0xFF;
    const struct {
        Bytes bytes;
        std::string problemStart;
    } cases[] = {
        {Bytes{}, "not a PNG picture"},
        {Bytes(png.begin(), png.begin() + 7), "not a PNG picture"},
        {Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "not a PNG picture"},
        {Bytes(png.begin(), png.begin() + 20), "damaged PNG picture: "},
        {Bytes(png.begin(), png.end() - 30), "damaged PNG picture: "},
        {corrupt, "damaged PNG picture: "},
    };
    for (const auto& c : cases) {
        const std::string problem = decode(c.bytes, 6, 5).problem;
        EXPECT_EQ(problem.rfind(c.problemStart, 0), 0u) << problem;
        EXPECT_GE(problem.size(), c.problemStart.size() + (c.problemStart.back() == ' ' ? 1 : 0));
    }
}

}  // namespace
