#include "screen/operations.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "screen/layout.h"

namespace {

using Image = std::array<std::uint8_t, ScreenSize>;

// Every byte different from its neighbours, so a byte flipped or left
// alone by mistake shows.
Image patternImage() {
    Image image{};
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : image) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return image;
}

std::uint8_t& attributeOf(Image& image, int cx, int cy) {
    return image[attributeOffset(cx, cy)];
}

}  // namespace

TEST(FlipCell, InvertsTheCellsBytesAndSwapsItsColoursOnly) {
    const Image before = patternImage();
    Image image = before;
    flipCell(image.data(), 5, 9);

    Image expected = before;
    for (int r = 0; r < 8; ++r) {
        const int offset = bitmapOffset(40, 72 + r);
        expected[offset] = static_cast<std::uint8_t>(~before[offset]);
    }
    expected[attributeOffset(5, 9)] = swapInkPaper(before[attributeOffset(5, 9)]);
    EXPECT_EQ(image, expected);
}

TEST(FlipCell, TwiceGivesBackTheImage) {
    const Image before = patternImage();
    Image image = before;
    for (const auto& [cx, cy] : {std::pair{0, 0}, {31, 23}, {17, 8}}) {
        flipCell(image.data(), cx, cy);
        flipCell(image.data(), cx, cy);
        EXPECT_EQ(image, before) << cx << "," << cy;
    }
}

TEST(InvertScreen, IsFlipCellOnEveryCell) {
    Image inverted = patternImage();
    Image flipped = inverted;
    invertScreen(inverted.data());
    for (int cy = 0; cy < CellRows; ++cy) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            flipCell(flipped.data(), cx, cy);
        }
    }
    EXPECT_EQ(inverted, flipped);
}

TEST(InvertScreen, TwiceGivesBackTheImage) {
    const Image before = patternImage();
    Image image = before;
    invertScreen(image.data());
    invertScreen(image.data());
    EXPECT_EQ(image, before);
}

TEST(InvertScreen, ZeroImageGetsAllInkAndKeepsZeroAttributes) {
    Image image{};
    invertScreen(image.data());
    for (int offset = 0; offset < ScreenSize; ++offset) {
        ASSERT_EQ(image[offset], offset < BitmapSize ? 255 : 0) << "offset " << offset;
    }
}

TEST(ScreenOperations, KeepFlashAndBrightOfEveryAttribute) {
    const Image before = patternImage();
    using Operation = void (*)(std::uint8_t*);
    const Operation operations[] = {invertScreen, optimizeScreen,
                                    [](std::uint8_t* image) { flipCell(image, 3, 4); }};
    for (const Operation operation : operations) {
        Image image = before;
        operation(image.data());
        for (int offset = AttributeStart; offset < ScreenSize; ++offset) {
            ASSERT_EQ(image[offset] & 0xC0, before[offset] & 0xC0) << "offset " << offset;
        }
    }
}

namespace {

// Paper 2, ink 1: never passes the test next to itself, nor after the last
// cell of any case below, so only the cells a case sets take part.
constexpr std::uint8_t Neutral = 0x11;

struct OptimizeCase {
    const char* name;
    std::vector<std::uint8_t> rowStart;  // attributes of the first cells; the rest Neutral
    std::vector<std::uint8_t> rowAfter;
    std::vector<int> flippedColumns;
};

}  // namespace

TEST(OptimizeScreen, FlipsTheRightCellOfMatchingPairsLeftToRight) {
    const std::vector<std::uint8_t> chain = [] {
        std::vector<std::uint8_t> row(CellColumns, 0x38);
        row[0] = 0x07;
        return row;
    }();
    std::vector<int> allButFirst;
    for (int cx = 1; cx < CellColumns; ++cx) {
        allButFirst.push_back(cx);
    }

    const OptimizeCase cases[] = {
        {"left ink is right paper", {0x07, 0x3B}, {0x07, 0x1F}, {1}},
        {"right ink is left paper", {0x38, 0x1F}, {0x38, 0x3B}, {1}},
        {"both at once", {0x07, 0x38}, {0x07, 0x07}, {1}},
        {"a flipped cell is read afresh", {0x07, 0x38, 0x07}, {0x07, 0x07, 0x07}, {1}},
        {"a flip carries along the row", chain, std::vector<std::uint8_t>(32, 0x07), allButFirst},
        {"ink equal to paper keeps its attribute", {0x07, 0x3F}, {0x07, 0x3F}, {1}},
        {"flash and bright take no part", {0x47, 0xB8}, {0x47, 0x87}, {1}},
        {"no shared colour", {0x0A, 0x1C}, {0x0A, 0x1C}, {}},
    };
    constexpr int Row = 13;
    for (const OptimizeCase& c : cases) {
        Image image = patternImage();
        for (int cy = 0; cy < CellRows; ++cy) {
            for (int cx = 0; cx < CellColumns; ++cx) {
                attributeOf(image, cx, cy) = Neutral;
            }
        }
        for (std::size_t cx = 0; cx < c.rowStart.size(); ++cx) {
            attributeOf(image, static_cast<int>(cx), Row) = c.rowStart[cx];
        }
        Image expected = image;
        for (const int cx : c.flippedColumns) {
            flipCell(expected.data(), cx, Row);
        }

        optimizeScreen(image.data());

        for (std::size_t cx = 0; cx < c.rowAfter.size(); ++cx) {
            EXPECT_EQ(attributeOf(image, static_cast<int>(cx), Row), c.rowAfter[cx])
                << c.name << ", cell " << cx;
        }
        EXPECT_EQ(image, expected) << c.name;
    }
}

TEST(OptimizeScreen, ZeroImageFlipsEveryCellButTheFirstColumn) {
    Image image{};
    optimizeScreen(image.data());
    for (int cy = 0; cy < CellRows; ++cy) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            for (int r = 0; r < 8; ++r) {
                ASSERT_EQ(image[cellRowOffset(cx, cy, r)], cx == 0 ? 0 : 255) << cx << "," << cy;
            }
            ASSERT_EQ(attributeOf(image, cx, cy), 0) << cx << "," << cy;
        }
    }
}

TEST(OptimizeScreen, CellWithInkEqualToPaperIsInvertedOnEveryRun) {
    Image image{};
    attributeOf(image, 0, 0) = 0x07;
    attributeOf(image, 1, 0) = 0x3F;
    optimizeScreen(image.data());
    EXPECT_EQ(image[cellRowOffset(1, 0, 0)], 255);
    optimizeScreen(image.data());
    EXPECT_EQ(image[cellRowOffset(1, 0, 0)], 0);
    EXPECT_EQ(attributeOf(image, 1, 0), 0x3F);
}
