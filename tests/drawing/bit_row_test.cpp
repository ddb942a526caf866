// drawBitRow() against the plain way it stands for: one drawBox() per pixel.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/drawing.h"
#include "platform/images.h"

namespace {

constexpr int Fast = 1;
constexpr int Plain = 2;

// The colours of attribute a's ink and paper: any 256 distinct pairs serve,
// and these give every channel value in both.
ColourValue inkOf(int a) {
    return rgb(a, 255 - a, (a * 7) & 255);
}
ColourValue paperOf(int a) {
    return rgb((a * 3) & 255, a, 200);
}

// The boxes drawBitRow() stands for, one drawBox() each.
void drawPlainly(int x, int y, int scale, const std::uint8_t* bits, const ColourValue* inks,
                 const ColourValue* papers, int count) {
    for (int j = 0; j < count; ++j) {
        for (int d = 0; d < 8; ++d) {
            const bool set = (bits[j] & (0x80 >> d)) != 0;
            drawBox(x + (8 * j + d) * scale, y, scale, scale, set ? inks[j] : papers[j]);
        }
    }
}

// The first pixel where the two images differ, or "".
std::string firstDifference(int width, int height) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (imagePixel(Fast, x, y) != imagePixel(Plain, x, y)) {
                return std::to_string(x) + "," + std::to_string(y);
            }
        }
    }
    return "";
}

// Every bitmap byte under every attribute: row a of bytes 0..255 in the
// colours of attribute a, at the scales the panes and the pictures use.
// Each test runs with the loops for any processor and with those the
// processor running it chooses.
class DrawBitRow : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override { drawing_detail::useBaselineLoopsOnly(GetParam()); }
    void TearDown() override { drawing_detail::useBaselineLoopsOnly(false); }
};

INSTANTIATE_TEST_SUITE_P(Loops, DrawBitRow, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Baseline" : "Chosen";
                         });

TEST_P(DrawBitRow, DrawsEveryByteInEveryColourPairAsOneBoxAPixelWould) {
    std::array<std::uint8_t, 256> bits{};
    for (int b = 0; b < 256; ++b) {
        bits[b] = static_cast<std::uint8_t>(b);
    }
    for (const int scale : {1, 2, 3}) {
        const int width = 256 * 8 * scale;
        const int height = 256 * scale;
        ASSERT_NE(createImage(Fast, width, height), 0);
        ASSERT_NE(createImage(Plain, width, height), 0);
        for (int a = 0; a < 256; ++a) {
            const std::vector<ColourValue> inks(256, inkOf(a));
            const std::vector<ColourValue> papers(256, paperOf(a));
            ASSERT_NE(startDrawing(imageOutput(Fast)), 0);
            drawBitRow(0, a * scale, scale, bits.data(), inks.data(), papers.data(), 256);
            ASSERT_NE(startDrawing(imageOutput(Plain)), 0);
            drawPlainly(0, a * scale, scale, bits.data(), inks.data(), papers.data(), 256);
            stopDrawing();
        }
        EXPECT_EQ(firstDifference(width, height), "") << "scale " << scale;
    }
    freeImage(Fast);
    freeImage(Plain);
}

// Rows that reach past any edge of the picture, at every scale and some
// that no loop of its own serves; the colours differ from byte to byte.
TEST_P(DrawBitRow, IsClippedExactlyAsItsBoxesWouldBe) {
    constexpr int Width = 61;
    constexpr int Height = 37;
    const std::array<std::uint8_t, 5> bits = {0xA5, 0x0F, 0xFF, 0x00, 0x3C};
    const std::array<ColourValue, 5> inks = {rgb(1, 0, 0), rgb(2, 0, 0), rgb(3, 0, 0), rgb(4, 0, 0),
                                             rgb(5, 0, 0)};
    const std::array<ColourValue, 5> papers = {rgb(0, 1, 0), rgb(0, 2, 0), rgb(0, 3, 0),
                                               rgb(0, 4, 0), rgb(0, 5, 0)};
    const struct {
        int x;
        int y;
    } places[] = {{0, 0},   {3, 5},   {-7, 2}, {-100, 0}, {20, -1}, {1, 35},
                  {50, 36}, {60, 10}, {0, -3}, {-2, -2},  {61, 0},  {0, 37}};
    for (const int scale : {1, 2, 3, 4, 5, 7, 8, 9, 0, -2}) {
        for (const auto& place : places) {
            SCOPED_TRACE("scale " + std::to_string(scale) + " at " + std::to_string(place.x) + "," +
                         std::to_string(place.y));
            ASSERT_NE(createImage(Fast, Width, Height), 0);
            ASSERT_NE(createImage(Plain, Width, Height), 0);
            ASSERT_NE(startDrawing(imageOutput(Fast)), 0);
            drawBitRow(place.x, place.y, scale, bits.data(), inks.data(), papers.data(), 5);
            ASSERT_NE(startDrawing(imageOutput(Plain)), 0);
            drawPlainly(place.x, place.y, scale, bits.data(), inks.data(), papers.data(), 5);
            stopDrawing();
            EXPECT_EQ(firstDifference(Width, Height), "");
        }
    }
    freeImage(Fast);
    freeImage(Plain);
}

TEST_P(DrawBitRow, DrawsNothingWithoutADrawingOrBytes) {
    ASSERT_NE(createImage(Fast, 16, 2), 0);
    const std::uint8_t bits = 0xFF;
    const ColourValue ink = rgb(1, 2, 3);
    drawBitRow(0, 0, 1, &bits, &ink, &ink, 1);
    ASSERT_NE(startDrawing(imageOutput(Fast)), 0);
    drawBitRow(0, 0, 1, &bits, &ink, &ink, 0);
    drawBitRow(0, 0, 1, &bits, &ink, &ink, -3);
    stopDrawing();
    EXPECT_EQ(imagePixel(Fast, 0, 0), rgb(255, 255, 255));
    freeImage(Fast);
}

}  // namespace
