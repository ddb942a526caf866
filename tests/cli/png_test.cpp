#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "support/pane_model.h"
#include "support/png_reading.h"

namespace {

struct PngCase {
    std::vector<std::string> options;
    PaneSettings expected;
};

// Decodes the PNG file and compares every pixel with the pane model; the
// first differing pixel is reported.
void expectPngShows(const std::filesystem::path& file, const Image& screen,
                    const PaneSettings& settings) {
    const DecodedPng png = readPng(file);
    ASSERT_EQ(png.problem, "") << file;
    ASSERT_EQ(png.width, ScreenWidth * settings.scale);
    ASSERT_EQ(png.height, ScreenHeight * settings.scale);
    for (int y = 0; y < png.height; ++y) {
        for (int x = 0; x < png.width; ++x) {
            const ModelColour shown{png.channel(x, y, 0), png.channel(x, y, 1),
                                    png.channel(x, y, 2)};
            const ModelColour expected = modelPanePixel(screen.data(), settings, x, y);
            if (!(shown == expected)) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << int{shown.red} << ","
                              << int{shown.green} << "," << int{shown.blue} << ", expected "
                              << int{expected.red} << "," << int{expected.green} << ","
                              << int{expected.blue};
                return;
            }
        }
    }
}

// A screen in which every attribute value occurs three times and the bitmap
// varies from byte to byte, so that every ink and paper of every brightness
// is drawn with both set and clear pixels.
Image everyAttributeImage() {
    Image screen = patternImage(77);
    for (int cell = 0; cell < AttributeSize; ++cell) {
        screen[AttributeStart + cell] = static_cast<std::uint8_t>(cell * 7);
    }
    return screen;
}

}  // namespace

using Png = CliTest;

TEST_F(Png, ShowsThePictureAsAPaneShowsIt) {
    const Image screen = everyAttributeImage();
    writeFile("game.scr", bytesOf(screen));
    const PngCase cases[] = {
        {{}, {false, -1, -1, false, 1}},
        {{"--scale", "2"}, {false, -1, -1, false, 2}},
        {{"--mono", "--scale", "2"}, {true, -1, -1, false, 2}},
        {{"--scale", "2", "--grid", "--highlight", "31,23"}, {false, 31, 23, true, 2}},
        {{"--mono", "--grid", "--highlight", "0,0", "--scale", "2"}, {true, 0, 0, true, 2}},
        {{"--grid", "--highlight", "7,12"}, {false, 7, 12, true, 1}},
        {{"--scale", "3", "--mono", "--grid"}, {true, -1, -1, true, 3}},
        {{"--scale", "8", "--highlight", "16,8"}, {false, 16, 8, false, 8}},
    };
    for (const PngCase& c : cases) {
        std::vector<std::string> arguments = {"png", "game.scr", "-o", "picture.png"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const CliResult result = run(arguments);
        SCOPED_TRACE(testing::PrintToString(c.options));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        expectPngShows(path("picture.png"), screen, c.expected);
    }
}

TEST_F(Png, IsAnEightBitRgbPictureWithoutAlpha) {
    writeFile("game.scr", bytesOf(patternImage()));
    ASSERT_EQ(run({"png", "game.scr"}).exitCode, 0);
    const DecodedPng png = readPng(path("game.scr.png"));
    EXPECT_EQ(png.colourType, 2);  // truecolour
    EXPECT_EQ(png.bitDepth, 8);
}

TEST_F(Png, IsNamedAfterTheScreenInTheCurrentFolderUnlessOtherwiseAsked) {
    const Image screen = patternImage();
    std::filesystem::create_directory(path("screens"));
    writeFile("screens/title.p3d", concatenated(plus3Header(), bytesOf(screen)));
    const CliResult result = run({"png", "screens/title.p3d"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    expectPngShows(path("title.p3d.png"), screen, PaneSettings{});
}

TEST_F(Png, EveryScreenGivesItsOwnPictureInOneRun) {
    std::filesystem::create_directory(path("pictures"));
    const std::vector<std::string> names = {"a.scr", "b.scr", "c.scr"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        writeFile(names[i], bytesOf(patternImage(static_cast<std::uint32_t>(i + 1))));
    }
    const struct {
        std::vector<std::string> folderArguments;
        std::string folder;
    } cases[] = {{{}, ""}, {{"-d", "pictures"}, "pictures/"}};
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"png", "--scale", "2"};
        arguments.insert(arguments.end(), names.begin(), names.end());
        arguments.insert(arguments.end(), c.folderArguments.begin(), c.folderArguments.end());
        const CliResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out + result.err, "");
        for (std::size_t i = 0; i < names.size(); ++i) {
            expectPngShows(path(c.folder + names[i] + ".png"),
                           patternImage(static_cast<std::uint32_t>(i + 1)),
                           {false, -1, -1, false, 2});
        }
    }
}

// A screen that fails is reported and the others are still converted; two
// screens of one name in different folders would give one picture name, and
// the second must not replace the first.
TEST_F(Png, AFailingScreenLeavesTheOthersDoneAndNoPictureIsWrittenTwice) {
    std::filesystem::create_directory(path("one"));
    std::filesystem::create_directory(path("two"));
    writeFile("one/x.scr", bytesOf(patternImage(1)));
    writeFile("two/x.scr", bytesOf(patternImage(2)));
    writeFile("short.scr", Bytes(10, 0));
    writeFile("y.scr", bytesOf(patternImage(3)));
    const CliResult result =
        run({"png", "one/x.scr", "short.scr", "two/x.scr", "missing.scr", "y.scr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              failureLine("short.scr",
                          "not a screen file: 10 bytes (a screen is 6912 bytes, or 7040 with a "
                          "+3DOS header)") +
                  failureLine("x.scr.png", "was already written in this run by another input") +
                  failureLine("missing.scr", "no such file"));
    expectPngShows(path("x.scr.png"), patternImage(1), PaneSettings{});
    expectPngShows(path("y.scr.png"), patternImage(3), PaneSettings{});
    EXPECT_FALSE(exists("short.scr.png") || exists("missing.scr.png"));
}

TEST_F(Png, FailuresAreReportedAndLeaveNoPicture) {
    const Bytes screen = bytesOf(patternImage());
    writeFile("game.scr", screen);
    writeFile("short.scr", Bytes(100, 0));
    const struct {
        std::vector<std::string> arguments;
        std::string line;
    } cases[] = {
        {{"png", "game.scr", "-o", "game.scr"},
         failureLine("game.scr", "is also an input file (only --in-place writes over inputs)")},
        {{"png", "game.scr", "-o", "missing/picture.png"},
         failureLine("missing/picture.png", "cannot be written")},
        {{"png", "game.scr", "-d", "missing"}, failureLine("missing", "no such folder")},
        {{"png", "game.scr", "-d", "short.scr"}, failureLine("short.scr", "is not a folder")},
        {{"png", "short.scr"},
         failureLine("short.scr",
                     "not a screen file: 100 bytes (a screen is 6912 bytes, or "
                     "7040 with a +3DOS header)")},
    };
    for (const auto& c : cases) {
        const CliResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, c.line);
    }
    EXPECT_EQ(readFile("game.scr"), screen);
    EXPECT_FALSE(exists("short.scr.png") || exists("missing") || exists("game.scr.png"));
}
