#include "platform/drawing.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "platform/images.h"

namespace {

// The size of the program's pane pictures.
constexpr int Width = 508;
constexpr int Height = 380;
constexpr int Picture = 1;
constexpr ColourValue White = rgb(255, 255, 255);
constexpr ColourValue Ink = rgb(200, 30, 90);

struct Rect {
    int x, y, width, height;
    bool contains(int px, int py) const {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

const Rect Everything{0, 0, Width, Height};
const Rect Row7{0, 7, Width, 1};
const Rect Nothing{0, 0, 0, 0};

// A test name made of the case's description.
template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char c : std::string(info.param.name)) {
        name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return name;
}

// Pixels that differ from the expectation, "(x,y)" each, at most a few.
std::string unexpectedPixels(const std::vector<Rect>& expected) {
    std::string wrong;
    int count = 0;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            bool inside = false;
            for (const Rect& r : expected) {
                inside = inside || r.contains(x, y);
            }
            if (imagePixel(Picture, x, y) != (inside ? Ink : White) && count++ < 8) {
                wrong += "(" + std::to_string(x) + "," + std::to_string(y) + ")";
            }
        }
    }
    return wrong;
}

class DrawingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(createImage(Picture, Width, Height), 0);
        ASSERT_NE(startDrawing(imageOutput(Picture)), 0);
    }
    void TearDown() override {
        stopDrawing();
        freeImage(Picture);
    }
};

struct BoxCase {
    const char* name;
    int x, y, width, height;
    std::vector<Rect> expected;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
    *out << c.name;
}

const BoxCase boxCases[] = {
    {"two by two at the origin", 0, 0, 2, 2, {{0, 0, 2, 2}}},
    {"two by two from minus one keeps the origin only", -1, -1, 2, 2, {{0, 0, 1, 1}}},
    {"right and bottom limits are exclusive", 10, 20, 2, 2, {{10, 20, 2, 2}}},
    {"negative width extends to the left", 10, 5, -3, 1, {{7, 5, 3, 1}}},
    {"negative height extends upwards", 4, 10, 1, -4, {{4, 6, 1, 4}}},
    {"cut at the right edge", 506, 0, 2, 2, {{506, 0, 2, 2}}},
    {"wholly past the right edge", 508, 0, 2, 2, {Nothing}},
    {"cut at the bottom edge", 0, 379, 3, 5, {{0, 379, 3, 1}}},
    {"wholly above", 0, -2, 5, 2, {Nothing}},
    {"zero width", 3, 3, 0, 5, {Nothing}},
    {"zero height", 3, 3, 5, 0, {Nothing}},
    {"larger than the picture on every side", -100, -100, 1000, 1000, {Everything}},
    {"largest size from the origin", 0, 0, INT_MAX, INT_MAX, {Everything}},
    {"largest size from the smallest corner ends left of the picture",
     INT_MIN,
     INT_MIN,
     INT_MAX,
     INT_MAX,
     {Nothing}},
    {"smallest sizes from the largest corner cover the picture",
     INT_MAX,
     INT_MAX,
     INT_MIN,
     INT_MIN,
     {Everything}},
    {"smallest width reaching back from inside", 500, 0, INT_MIN, 1, {{0, 0, 500, 1}}},
    {"smallest width from left of the picture", -5, 3, INT_MIN, 1, {Nothing}},
    {"largest width from the far right", INT_MAX, 2, INT_MAX, 1, {Nothing}},
};

