#include "files/png_screen.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "files/png_writing.h"
#include "support/pane_model.h"

namespace {

// A Spectrum colour as the tests write it: index (bit 0 blue, bit 1 red,
// bit 2 green) and brightness; black is never bright.
struct Colour {
    int index = 0;
    bool bright = false;
    friend bool operator==(Colour, Colour) = default;
};

constexpr Colour Black{0, false};

using Rgb = std::array<std::uint8_t, 3>;

Rgb rgbOf(Colour colour, std::uint8_t level = 205) {
    const std::uint8_t lit = colour.bright ? 255 : level;
    return {static_cast<std::uint8_t>((colour.index & 2) ? lit : 0),
            static_cast<std::uint8_t>((colour.index & 4) ? lit : 0),
            static_cast<std::uint8_t>((colour.index & 1) ? lit : 0)};
}

// The colour a pane draws at screen pixel (x, y), from the tests' own model.
Colour shownColour(const std::uint8_t* screen, int x, int y) {
    const ModelColour shown = modelPanePixel(screen, PaneSettings{}, x, y);
    const int index =
        (shown.blue != 0 ? 1 : 0) | (shown.red != 0 ? 2 : 0) | (shown.green != 0 ? 4 : 0);
    const bool bright = shown.red == 255 || shown.green == 255 || shown.blue == 255;
    return {index, index != 0 && bright};
}

// 256 x 192 pixels of Spectrum colours, drawn as RGB at one level.
class Pixels {
  public:
    Pixels() : colours_(std::size_t{256} * 192, Black) {}
    void set(int x, int y, Colour colour) { colours_[y * 256 + x] = colour; }
    Colour at(int x, int y) const { return colours_[y * 256 + x]; }
    // Every pixel of cell (cx, cy) from `paint(column, row)` within the cell.
    void paintCell(int cx, int cy, const std::function<Colour(int, int)>& paint) {
        for (int r = 0; r < 8; ++r) {
            for (int c = 0; c < 8; ++c) {
                set(cx * 8 + c, cy * 8 + r, paint(c, r));
            }
        }
    }
    std::vector<std::uint8_t> rgb(std::uint8_t level = 205) const {
        std::vector<std::uint8_t> bytes;
        for (const Colour& colour : colours_) {
            const Rgb value = rgbOf(colour, level);
            bytes.insert(bytes.end(), value.begin(), value.end());
        }
        return bytes;
    }
    Picture picture(std::uint8_t level = 205) const {
        Picture picture = blankPicture(256, 192);
        for (int y = 0; y < 192; ++y) {
            for (int x = 0; x < 256; ++x) {
                const Rgb value = rgbOf(at(x, y), level);
                picture.set8(x, y, value[0], value[1], value[2]);
            }
        }
        return picture;
    }

  private:
    std::vector<Colour> colours_;
};

// Every pixel of the screen shows the colour of the pixels; the first
// difference is reported.
void expectShows(const PictureScreen& screen, const Pixels& pixels) {
    ASSERT_EQ(screen.problem, "");
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            const Colour shown = shownColour(screen.image.data(), x, y);
            if (!(shown == pixels.at(x, y))) {
                ADD_FAILURE() << "pixel " << x << "," << y << " shows " << shown.index << "/"
                              << shown.bright << ", expected " << pixels.at(x, y).index << "/"
                              << pixels.at(x, y).bright;
                return;
            }
        }
    }
}

std::uint8_t attributeOf(const PictureScreen& screen, int cx, int cy) {
    return screen.image[6144 + 32 * cy + cx];
}

// The eight bitmap bytes of a cell, top row first.
std::array<std::uint8_t, 8> cellBits(const PictureScreen& screen, int cx, int cy) {
    std::array<std::uint8_t, 8> bits{};
    for (int r = 0; r < 8; ++r) {
        const int y = cy * 8 + r;
        bits[r] = screen.image[2048 * (y / 64) + 256 * (y % 8) + 32 * ((y / 8) % 8) + cx];
    }
    return bits;
}

constexpr std::array<std::uint8_t, 8> Clear{};
constexpr std::array<std::uint8_t, 8> Full{255, 255, 255, 255, 255, 255, 255, 255};

