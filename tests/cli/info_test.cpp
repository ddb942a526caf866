#include <gtest/gtest.h>

#include <string>

#include "cli_fixture.h"

namespace {

// Every cell bright white ink on black paper, which Optimize leaves alone,
// except for a few cells that each add one figure:
//   (1, 0) 0x78, bright black ink on white paper: its paper is the ink of
//          (0, 0), so Optimize flips it, and nothing after it;
//   (5, 5) 0xC7, the one flash cell;
//   (9, 9) 0x52, bright red on red: ink equals paper;
//   (20, 20) 0x12, red on red and not bright: ink equals paper.
Image designedImage() {
    Image image = patternImage();
    std::fill(image.begin() + AttributeStart, image.end(), 0x47);
    image[attributeOffset(1, 0)] = 0x78;
    image[attributeOffset(5, 5)] = 0xC7;
    image[attributeOffset(9, 9)] = 0x52;
    image[attributeOffset(20, 20)] = 0x12;
    return image;
}

}  // namespace

using Info = CliTest;

TEST_F(Info, CountsAttributesColoursAndTheCellsOptimizeWouldFlip) {
    writeFile("blank.scr", Bytes(ScreenSize, 0));
    writeFile("designed.scr", bytesOf(designedImage()));
    writeFile("designed.p3d", concatenated(plus3Header(), bytesOf(designedImage())));
    const CliResult result = run({"info", "blank.scr", "designed.scr", "designed.p3d"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "blank.scr: screen file; 1 distinct attributes; cells: 768 ink = paper, 0 bright, "
              "0 flash, 744 flipped by Optimize\n"
              "designed.scr: screen file; 5 distinct attributes; cells: 2 ink = paper, "
              "767 bright, 1 flash, 1 flipped by Optimize\n"
              "designed.p3d: screen file behind a +3DOS header; 5 distinct attributes; cells: "
              "2 ink = paper, 767 bright, 1 flash, 1 flipped by Optimize\n");
}

TEST_F(Info, ReportsEveryFileThatIsNotAScreenAndGoesOnWithTheNext) {
    const Bytes screen = bytesOf(patternImage());
    auto headerWith = [](int offset, std::uint8_t value) {
        Bytes header = plus3Header();
        header[offset] = value;
        return header;
    };
    // The checksum made to match again, so that only the length is wrong.
    Bytes longer = plus3Header(128 + ScreenSize + 1);
    const struct {
        std::string name;
        Bytes bytes;
        std::string reason;
    } cases[] = {
        {"short.scr", Bytes(ScreenSize - 1, 0),
         "not a screen file: 6911 bytes (a screen is 6912 bytes, or 7040 with a +3DOS header)"},
        {"long.scr", Bytes(ScreenSize + 1, 0),
         "not a screen file: 6913 bytes (a screen is 6912 bytes, or 7040 with a +3DOS header)"},
        {"empty.scr",
         {},
         "not a screen file: 0 bytes (a screen is 6912 bytes, or 7040 with a +3DOS header)"},
        {"headerless.p3d", Bytes(128 + ScreenSize, 0),
         "not a screen file: 7040 bytes, no +3DOS header"},
        {"no-mark.p3d", concatenated(headerWith(8, 0), screen),
         "not a screen file: 7040 bytes, no +3DOS header"},
        {"checksum.p3d", concatenated(headerWith(127, plus3Header()[127] ^ 1), screen),
         "not a screen file: 7040 bytes, the +3DOS header's checksum is wrong"},
        {"edited.p3d", concatenated(headerWith(40, 1), screen),
         "not a screen file: 7040 bytes, the +3DOS header's checksum is wrong"},
        {"length.p3d", concatenated(longer, screen),
         "not a screen file: 7040 bytes, the +3DOS header gives a file length of 7041 bytes"},
    };
    std::vector<std::string> arguments = {"info"};
    std::string expectedErrors;
    for (const auto& c : cases) {
        writeFile(c.name, c.bytes);
        arguments.push_back(c.name);
        expectedErrors += failureLine(c.name, c.reason);
    }
    std::filesystem::create_directory(path("folder"));
    writeFile("good.scr", screen);
    arguments.insert(arguments.end(), {"missing.scr", "folder", "good.scr"});
    expectedErrors +=
        failureLine("missing.scr", "no such file") + failureLine("folder", "is a folder");

    const CliResult result = run(arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, expectedErrors);
    EXPECT_EQ(result.out.rfind("good.scr: screen file;", 0), 0u) << result.out;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1);
}
