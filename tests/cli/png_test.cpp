#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "display/render.h"
#include "platform/drawing.h"
#include "platform/images.h"

namespace {

constexpr int ReferenceImage = 1;

struct PngCase {
    std::vector<std::string> options;
    int pane;  // 0 the bitmap pane, 1 the colour pane
    int column;
    int row;
    bool grid;
    int scale;
};

// What the renderer draws on an image target for these settings, compared
// pixel by pixel with the PNG file; the first differing pixel is reported.
void expectPngShowsThePane(const std::filesystem::path& file, const Image& screen,
                           const PngCase& c) {
    const QImage png(QString::fromStdString(file.string()), "PNG");
    ASSERT_FALSE(png.isNull()) << file;
    const int width = ScreenWidth * c.scale;
    const int height = ScreenHeight * c.scale;
    ASSERT_EQ(png.width(), width);
    ASSERT_EQ(png.height(), height);

    ASSERT_NE(createImage(ReferenceImage, width, height), 0);
    ASSERT_NE(startDrawing(imageOutput(ReferenceImage)), 0);
    renderPane(screen.data(), c.pane, c.column, c.row, c.grid, c.scale);
    stopDrawing();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = png.pixel(x, y);
            const ColourValue colour = rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
            if (colour != imagePixel(ReferenceImage, x, y)) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << colour
                              << ", the pane has " << imagePixel(ReferenceImage, x, y);
                freeImage(ReferenceImage);
                return;
            }
        }
    }
    freeImage(ReferenceImage);
}

}  // namespace

using Png = CliTest;

TEST_F(Png, ShowsThePictureAsThePaneDrawsIt) {
    const Image screen = patternImage();
    writeFile("game.scr", bytesOf(screen));
    const PngCase cases[] = {
        {{}, 1, -1, -1, false, 1},
        {{"--scale", "2"}, 1, -1, -1, false, 2},
        {{"--mono", "--scale", "2"}, 0, -1, -1, false, 2},
        {{"--scale", "2", "--grid", "--highlight", "31,23"}, 1, 31, 23, true, 2},
        {{"--mono", "--grid", "--highlight", "0,0", "--scale", "2"}, 0, 0, 0, true, 2},
        {{"--grid", "--highlight", "7,12"}, 1, 7, 12, true, 1},
        {{"--scale", "3", "--mono", "--grid"}, 0, -1, -1, true, 3},
        {{"--scale", "8", "--highlight", "16,8"}, 1, 16, 8, false, 8},
    };
    for (const PngCase& c : cases) {
        std::vector<std::string> arguments = {"png", "game.scr", "-o", "picture.png"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const CliResult result = run(arguments);
        SCOPED_TRACE(testing::PrintToString(c.options));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        expectPngShowsThePane(path("picture.png"), screen, c);
    }
}

TEST_F(Png, IsNamedAfterTheScreenInTheCurrentFolderUnlessOtherwiseAsked) {
    const Image screen = patternImage();
    std::filesystem::create_directory(path("screens"));
    writeFile("screens/title.p3d", concatenated(plus3Header(), bytesOf(screen)));
    const CliResult result = run({"png", "screens/title.p3d"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    expectPngShowsThePane(path("title.p3d.png"), screen, {{}, 1, -1, -1, false, 1});
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
    EXPECT_FALSE(exists("short.scr.png") || exists("missing"));
}