std::uint8_t attribute(int ink, int paper, bool bright = false) {
    return static_cast<std::uint8_t>((bright ? 64 : 0) | paper << 3 | ink);
}

TEST(SpectrumColourOf, SortsEachChannelAsOffLitOrBright) {
    const struct {
        Rgb rgb;
        std::optional<SpectrumColour> colour;
    } cases[] = {
        {{0, 0, 0}, SpectrumColour{0, false}},
        {{24, 24, 24}, SpectrumColour{0, false}},
        {{127, 0, 0}, SpectrumColour{2, false}},
        {{0, 192, 0}, SpectrumColour{4, false}},
        {{0, 0, 197}, SpectrumColour{1, false}},
        {{205, 205, 205}, SpectrumColour{7, false}},
        {{215, 0, 215}, SpectrumColour{3, false}},
        {{103, 231, 20}, SpectrumColour{6, false}},
        {{232, 0, 0}, SpectrumColour{2, true}},
        {{0, 255, 255}, SpectrumColour{5, true}},
        {{255, 255, 255}, SpectrumColour{7, true}},
        {{255, 10, 24}, SpectrumColour{2, true}},
        // A channel between off and lit, or lit channels of both kinds.
        {{25, 0, 0}, std::nullopt},
        {{0, 102, 0}, std::nullopt},
        {{255, 255, 60}, std::nullopt},
        {{255, 231, 0}, std::nullopt},
        {{127, 255, 127}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rgb[0]) + "," + std::to_string(c.rgb[1]) + "," +
                     std::to_string(c.rgb[2]));
        EXPECT_EQ(spectrumColourOf(c.rgb[0], c.rgb[1], c.rgb[2]), c.colour);
    }
}

TEST(ScreenFromPixels, EncodesEachCellAfterTheCellOnItsLeft) {
    Pixels pixels;
    const Colour red{2, false};
    const Colour white{7, false};
    const Colour blue{1, false};
    const Colour green{4, false};
    const Colour brightYellow{6, true};
    // Row 0: black (column 0); red dots on black; all red; all white; blue
    // on white; green and yellow-free blue cell.
    pixels.paintCell(1, 0, [&](int c, int r) { return c == r ? red : Black; });
    pixels.paintCell(2, 0, [&](int, int) { return red; });
    pixels.paintCell(3, 0, [&](int, int) { return white; });
    pixels.paintCell(4, 0, [&](int c, int) { return c < 2 ? blue : white; });
    pixels.paintCell(5, 0, [&](int c, int) { return c < 2 ? blue : green; });
    // Row 1: white at column 0; two colours with no colour shared with the
    // left cell: more pixels make the paper, a tie the lower index.
    pixels.paintCell(0, 1, [&](int, int) { return white; });
    pixels.paintCell(1, 1, [&](int c, int) { return c < 3 ? green : red; });
    pixels.paintCell(5, 1, [&](int c, int) { return c < 5 ? green : blue; });
    pixels.paintCell(0, 3, [&](int c, int) { return c < 4 ? blue : green; });
    // Row 2: bright yellow on black, then bright yellow alone.
    pixels.paintCell(0, 2, [&](int c, int) { return c == 0 ? brightYellow : Black; });
    pixels.paintCell(1, 2, [&](int, int) { return brightYellow; });
    const PictureScreen screen = screenFromPixels(pixels.rgb().data());
    expectShows(screen, pixels);

    const auto dots = [] {
        std::array<std::uint8_t, 8> bits{};
        for (int r = 0; r < 8; ++r) {
            bits[r] = static_cast<std::uint8_t>(0x80 >> r);
        }
        return bits;
    }();
    const struct {
        int cx;
        int cy;
        std::uint8_t attribute;
        std::array<std::uint8_t, 8> bits;
    } cases[] = {
        // Black alone at column 0: black paper, white ink.
        {0, 0, attribute(7, 0), Clear},
        // Black is the left cell's paper: it stays paper.
        {1, 0, attribute(2, 0), dots},
        // Red alone, the left cell's ink: ink on the left paper, every bit set.
        {2, 0, attribute(2, 0), Full},
        // White alone, in neither role on the left: paper under the left ink.
        {3, 0, attribute(2, 7), Clear},
        // White is the left cell's paper.
        {4, 0, attribute(1, 7), {0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0}},
        // Blue is the left cell's ink.
        {5, 0, attribute(1, 4), {0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0}},
        // The blank cell after it takes its ink; white alone at column 0 gets black ink.
        {6, 0, attribute(1, 0), Clear},
        {0, 1, attribute(0, 7), Clear},
        // Red (5 pixels a row) outnumbers green (3): red is paper.
        {1, 1, attribute(4, 2), {0xE0, 0xE0, 0xE0, 0xE0, 0xE0, 0xE0, 0xE0, 0xE0}},
        // Green is the left cell's ink: it stays ink though it covers more pixels.
        {5, 1, attribute(4, 1), {0xF8, 0xF8, 0xF8, 0xF8, 0xF8, 0xF8, 0xF8, 0xF8}},
        // A tie at column 0: blue (1) is paper, green (4) ink.
        {0, 3, attribute(4, 1), {0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F}},
        {2, 2, attribute(6, 0), Clear},
        // Bright when a bright colour other than black shows.
        {0, 2, attribute(6, 0, true), {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}},
        {1, 2, attribute(6, 0, true), Full},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("cell " + std::to_string(c.cx) + "," + std::to_string(c.cy));
        EXPECT_EQ(int{attributeOf(screen, c.cx, c.cy)}, int{c.attribute});
        EXPECT_EQ(cellBits(screen, c.cx, c.cy), c.bits);
    }
}

