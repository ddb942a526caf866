#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_fixture.h"

namespace {

Bytes bitmapOf(const Image& image) {
    return Bytes(image.begin(), image.begin() + BitmapSize);
}
Bytes attributesOf(const Image& image) {
    return Bytes(image.begin() + AttributeStart, image.end());
}

}  // namespace

using SplitAndJoin = CliTest;

TEST_F(SplitAndJoin, SplitWritesBothHalvesUnderTheWindowProgramsNames) {
    const Image image = patternImage();
    std::filesystem::create_directories(path("screens"));
    std::filesystem::create_directories(path("out"));
    writeFile("screens/game.scr", bytesOf(image));
    writeFile("screens/game.p3d", concatenated(plus3Header(), bytesOf(image)));
    const struct {
        std::string input;
        std::vector<std::string> folderArguments;
        std::string bitmap;  // where the halves are expected
        std::string attributes;
    } cases[] = {
        {"screens/game.scr", {}, "game.scr.screen", "game.scr.attr"},
        {"screens/game.scr", {"-d", "out"}, "out/game.scr.screen", "out/game.scr.attr"},
        {"screens/game.scr", {"-d", "out/"}, "out/game.scr.screen", "out/game.scr.attr"},
        {path("screens/game.p3d"), {"-d", path("out")}, "out/game.p3d.screen", "out/game.p3d.attr"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"split", c.input};
        arguments.insert(arguments.end(), c.folderArguments.begin(), c.folderArguments.end());
        const CliResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << c.input << result.err;
        EXPECT_EQ(result.err, "");
        const std::string& bitmap = c.bitmap;
        const std::string& attributes = c.attributes;
        EXPECT_EQ(readFile(bitmap), bitmapOf(image)) << bitmap;
        EXPECT_EQ(readFile(attributes), attributesOf(image)) << attributes;
        std::filesystem::remove(path(bitmap));
        std::filesystem::remove(path(attributes));
    }
}

// A backslash and a double quote are ordinary characters of a file name here:
// screens whose names differ only there must not split into the same files.
TEST_F(SplitAndJoin, NamesThatDifferOnlyInQuotesOrBackslashesSplitApart) {
    const struct {
        std::string input;
        std::uint32_t seed;
    } screens[] = {
        {"say \"hi\".scr", 1}, {"say \"ho\".scr", 2}, {"back\\slash.scr", 3}, {"slash.scr", 4}};
    for (const auto& screen : screens) {
        writeFile(screen.input, bytesOf(patternImage(screen.seed)));
        const CliResult result = run({"split", screen.input});
        EXPECT_EQ(result.exitCode, 0) << screen.input << result.err;
    }
    for (const auto& screen : screens) {
        const Image image = patternImage(screen.seed);
        EXPECT_EQ(readFile(screen.input + ".screen"), bitmapOf(image)) << screen.input;
        EXPECT_EQ(readFile(screen.input + ".attr"), attributesOf(image)) << screen.input;
    }
}

TEST_F(SplitAndJoin, SplitRefusesAFolderThatIsMissingOrAFile) {
    writeFile("in.scr", bytesOf(patternImage()));
    writeFile("plain-file", {});
    const struct {
        std::string folder;
        std::string reason;
    } cases[] = {
        {"missing", "no such folder"},
        {"plain-file", "is not a folder"},
    };
    for (const auto& c : cases) {
        const CliResult result = run({"split", "in.scr", "-d", c.folder});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, failureLine(c.folder, c.reason));
    }
    const CliResult notAScreen = run({"split", "plain-file"});
    EXPECT_EQ(notAScreen.exitCode, 1);
    EXPECT_EQ(notAScreen.err.rfind("scrfix-cli: plain-file: not a screen file: 0 bytes", 0), 0u);
    EXPECT_FALSE(exists("in.scr.screen") || exists("plain-file.screen"));
}

TEST_F(SplitAndJoin, JoinGivesBackTheScreenThatWasSplit) {
    const Bytes screen = bytesOf(patternImage());
    writeFile("game.scr", screen);
    ASSERT_EQ(run({"split", "game.scr"}).exitCode, 0);
    const CliResult result = run({"join", "game.scr.screen", "game.scr.attr", "-o", "back.scr"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile("back.scr"), screen);
}

TEST_F(SplitAndJoin, JoinReportsEachPartOfTheWrongSizeAndWritesNothing) {
    writeFile("long.screen", Bytes(BitmapSize + 1, 0));
    writeFile("short.attr", Bytes(AttributeSize - 1, 0));
    const CliResult result = run({"join", "long.screen", "short.attr", "-o", "out.scr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(
        result.err,
        failureLine("long.screen", "not a bitmap file: 6145 bytes (a bitmap file is 6144 bytes)") +
            failureLine("short.attr",
                        "not an attribute file: 767 bytes (an attribute file is 768 "
                        "bytes)"));
    EXPECT_FALSE(exists("out.scr"));

    const CliResult missing = run({"join", "gone.screen", "gone.attr", "-o", "out.scr"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, failureLine("gone.screen", "no such file") +
                               failureLine("gone.attr", "no such file"));
    EXPECT_FALSE(exists("out.scr"));
}

TEST_F(SplitAndJoin, JoinRefusesToWriteOverEitherPart) {
    const Image image = patternImage();
    writeFile("a.screen", bitmapOf(image));
    writeFile("a.attr", attributesOf(image));
    for (const std::string output : {"a.screen", "a.attr"}) {
        const CliResult result = run({"join", "a.screen", "a.attr", "-o", output});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, failureLine(output,
                                          "is also an input file (only --in-place "
                                          "writes over inputs)"));
    }
    EXPECT_EQ(readFile("a.screen"), bitmapOf(image));
    EXPECT_EQ(readFile("a.attr"), attributesOf(image));
}
