#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "files/png_writing.h"
#include "support/pane_model.h"
#include "support/png_reading.h"

namespace {

using FromPng = CliTest;

// Every attribute value three times, flash included, over a bitmap that
// varies from byte to byte.
Image everyAttributeImage() {
    Image screen = patternImage(78);
    for (int cell = 0; cell < AttributeSize; ++cell) {
        screen[AttributeStart + cell] = static_cast<std::uint8_t>(cell * 7);
    }
    return screen;
}

// Both screens show the same colour at every pixel, as the tests' own model
// of a pane draws them.
void expectSameColours(const Image& shown, const Image& expected) {
    for (int y = 0; y < ScreenHeight; ++y) {
        for (int x = 0; x < ScreenWidth; ++x) {
            if (!(modelPanePixel(shown.data(), PaneSettings{}, x, y) ==
                  modelPanePixel(expected.data(), PaneSettings{}, x, y))) {
                ADD_FAILURE() << "pixel " << x << "," << y << " differs";
                return;
            }
        }
    }
}

Image imageOf(const Bytes& bytes) {
    Image image{};
    EXPECT_EQ(bytes.size(), image.size());
    std::copy(bytes.begin(), bytes.begin() + std::min(bytes.size(), image.size()), image.begin());
    return image;
}

TEST_F(FromPng, GivesBackAScreenThatPngDrawsTheSameAtEveryScale) {
    const Image screen = everyAttributeImage();
    writeFile("game.scr", bytesOf(screen));
    for (const char* scale : {"1", "2", "3", "8"}) {
        SCOPED_TRACE(std::string("scale ") + scale);
        ASSERT_EQ(run({"png", "game.scr", "--scale", scale, "-o", "picture.png"}).exitCode, 0);
        const CliResult result = run({"from-png", "picture.png"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out + result.err, "");
        expectSameColours(imageOf(readFile("picture.scr")), screen);
        // png draws it pixel for pixel as it drew the first.
        ASSERT_EQ(run({"png", "picture.scr", "--scale", scale, "-o", "again.png"}).exitCode, 0);
        EXPECT_EQ(readPng(path("again.png")).rgb, readPng(path("picture.png")).rgb);
        // No cell needs Optimize, and nothing flashes.
        const CliResult info = run({"info", "picture.scr"});
        EXPECT_NE(info.out.find(" 0 flash, 0 flipped by Optimize\n"), std::string::npos)
            << info.out;
    }
}

TEST_F(FromPng, NamesEachScreenAfterItsPicture) {
    const Image screen = patternImage(12);
    writeFile("s.scr", bytesOf(screen));
    std::filesystem::create_directories(path("art/out"));
    for (const char* name : {"art/title.png", "art/LOUD.PNG", "art/picture", "art/x.png.png"}) {
        ASSERT_EQ(run({"png", "s.scr", "-o", name}).exitCode, 0);
    }
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> outputs;
    } cases[] = {
        {{"from-png", "art/title.png", "art/LOUD.PNG", "art/picture", "art/x.png.png"},
         {"title.scr", "LOUD.scr", "picture.scr", "x.png.scr"}},
        {{"from-png", "art/title.png", "art/picture", "-d", "art/out/"},
         {"art/out/title.scr", "art/out/picture.scr"}},
        {{"from-png", "art/title.png", "-o", "fixed.scr"}, {"fixed.scr"}},
    };
    for (const auto& c : cases) {
        const CliResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        for (const std::string& output : c.outputs) {
            expectSameColours(imageOf(readFile(output)), screen);
        }
    }
}

TEST_F(FromPng, RefusesWhatIsNoScreenPictureAndWritesNothingForIt) {
    // A picture of black with one cell of red dots, then spoilt in one way each.
    Picture base = blankPicture(256, 192);
    for (int x = 0; x < 8; x += 2) {
        base.set8(8 + x, 16, 205, 0, 0);
    }
    Picture halfAlpha = base;
    halfAlpha.set8(100, 50, 0, 0, 0, 254);
    Picture grey = base;
    grey.set8(255, 191, 64, 64, 64);
    Picture three = base;
    three.set8(9, 17, 0, 205, 0);
    Picture mixedBright = base;
    mixedBright.set8(9, 17, 255, 0, 0);
    Picture blocks = enlarged(base, 2);
    blocks.set8(33, 33, 205, 0, 0);
    const struct {
        std::string name;
        Bytes bytes;
        std::string reason;
    } cases[] = {
        {"screen.png", bytesOf(patternImage(1)), "not a PNG picture"},
        {"wide.png", pngFile(blankPicture(257, 192), {}),
         "a picture of 257 x 192 pixels; a screen's is 256 x 192, or N times that in both "
         "directions for N from 2 to 8"},
        {"huge.png", pngFile(blankPicture(2304, 1728), {PngKind::Grey, 1}),
         "a picture of 2304 x 1728 pixels; a screen's is 256 x 192, or N times that in both "
         "directions for N from 2 to 8"},
        {"alpha.png", pngFile(halfAlpha, {PngKind::Rgba, 8}),
         "pixel (100, 50) is not fully opaque, and a screen has no transparency (1 such pixel)"},
        {"grey.png", pngFile(grey, {PngKind::Rgb, 8}),
         "cell (31, 23) shows the colour 64,64,64, far from every Spectrum colour; 1 cell fails"},
        {"three.png", pngFile(three, {PngKind::Palette, 2}),
         "cell (1, 2) shows 3 colours, where a cell can show 2; 1 cell fails"},
        {"bright.png", pngFile(mixedBright, {PngKind::Rgb, 16}),
         "cell (1, 2) shows bright and non-bright colours together; 1 cell fails"},
        {"blocks.png", pngFile(blocks, {PngKind::Rgb, 8}),
         "enlarged 2 times, but the 2 x 2 block at pixel (32, 32) is not one colour (1 such "
         "block)"},
        {"missing.png", {}, "no such file"},
    };
    std::vector<std::string> arguments = {"from-png"};
    std::string expected;
    for (const auto& c : cases) {
        if (c.name != "missing.png") {
            writeFile(c.name, c.bytes);
        }
        arguments.push_back(c.name);
        expected += failureLine(c.name, c.reason);
        // Each alone, and all in one run below.
        const CliResult alone = run({"from-png", c.name});
        EXPECT_EQ(alone.exitCode, 1);
        EXPECT_EQ(alone.err, failureLine(c.name, c.reason));
    }
    writeFile("good.png", pngFile(base, {PngKind::Palette, 1}));
    arguments.insert(arguments.begin() + 3, "good.png");
    const CliResult result = run(arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, expected);
    EXPECT_TRUE(exists("good.scr"));
    for (const auto& c : cases) {
        const std::string screen = c.name.substr(0, c.name.size() - 4) + ".scr";
        EXPECT_FALSE(exists(screen)) << screen;
    }
}

TEST_F(FromPng, NeverWritesOverAnInput) {
    writeFile("s.scr", bytesOf(patternImage(13)));
    ASSERT_EQ(run({"png", "s.scr", "-o", "p.png"}).exitCode, 0);
    const Bytes picture = readFile("p.png");
    const CliResult result = run({"from-png", "p.png", "-o", "p.png"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              failureLine("p.png", "is also an input file (only --in-place writes over inputs)"));
    EXPECT_EQ(readFile("p.png"), picture);
}

}  // namespace