// Random cells of one or two colours of one brightness: the screen shows
// them, ink never equals paper, and no neighbouring pair meets Optimize's
// test (left ink = right paper, or right ink = left paper), so Optimize
// would re-encode nothing.
TEST(ScreenFromPixels, ShowsThePictureAndLeavesOptimizeNothingToDo) {
    std::mt19937 random(7);
    for (int round = 0; round < 4; ++round) {
        Pixels pixels;
        for (int cy = 0; cy < 24; ++cy) {
            for (int cx = 0; cx < 32; ++cx) {
                const bool bright = random() % 2 == 0;
                // Few colours, so that neighbours often share one.
                const Colour a{static_cast<int>(random() % 4), bright};
                const Colour b{static_cast<int>(random() % 4 + 4 * (random() % 2)), bright};
                const unsigned pattern = random();
                const int kind = static_cast<int>(random() % 3);
                pixels.paintCell(cx, cy, [&](int c, int r) {
                    const bool second = kind == 0   ? false
                                        : kind == 1 ? ((pattern >> ((r * 8 + c) % 32)) & 1) != 0
                                                    : c > static_cast<int>(pattern % 8);
                    Colour colour = second ? b : a;
                    colour.bright = colour.index != 0 && colour.bright;
                    return colour;
                });
            }
        }
        const PictureScreen screen = screenFromPixels(pixels.rgb(192).data());
        expectShows(screen, pixels);
        for (int cy = 0; cy < 24; ++cy) {
            for (int cx = 0; cx < 32; ++cx) {
                const std::uint8_t right = attributeOf(screen, cx, cy);
                EXPECT_NE(right & 7, (right >> 3) & 7) << cx << "," << cy;
                if (cx > 0) {
                    const std::uint8_t left = attributeOf(screen, cx - 1, cy);
                    EXPECT_FALSE((left & 7) == ((right >> 3) & 7) ||
                                 (right & 7) == ((left >> 3) & 7))
                        << "Optimize would flip cell " << cx << "," << cy;
                }
                EXPECT_EQ(right & 0x80, 0);
            }
        }
    }
}

