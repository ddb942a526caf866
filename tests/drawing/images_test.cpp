#include "platform/images.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr ColourValue White = rgb(255, 255, 255);

class ImagesTest : public ::testing::Test, protected ScratchFolder {
  protected:
    ImagesTest() : ScratchFolder("images") {}

    void TearDown() override { freeImage(1); }
};

TEST_F(ImagesTest, WorkWithoutAnyApplicationObject) {
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_NE(createImage(1, 3, 2), 0);
}

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

TEST_F(ImagesTest, ASavedPngHoldsTheDrawnPixels) {
    ASSERT_NE(createImage(1, 16, 8), 0);
    ASSERT_NE(startDrawing(imageOutput(1)), 0);
    drawBox(2, 1, 3, 2, rgb(0, 0, 255));
    drawLine(0, 7, 15, 7, rgb(127, 0, 0));
    stopDrawing();
    const fs::path file = folder() / "picture.png";
    ASSERT_NE(saveImage(1, file.string()), 0);

    QImage read(QString::fromStdString(file.string()), "PNG");
    ASSERT_FALSE(read.isNull());
    ASSERT_EQ(read.size(), QSize(16, 8));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb pixel = read.pixel(x, y);
            EXPECT_EQ(rgb(qRed(pixel), qGreen(pixel), qBlue(pixel)), imagePixel(1, x, y))
                << x << "," << y;
        }
    }
    EXPECT_EQ(imagePixel(1, 3, 2), rgb(0, 0, 255));
    EXPECT_EQ(imagePixel(1, 9, 7), rgb(127, 0, 0));
    EXPECT_EQ(imagePixel(1, 9, 6), White);
}

TEST_F(ImagesTest, SavingFailsForAMissingImageOrAnUnwritablePath) {
    EXPECT_EQ(saveImage(1, (folder() / "none.png").string()), 0);
    ASSERT_NE(createImage(1, 2, 2), 0);
    EXPECT_EQ(saveImage(1, (folder() / "no such folder" / "x.png").string()), 0);
    EXPECT_EQ(saveImage(1, ""), 0);
}

TEST_F(ImagesTest, AnEncodedPngIsTheFileSaveImageWrites) {
    EXPECT_TRUE(encodeImagePng(1).empty());
    ASSERT_NE(createImage(1, 16, 8), 0);
    ASSERT_NE(startDrawing(imageOutput(1)), 0);
    drawBox(2, 1, 3, 2, rgb(0, 0, 255));
    stopDrawing();
    const fs::path file = folder() / "picture.png";
    ASSERT_NE(saveImage(1, file.string()), 0);
    const std::vector<std::uint8_t> saved = readBytes(file);

    const std::vector<std::uint8_t> encoded = encodeImagePng(1);
    EXPECT_FALSE(encoded.empty());
    EXPECT_EQ(encoded, saved);
}

}  // namespace
