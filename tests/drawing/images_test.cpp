#include "platform/images.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr ColourValue White = rgb(255, 255, 255);

class ImagesTest : public ::testing::Test {
  protected:
    void TearDown() override { freeImage(1); }
};

TEST_F(ImagesTest, ANewImageIsWhiteAndHasNothingOutsideIt) {
    ASSERT_NE(createImage(1, 3, 2), 0);
    EXPECT_EQ(imagePixel(1, 0, 0), White);
    EXPECT_EQ(imagePixel(1, 2, 1), White);
    EXPECT_EQ(imagePixel(1, 3, 0), 0u);
    EXPECT_EQ(imagePixel(1, 0, -1), 0u);
    EXPECT_EQ(imagePixel(2, 0, 0), 0u);
    EXPECT_EQ(imageOutput(2), 0u);
}

TEST_F(ImagesTest, SizesBelowOneOrTooLargeAreRefused) {
    EXPECT_EQ(createImage(1, 0, 5), 0);
    EXPECT_EQ(createImage(1, 5, -1), 0);
    EXPECT_EQ(createImage(1, INT_MAX, INT_MAX), 0);
    EXPECT_EQ(createImage(1, 100000, 1), 0);
    EXPECT_EQ(imageOutput(1), 0u);
}

TEST_F(ImagesTest, ReplacingAnImageRetiresTheOldTarget) {
    ASSERT_NE(createImage(1, 4, 4), 0);
    const DrawingTarget old = imageOutput(1);
    ASSERT_NE(createImage(1, 2, 2), 0);
    EXPECT_NE(imageOutput(1), old);
    EXPECT_EQ(startDrawing(old), 0);
}

TEST_F(ImagesTest, PixelsShowWhatWasDrawn) {
    ASSERT_NE(createImage(1, 16, 8), 0);
    ASSERT_NE(startDrawing(imageOutput(1)), 0);
    drawBox(2, 1, 3, 2, rgb(0, 0, 255));
    drawLine(0, 7, 15, 7, rgb(127, 0, 0));
    stopDrawing();
    const PictureView pixels = imagePixels(1);
    ASSERT_NE(pixels.pixels, nullptr);
    EXPECT_EQ(pixels.width, 16);
    EXPECT_EQ(pixels.height, 8);
    EXPECT_EQ(pixels.colourAt(3, 2), rgb(0, 0, 255));
    EXPECT_EQ(pixels.colourAt(9, 7), rgb(127, 0, 0));
    EXPECT_EQ(pixels.colourAt(9, 6), White);
    EXPECT_EQ(imagePixel(1, 4, 1), rgb(0, 0, 255));
    EXPECT_EQ(imagePixel(1, 5, 1), White);
    EXPECT_EQ(imagePixels(2).pixels, nullptr);
}

}  // namespace