TEST(ScreenFromPixels, RefusesCellsThatNoAttributeShows) {
    const Colour red{2, false};
    const Colour green{4, false};
    const Colour brightBlue{1, true};
    const struct {
        std::function<void(std::vector<std::uint8_t>&)> draw;
        std::string problem;
    } cases[] = {
        {[&](std::vector<std::uint8_t>& rgb) {
             // One pixel of cell (3, 2) a grey between off and lit.
             const std::size_t at = std::size_t{3} * ((2 * 8 + 5) * 256 + 3 * 8 + 1);
             rgb[at] = rgb[at + 1] = rgb[at + 2] = 60;
         },
         "cell (3, 2) shows the colour 60,60,60, far from every Spectrum colour; 1 cell fails"},
        {[&](std::vector<std::uint8_t>& rgb) {
             for (int cx : {31, 4, 9}) {
                 // Red, green and black in cells (31, 0), (4, 0) and (9, 0).
                 for (const auto& [x, colour] : {std::pair{0, red}, {1, green}}) {
                     const Rgb value = rgbOf(colour);
                     std::copy(value.begin(), value.end(),
                               rgb.begin() + std::ptrdiff_t{3} * (cx * 8 + x));
                 }
             }
         },
         "cell (4, 0) shows 3 colours, where a cell can show 2; 3 cells fail"},
        {[&](std::vector<std::uint8_t>& rgb) {
             // Bright blue beside red filling cell (0, 23); black goes with
             // either, but these two do not go together.
             for (int r = 0; r < 8; ++r) {
                 for (int c = 0; c < 8; ++c) {
                     const Rgb value = rgbOf(c < 4 ? brightBlue : red);
                     std::copy(value.begin(), value.end(),
                               rgb.begin() + std::ptrdiff_t{3} * ((23 * 8 + r) * 256 + c));
                 }
             }
         },
         "cell (0, 23) shows bright and non-bright colours together; 1 cell fails"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> rgb = Pixels().rgb();
        c.draw(rgb);
        const PictureScreen screen = screenFromPixels(rgb.data());
        EXPECT_EQ(screen.problem, c.problem);
    }
}

// Pictures of every PNG colour type and bit depth, enlarged 1 to 3 times,
// give the screen that shows them.
TEST(ScreenFromPng, ReadsEveryKindOfPngAtEveryScale) {
    // Black, white and bright white only, so that grey pictures hold them:
    // 2 bits hold 0, 170 and 255, 4 bits 0, 204 and 255, and 1 bit only 0
    // and 255, so that a 1-bit picture has bright white alone.
    Pixels grey;
    Pixels brightGrey;
    Pixels colour;
    std::mt19937 random(11);
    for (int cy = 0; cy < 24; ++cy) {
        for (int cx = 0; cx < 32; ++cx) {
            const bool bright = (cx + cy) % 3 == 0;
            const Colour lit{7, bright};
            const Colour other{static_cast<int>(random() % 8), bright};
            const unsigned pattern = random();
            grey.paintCell(cx, cy, [&](int c, int r) {
                return ((pattern >> ((r * 8 + c) % 32)) & 1) != 0 ? lit : Black;
            });
            brightGrey.paintCell(cx, cy, [&](int c, int r) {
                return ((pattern >> ((r * 8 + c) % 32)) & 1) != 0 ? Colour{7, true} : Black;
            });
            colour.paintCell(cx, cy, [&](int c, int r) {
                Colour shown = ((pattern >> ((r * 3 + c) % 32)) & 1) != 0 ? other : Black;
                shown.bright = shown.index != 0 && shown.bright;
                return shown;
            });
        }
    }
    const struct {
        PngFormat format;
        const Pixels* pixels;
        std::uint8_t level;
    } cases[] = {
        {{PngKind::Grey, 1}, &brightGrey, 255},
        {{PngKind::Grey, 2}, &grey, 170},
        {{PngKind::Grey, 4}, &grey, 204},
        {{PngKind::Grey, 8}, &grey, 192},
        {{PngKind::Grey, 16}, &grey, 127},
        {{PngKind::GreyAlpha, 8}, &grey, 215},
        {{PngKind::GreyAlpha, 16}, &grey, 197},
        {{PngKind::Palette, 4}, &colour, 205},
        {{PngKind::Palette, 8}, &colour, 127},
        {{PngKind::Rgb, 8}, &colour, 192},
        {{PngKind::Rgb, 16}, &colour, 215},
        {{PngKind::Rgba, 8}, &colour, 127},
        {{PngKind::Rgba, 16}, &colour, 205},
        {{PngKind::Rgb, 8, true}, &colour, 197},
        {{PngKind::Palette, 8, true}, &colour, 127},
    };
    for (int scale = 1; scale <= 3; ++scale) {
        for (const auto& c : cases) {
            SCOPED_TRACE("scale " + std::to_string(scale) + " kind " +
                         std::to_string(static_cast<int>(c.format.kind)) + " depth " +
                         std::to_string(c.format.bitDepth) +
                         (c.format.interlaced ? " interlaced" : ""));
            const Bytes png = pngFile(enlarged(c.pixels->picture(c.level), scale), c.format);
            expectShows(screenFromPng(png.data(), png.size()), *c.pixels);
        }
    }
}

TEST(ScreenFromPng, RefusesWhatIsNoScreenPicture) {
    Pixels pixels;
    pixels.paintCell(0, 0, [](int c, int) { return Colour{c % 2 == 0 ? 2 : 0, false}; });
    const Picture screenPicture = pixels.picture();
    // A pixel of cell (1, 0) half transparent, at scale 1 and, through tRNS, 2.
    Picture seeThrough = screenPicture;
    seeThrough.set8(9, 0, 0, 0, 0, 128);
    seeThrough.set8(200, 100, 0, 0, 0, 0);
    Picture transparentBlack = enlarged(screenPicture, 2);
    transparentBlack.set(4, 5, 0, 0, 0, 0);
    // A 16-bit alpha one step below opaque.
    Picture almostOpaque = screenPicture;
    almostOpaque.set(30, 2, 0, 0, 0, 65534);
    // One pixel of the 3 x 3 blocks at (3, 0) and (6, 9) differs a little.
    Picture mixed = enlarged(screenPicture, 3);
    mixed.set8(5, 1, 206, 0, 0);
    mixed.set8(6, 10, 1, 0, 0);
    const struct {
        Bytes png;
        std::string problem;
    } cases[] = {
        {Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "not a PNG picture"},
        {pngFile(blankPicture(255, 192), {}),
         "a picture of 255 x 192 pixels; a screen's is 256 x 192, or N times that in both "
         "directions for N from 2 to 8"},
        {pngFile(blankPicture(512, 192), {}),
         "a picture of 512 x 192 pixels; a screen's is 256 x 192, or N times that in both "
         "directions for N from 2 to 8"},
        {pngFile(seeThrough, {PngKind::Rgba, 8}),
         "pixel (9, 0) is not fully opaque, and a screen has no transparency (2 such pixels)"},
        {pngFile(transparentBlack, {PngKind::RgbTrns, 8}),
         "pixel (2, 0) is not fully opaque, and a screen has no transparency (196481 such "
         "pixels)"},
        {pngFile(almostOpaque, {PngKind::Rgba, 16}),
         "pixel (30, 2) is not fully opaque, and a screen has no transparency (1 such pixel)"},
        {pngFile(mixed, {PngKind::Rgb, 8}),
         "enlarged 3 times, but the 3 x 3 block at pixel (3, 0) is not one colour (2 such "
         "blocks)"},
    };
    for (const auto& c : cases) {
        const PictureScreen screen = screenFromPng(c.png.data(), c.png.size());
        EXPECT_EQ(screen.problem, c.problem);
    }
}

// The CRC-32 of PNG chunks, bit by bit.
std::uint32_t crc32Of(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320u : 0);
        }
    }
    return ~crc;
}

