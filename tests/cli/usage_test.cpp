#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_fixture.h"

using Usage = CliTest;

TEST_F(Usage, HelpAndVersionGoToStandardOutputAndSucceed) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"optimize", "a.scr", "--help"}}) {
        const CliResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out.rfind("Usage: scrfix-cli COMMAND", 0), 0u) << result.out;
        for (const char* command : {"info", "optimize", "invert", "flip", "split", "join", "png",
                                    "extract", "from-png"}) {
            EXPECT_NE(result.out.find(std::string("\n  ") + command + " "), std::string::npos)
                << command;
        }
    }
    const CliResult version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("scrfix-cli ") + SCRFIX_PROJECT_VERSION + "\n");
}

TEST_F(Usage, AWrongCommandLineExitsWithTwoAndWritesNothing) {
    const Bytes screen = bytesOf(patternImage());
    const struct {
        std::vector<std::string> arguments;
        std::string problem;
    } cases[] = {
        {{}, "no command given"},
        {{"frob", "a.scr"}, "unknown command \"frob\""},
        {{"info"}, "info needs at least one FILE"},
        {{"optimize", "a.scr"}, "optimize needs -o OUT or --in-place"},
        {{"invert", "a.scr", "-o", "b.scr", "--in-place"}, "-o and --in-place exclude each other"},
        {{"optimize", "a.scr", "a2.scr", "-o", "b.scr"},
         "-o takes one input FILE; use --in-place for several"},
        {{"optimize", "a.scr", "-o"}, "option -o needs a value"},
        {{"optimize", "a.scr", "-o", ""}, "option -o needs a value"},
        {{"optimize", "a.scr", "-o", "b.scr", "-o", "c.scr"}, "option -o is given twice"},
        {{"optimize", "a.scr", "--in-plac"}, "unknown option \"--in-plac\""},
        {{"optimize", "a.scr", "-d", "out"}, "option -d does not apply to optimize"},
        {{"info", "a.scr", "--in-place"}, "option --in-place does not apply to info"},
        {{"flip", "1", "a.scr", "--in-place"}, "flip needs CX CY FILE"},
        {{"flip", "32", "0", "a.scr", "--in-place"},
         "cell column \"32\" is not a number from 0 to 31"},
        {{"flip", "-1", "0", "a.scr", "--in-place"},
         "cell column \"-1\" is not a number from 0 to 31"},
        {{"flip", "x", "0", "a.scr", "--in-place"},
         "cell column \"x\" is not a number from 0 to 31"},
        {{"flip", "0", "24", "a.scr", "--in-place"},
         "cell row \"24\" is not a number from 0 to 23"},
        {{"flip", "0", "3x", "a.scr", "--in-place"},
         "cell row \"3x\" is not a number from 0 to 23"},
        {{"split"}, "split needs one FILE"},
        {{"split", "a.scr", "a2.scr"}, "split needs one FILE"},
        {{"join", "a.scr"}, "join needs BITMAP and ATTR"},
        {{"join", "a.screen", "a.attr"}, "join needs -o OUT"},
        {{"png", "a.scr", "--scale", "0"}, "--scale \"0\" is not a number from 1 to 8"},
        {{"png", "a.scr", "--scale", "9"}, "--scale \"9\" is not a number from 1 to 8"},
        {{"png", "a.scr", "--highlight", "3"}, "--highlight \"3\" is not CX,CY"},
        {{"png", "a.scr", "--highlight", "3,24"}, "cell row \"24\" is not a number from 0 to 23"},
        {{"png", "a.scr", "--highlight", ",3"}, "cell column \"\" is not a number from 0 to 31"},
        {{"png"}, "png needs at least one FILE"},
        {{"png", "a.scr", "a2.scr", "-o", "b.png"},
         "-o takes one input FILE; several are each written under their own name"},
        {{"png", "a.scr", "-o", "b.png", "-d", "out"}, "-o and -d exclude each other"},
        {{"extract"}, "extract needs at least one FILE"},
        {{"extract", "a.tap", "a2.z80", "-o", "b.scr"},
         "-o takes one input FILE; several are each written under their own name"},
        {{"extract", "a.tap", "-o", "b.scr", "-d", "out"}, "-o and -d exclude each other"},
        {{"extract", "a.tap", "--scale", "2"}, "option --scale does not apply to extract"},
        {{"extract", "a.tap", "--in-place"}, "option --in-place does not apply to extract"},
        {{"from-png"}, "from-png needs at least one FILE"},
        {{"from-png", "a.png", "a2.png", "-o", "b.scr"},
         "-o takes one input FILE; several are each written under their own name"},
        {{"from-png", "a.png", "-d", "out", "-o", "b.scr"}, "-o and -d exclude each other"},
        {{"from-png", "a.png", "--mono"}, "option --mono does not apply to from-png"},
        {{"from-png", "a.png", "-d"}, "option -d needs a value"},
    };
    for (const auto& c : cases) {
        writeFile("a.scr", screen);
        const CliResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 2) << c.problem;
        EXPECT_EQ(result.err, "scrfix-cli: " + c.problem + " (see scrfix-cli --help)\n");
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(readFile("a.scr"), screen) << c.problem;
        EXPECT_FALSE(exists("b.scr") || exists("a.scr.screen") || exists("a.scr.png")) << c.problem;
    }
}

TEST_F(Usage, AfterADoubleDashANameThatLooksLikeAnOptionIsAFile) {
    writeFile("--in-place", bytesOf(patternImage()));
    const CliResult result = run({"info", "--", "--in-place"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.rfind("--in-place: screen file;", 0), 0u) << result.out;
}