class BoxClipping : public DrawingTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoxClipping, SetsExactlyThePixelsInsideThePicture) {
    const BoxCase& c = GetParam();
    drawBox(c.x, c.y, c.width, c.height, Ink);
    EXPECT_EQ(unexpectedPixels(c.expected), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, BoxClipping, ::testing::ValuesIn(boxCases), caseName<BoxCase>);

struct LineCase {
    const char* name;
    int x1, y1, x2, y2;
    std::vector<Rect> expected;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

const LineCase lineCases[] = {
    {"vertical past the bottom is cut at the last row", 16, 0, 16, 384, {{16, 0, 1, 380}}},
    {"horizontal past the right is cut at the last column", 0, 32, 512, 32, {{0, 32, 508, 1}}},
    {"a single point", 5, 5, 5, 5, {{5, 5, 1, 1}}},
    {"horizontal drawn right to left includes both ends", 9, 3, 2, 3, {{2, 3, 8, 1}}},
    {"horizontal drawn left to right includes both ends", 2, 3, 9, 3, {{2, 3, 8, 1}}},
    {"vertical drawn upwards includes both ends", 4, 9, 4, 6, {{4, 6, 1, 4}}},
    {"horizontal above the picture", 0, -1, 10, -1, {Nothing}},
    {"horizontal below the picture", 0, 380, 10, 380, {Nothing}},
    {"vertical right of the picture", 508, 0, 508, 10, {Nothing}},
    {"horizontal across all of the 32-bit range", INT_MIN, 7, INT_MAX, 7, {Row7}},
    {"vertical across all of the 32-bit range", 3, INT_MAX, 3, INT_MIN, {{3, 0, 1, Height}}},
    {"diagonal", 0, 0, 3, 3, {{0, 0, 1, 1}, {1, 1, 1, 1}, {2, 2, 1, 1}, {3, 3, 1, 1}}},
    {"diagonal from outside keeps its inside part",
     -10,
     -10,
     2,
     2,
     {{0, 0, 1, 1}, {1, 1, 1, 1}, {2, 2, 1, 1}}},
    {"diagonal drawn backwards",
     3,
     0,
     0,
     3,
     {{3, 0, 1, 1}, {2, 1, 1, 1}, {1, 2, 1, 1}, {0, 3, 1, 1}}},
    {"slanted wholly outside", -50, -1, -1, -40, {Nothing}},
};

class LineClipping : public DrawingTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineClipping, SetsExactlyThePixelsOfTheLineInsideThePicture) {
    const LineCase& c = GetParam();
    drawLine(c.x1, c.y1, c.x2, c.y2, Ink);
    EXPECT_EQ(unexpectedPixels(c.expected), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, LineClipping, ::testing::ValuesIn(lineCases), caseName<LineCase>);

TEST_F(DrawingTest, TheFullRangeDiagonalCrossesThePictureOnItsDiagonal) {
    drawLine(INT_MIN, INT_MIN, INT_MAX, INT_MAX, Ink);
    std::vector<Rect> diagonal;
    diagonal.reserve(Height);
    for (int i = 0; i < Height; ++i) {
        diagonal.push_back({i, i, 1, 1});
    }
    EXPECT_EQ(unexpectedPixels(diagonal), "");
}

// Which pixels a slanted line takes between its ends is free; it must take
// both ends, one pixel per step along its longer axis, with no gaps.
TEST_F(DrawingTest, ASlantedLineTakesBothEndsAndOnePixelPerColumnWithoutGaps) {
    drawLine(10, 20, 61, 37, Ink);
    EXPECT_EQ(imagePixel(Picture, 10, 20), Ink);
    EXPECT_EQ(imagePixel(Picture, 61, 37), Ink);
    int previousRow = 20;
    for (int x = 10; x <= 61; ++x) {
        std::vector<int> rows;
        for (int y = 0; y < Height; ++y) {
            if (imagePixel(Picture, x, y) == Ink) {
                rows.push_back(y);
            }
        }
        ASSERT_EQ(rows.size(), 1u) << "column " << x;
        EXPECT_LE(rows[0] - previousRow, 1) << "column " << x;
        EXPECT_GE(rows[0], previousRow) << "column " << x;
        previousRow = rows[0];
    }
}

TEST_F(DrawingTest, ASlantedLineFromFarOutsideTakesOnePixelInEveryColumnItCrosses) {
    // Over its whole length the line rises 100 rows; inside the picture it is
    // at its middle, row 50.
    drawLine(INT_MIN, 0, INT_MAX, 100, Ink);
    EXPECT_EQ(unexpectedPixels({Rect{0, 50, Width, 1}}), "");
}

TEST_F(DrawingTest, TheColourOfEachCallAppliesToThatCallOnly) {
    drawBox(0, 0, 1, 1, rgb(0, 0, 255));
    drawLine(1, 0, 1, 0, rgb(127, 0, 0));
    EXPECT_EQ(rgb(0, 0, 255), 255u * 65536u);
    EXPECT_EQ(rgb(127, 0, 0), 127u);
    EXPECT_EQ(imagePixel(Picture, 0, 0), 255u * 65536u);
    EXPECT_EQ(imagePixel(Picture, 1, 0), 127u);
}

TEST_F(DrawingTest, TheTopByteOfAColourIsIgnored) {
    drawBox(0, 0, 1, 1, 0xAB000000u | rgb(1, 2, 3));
    EXPECT_EQ(imagePixel(Picture, 0, 0), rgb(1, 2, 3));
}

TEST(DrawingWithoutTarget, PrimitivesDoNothingWhileNoDrawingIsActive) {
    ASSERT_NE(createImage(Picture, 4, 4), 0);
    drawBox(0, 0, 4, 4, Ink);
    drawLine(0, 0, 3, 0, Ink);
    drawLine(0, 0, 3, 3, Ink);
    ASSERT_NE(startDrawing(imageOutput(Picture)), 0);
    stopDrawing();
    drawBox(0, 0, 4, 4, Ink);
    stopDrawing();  // a second stop does nothing either
    EXPECT_EQ(imagePixel(Picture, 0, 0), White);
    EXPECT_EQ(imagePixel(Picture, 3, 3), White);
    freeImage(Picture);
}

TEST(DrawingWithoutTarget, StartingOnNoTargetOrAnUnknownOneFailsAndEndsTheDrawingBefore) {
    ASSERT_NE(createImage(Picture, 4, 4), 0);
    for (const DrawingTarget target : {DrawingTarget{0}, DrawingTarget{987654}}) {
        ASSERT_NE(startDrawing(imageOutput(Picture)), 0);
        EXPECT_EQ(startDrawing(target), 0) << target;
        drawBox(0, 0, 4, 4, Ink);
        drawLine(0, 0, 3, 3, Ink);
        EXPECT_EQ(imagePixel(Picture, 0, 0), White) << target;
    }
    freeImage(Picture);
}

TEST(DrawingWithoutTarget, AFreedPictureCannotBeDrawnOnAgain) {
    ASSERT_NE(createImage(Picture, 4, 4), 0);
    const DrawingTarget freed = imageOutput(Picture);
    freeImage(Picture);
    EXPECT_EQ(startDrawing(freed), 0);
    EXPECT_EQ(imageOutput(Picture), DrawingTarget{0});
}

TEST(DrawingWithoutTarget, StartingASecondDrawingEndsTheFirst) {
    ASSERT_NE(createImage(1, 4, 4), 0);
    ASSERT_NE(createImage(2, 4, 4), 0);
    ASSERT_NE(startDrawing(imageOutput(1)), 0);
    ASSERT_NE(startDrawing(imageOutput(2)), 0);
    drawBox(0, 0, 1, 1, Ink);
    stopDrawing();
    EXPECT_EQ(imagePixel(1, 0, 0), White);
    EXPECT_EQ(imagePixel(2, 0, 0), Ink);
    freeImage(1);
    freeImage(2);
}

}  // namespace