// The size is refused from the header: the rest of the file is never read,
// however large the picture would be.
TEST(ScreenFromPng, RefusesAWrongSizeBeforeDecodingAPixel) {
    for (const auto& [width, height] : {std::pair{2304, 1728}, {100000, 100000}, {256, 193}}) {
        Bytes png = pngFile(blankPicture(8, 8), {PngKind::Grey, 1});
        // IHDR is bytes 8 to 32: its width and height, then its checksum.
        for (int i = 0; i < 4; ++i) {
            png[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
            png[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
        }
        const std::uint32_t crc = crc32Of(png.data() + 12, 17);  // type and data
        for (int i = 0; i < 4; ++i) {
            png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        // Then pixel data that no decoder could read: an IDAT chunk of
        // bytes that are no compressed data, with no valid checksum.
        png.resize(33);
        const Bytes garbage = {0,    0,    0,    10,   'I',  'D',  'A',  'T', 0x55, 0x55, 0x55,
                               0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 1,   2,    3,    4};
        png.insert(png.end(), garbage.begin(), garbage.end());
        const PictureScreen screen = screenFromPng(png.data(), png.size());
        EXPECT_EQ(screen.problem, "a picture of " + std::to_string(width) + " x " +
                                      std::to_string(height) +
                                      " pixels; a screen's is 256 x 192, or N times that in "
                                      "both directions for N from 2 to 8");
    }
}

}  // namespace
