#include "files/png_file.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
