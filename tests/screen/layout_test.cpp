#include "screen/layout.h"

#include <gtest/gtest.h>

#include <array>

TEST(BitmapOffset, EveryCellRowAgreesWithThePixelAddress) {
    for (int cy = 0; cy < CellRows; ++cy) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            for (int r = 0; r < 8; ++r) {
                ASSERT_EQ(cellRowOffset(cx, cy, r), bitmapOffset(8 * cx, 8 * cy + r))
                    << cx << "," << cy << "," << r;
            }
        }
    }
}

TEST(BitmapOffset, EveryByteHoldsExactlyOneGroupOfEightPixels) {
    std::array<int, BitmapSize> groups{};
    for (int y = 0; y < ScreenHeight; ++y) {
        for (int x = 0; x < ScreenWidth; x += 8) {
            const int offset = bitmapOffset(x, y);
            ASSERT_GE(offset, 0);
            ASSERT_LT(offset, BitmapSize);
            for (int i = 1; i < 8; ++i) {
                ASSERT_EQ(bitmapOffset(x + i, y), offset) << x + i << "," << y;
            }
            ++groups[offset];
        }
    }
    for (int offset = 0; offset < BitmapSize; ++offset) {
        ASSERT_EQ(groups[offset], 1) << "offset " << offset;
    }
}

struct PixelCase {
    int x, y, offset;
};

TEST(BitmapOffset, KnownPixels) {
    const PixelCase cases[] = {{0, 0, 0},      {8, 0, 1},       {7, 0, 0},        {0, 1, 256},
                               {0, 8, 32},     {0, 64, 2048},   {100, 100, 3212}, {255, 63, 2047},
                               {0, 128, 4096}, {255, 191, 6143}};
    for (const PixelCase& c : cases) {
        EXPECT_EQ(bitmapOffset(c.x, c.y), c.offset) << c.x << "," << c.y;
    }
}

struct CellRowCase {
    int cx, cy, r, offset;
};

TEST(CellRowOffset, KnownCellRows) {
    const CellRowCase cases[] = {
        {0, 0, 0, 0}, {0, 8, 0, 2048}, {5, 9, 2, 2597}, {31, 7, 0, 255}, {31, 23, 7, 6143}};
    for (const CellRowCase& c : cases) {
        EXPECT_EQ(cellRowOffset(c.cx, c.cy, c.r), c.offset) << c.cx << "," << c.cy << "," << c.r;
    }
}

TEST(AttributeOffset, CellsInPlainRowOrderAfterTheBitmap) {
    EXPECT_EQ(attributeOffset(0, 0), 6144);
    EXPECT_EQ(attributeOffset(31, 0), 6175);
    EXPECT_EQ(attributeOffset(0, 1), 6176);
    EXPECT_EQ(attributeOffset(6, 3), 6246);
    EXPECT_EQ(attributeOffset(31, 23), 6911);
}

TEST(SwapInkPaper, KnownAttributes) {
    EXPECT_EQ(swapInkPaper(71), 120);   // bright, paper 0, ink 7
    EXPECT_EQ(swapInkPaper(185), 143);  // flash, paper 7, ink 1
    EXPECT_EQ(swapInkPaper(143), 185);
    EXPECT_EQ(swapInkPaper(0), 0);
}

TEST(SwapInkPaper, ExchangesTheFieldsOfEveryByteAndKeepsFlashAndBright) {
    for (int value = 0; value < 256; ++value) {
        const auto a = static_cast<std::uint8_t>(value);
        const std::uint8_t swapped = swapInkPaper(a);
        EXPECT_EQ(attributeInk(swapped), attributePaper(a)) << value;
        EXPECT_EQ(attributePaper(swapped), attributeInk(a)) << value;
        EXPECT_EQ(swapped & 0xC0, a & 0xC0) << value;
        EXPECT_EQ(swapInkPaper(swapped), a) << value;
    }
}

TEST(AttributeFields, BitsOfOneByte) {
    const std::uint8_t a = 0b1'1'010'110;
    EXPECT_TRUE(attributeFlash(a));
    EXPECT_TRUE(attributeBright(a));
    EXPECT_EQ(attributePaper(a), 2);
    EXPECT_EQ(attributeInk(a), 6);
    EXPECT_FALSE(attributeFlash(0x7F));
    EXPECT_FALSE(attributeBright(0xBF));
}

TEST(PaletteColour, EveryIndexAtBothLevels) {
    // Index bits: green, red, blue; level 127 (not 128) or 255 when bright.
    const Rgb normal[8] = {{0, 0, 0},   {0, 0, 127},   {127, 0, 0},   {127, 0, 127},
                           {0, 127, 0}, {0, 127, 127}, {127, 127, 0}, {127, 127, 127}};
    const Rgb bright[8] = {{0, 0, 0},   {0, 0, 255},   {255, 0, 0},   {255, 0, 255},
                           {0, 255, 0}, {0, 255, 255}, {255, 255, 0}, {255, 255, 255}};
    for (int index = 0; index < 8; ++index) {
        EXPECT_EQ(paletteColour(index, 0), normal[index]) << index;
        EXPECT_EQ(paletteColour(index, 1), bright[index]) << index;
    }
}

TEST(PaletteColour, InkAndPaperOfAnAttributeShareItsBrightness) {
    EXPECT_EQ(inkColour(7), (Rgb{127, 127, 127}));
    EXPECT_EQ(paperColour(7), (Rgb{0, 0, 0}));
    EXPECT_EQ(inkColour(0x4A), (Rgb{255, 0, 0}));  // bright, paper 1, ink 2
    EXPECT_EQ(paperColour(0x4A), (Rgb{0, 0, 255}));
    EXPECT_EQ(inkColour(0x8A), (Rgb{127, 0, 0}));  // flash plays no part
}
