#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "screen/operations.h"

namespace {

struct EditCase {
    std::vector<std::string> command;  // the arguments before the files
    std::function<void(std::uint8_t*)> edit;
    int mostFiles;  // flip takes one file, the others any number
};

const EditCase EditCases[] = {
    {{"optimize"}, optimizeScreen, 3},
    {{"invert"}, invertScreen, 3},
    {{"flip", "5", "9"}, [](std::uint8_t* image) { flipCell(image, 5, 9); }, 1},
    {{"flip", "31", "23"}, [](std::uint8_t* image) { flipCell(image, 31, 23); }, 1},
};

Image edited(Image image, const EditCase& c) {
    c.edit(image.data());
    return image;
}

std::vector<std::string> withArguments(std::vector<std::string> arguments,
                                       const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

}  // namespace

using EditCommands = CliTest;

TEST_F(EditCommands, WriteWhatTheScreenOperationGivesToTheOutput) {
    const Image original = patternImage();
    for (const EditCase& c : EditCases) {
        writeFile("in.scr", bytesOf(original));
        const CliResult result = run(withArguments(c.command, {"in.scr", "-o", "out.scr"}));
        EXPECT_EQ(result.exitCode, 0) << c.command[0] << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(readFile("out.scr"), bytesOf(edited(original, c))) << c.command[0];
        EXPECT_EQ(readFile("in.scr"), bytesOf(original)) << c.command[0];
    }
}

TEST_F(EditCommands, InPlaceReplacesEachInputWithItsOwnResult) {
    for (const EditCase& c : EditCases) {
        std::vector<std::string> arguments = withArguments(c.command, {"--in-place"});
        for (int seed = 1; seed <= c.mostFiles; ++seed) {
            writeFile(std::to_string(seed) + ".scr",
                      bytesOf(patternImage(static_cast<std::uint32_t>(seed))));
            arguments.push_back(std::to_string(seed) + ".scr");
        }
        const CliResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << c.command[0] << result.err;
        for (int seed = 1; seed <= c.mostFiles; ++seed) {
            EXPECT_EQ(readFile(std::to_string(seed) + ".scr"),
                      bytesOf(edited(patternImage(static_cast<std::uint32_t>(seed)), c)))
                << c.command[0] << " " << seed;
        }
    }
}

TEST_F(EditCommands, AScreenBehindAPlus3HeaderKeepsItsHeader) {
    const Image original = patternImage();
    for (const EditCase& c : EditCases) {
        writeFile("in.p3d", concatenated(plus3Header(), bytesOf(original)));
        writeFile("both.p3d", concatenated(plus3Header(), bytesOf(original)));
        EXPECT_EQ(run(withArguments(c.command, {"in.p3d", "-o", "out.p3d"})).exitCode, 0);
        EXPECT_EQ(run(withArguments(c.command, {"--in-place", "both.p3d"})).exitCode, 0);
        const Bytes expected = concatenated(plus3Header(), bytesOf(edited(original, c)));
        EXPECT_EQ(readFile("out.p3d"), expected) << c.command[0];
        EXPECT_EQ(readFile("both.p3d"), expected) << c.command[0];
    }
}

TEST_F(EditCommands, AFailingFileIsReportedAndTheOthersAreStillProcessed) {
    const Bytes shortFile(ScreenSize - 1, 7);
    writeFile("first.scr", bytesOf(patternImage(1)));
    writeFile("short.scr", shortFile);
    std::filesystem::create_directory(path("folder"));
    writeFile("last.scr", bytesOf(patternImage(2)));

    const CliResult result = run(
        {"optimize", "--in-place", "first.scr", "missing.scr", "short.scr", "folder", "last.scr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              failureLine("missing.scr", "no such file") +
                  failureLine("short.scr",
                              "not a screen file: 6911 bytes (a screen is 6912 bytes, or 7040 "
                              "with a +3DOS header)") +
                  failureLine("folder", "is a folder"));
    Image first = patternImage(1);
    Image last = patternImage(2);
    optimizeScreen(first.data());
    optimizeScreen(last.data());
    EXPECT_EQ(readFile("first.scr"), bytesOf(first));
    EXPECT_EQ(readFile("last.scr"), bytesOf(last));
    EXPECT_EQ(readFile("short.scr"), shortFile);
    EXPECT_FALSE(exists("missing.scr"));
}

TEST_F(EditCommands, AnOutputThatIsAlsoTheInputIsRefusedWithoutInPlace) {
    const Bytes original = bytesOf(patternImage());
    writeFile("in.scr", original);
    std::filesystem::create_directory(path("sub"));
    std::filesystem::create_hard_link(path("in.scr"), path("hard-link.scr"));
    std::filesystem::create_symlink(path("in.scr"), path("symbolic-link.scr"));
    for (const std::string output :
         {"in.scr", "./in.scr", "sub/../in.scr", "hard-link.scr", "symbolic-link.scr"}) {
        for (const char* command : {"optimize", "invert"}) {
            const CliResult result = run({command, "in.scr", "-o", output});
            EXPECT_EQ(result.exitCode, 1) << output;
            EXPECT_EQ(result.err, failureLine(output,
                                              "is also an input file (only --in-place "
                                              "writes over inputs)"));
            EXPECT_EQ(readFile("in.scr"), original) << output;
        }
    }
}

TEST_F(EditCommands, AnOutputThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    writeFile("in.scr", bytesOf(patternImage()));
    std::filesystem::create_directory(path("folder"));
    for (const std::string output : {"missing/out.scr", "folder"}) {
        const CliResult result = run({"invert", "in.scr", "-o", output});
        EXPECT_EQ(result.exitCode, 1) << output;
        EXPECT_EQ(result.err, failureLine(output, "cannot be written"));
    }
    // Nothing but what the test made: no output, no partial or temporary file.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"folder", "in.scr"}));
    EXPECT_TRUE(std::filesystem::is_empty(path("folder")));
}
