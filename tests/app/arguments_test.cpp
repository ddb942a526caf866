// The window program's command line: which file it loads, and the answers it
// gives without opening a window.

#include "app/arguments.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/scratch_folder.h"

TEST(StartArguments, TheFirstFileIsLoadedAndHelpOrVersionWinsOverEverything) {
    const StartAction Open = StartAction::OpenWindow;
    const StartAction Help = StartAction::ShowHelp;
    const StartAction Version = StartAction::ShowVersion;
    const StartAction Wrong = StartAction::UsageError;
    const struct {
        std::vector<std::string> arguments;
        StartAction action;
        std::optional<std::string> file;
        std::string problem;
    } cases[] = {
        {{}, Open, std::nullopt, ""},
        {{"a.scr"}, Open, "a.scr", ""},
        {{"a.scr", "b.scr", "c.scr"}, Open, "a.scr", ""},
        {{"file:///x/a%20b.scr"}, Open, "file:///x/a%20b.scr", ""},
        {{""}, Open, "", ""},
        {{"-"}, Open, "-", ""},
        {{"--", "-a.scr"}, Open, "-a.scr", ""},
        {{"--", "--help"}, Open, "--help", ""},
        {{"--", "--", "b.scr"}, Open, "--", ""},
        {{"a.scr", "--", "-b.scr"}, Open, "a.scr", ""},
        {{"--help"}, Help, std::nullopt, ""},
        {{"--version"}, Version, std::nullopt, ""},
        {{"a.scr", "--version", "--help"}, Version, "a.scr", ""},
        {{"-x", "--help"}, Help, std::nullopt, ""},
        {{"-x"}, Wrong, std::nullopt, "unknown option '-x'"},
        {{"a.scr", "--hel"}, Wrong, "a.scr", "unknown option '--hel'"},
        {{"--help=all"}, Wrong, std::nullopt, "unknown option '--help=all'"},
        {{"-h", "-v"}, Wrong, std::nullopt, "unknown option '-h'"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments) {
            shown += " \"" + argument + "\"";
        }
        const StartArguments read = readStartArguments(c.arguments);
        EXPECT_EQ(read.action, c.action) << shown;
        if (c.action == Open) {
            EXPECT_EQ(read.file, c.file) << shown;
        }
        EXPECT_EQ(read.problem, c.problem) << shown;
    }
}

namespace {

// Runs the built program where no display can be reached: were it to start
// its window, it would fail with exit code 1 instead of answering.
// `temporaryFolder`, when given, becomes its TMPDIR.
ProgramRun runWithoutDisplay(const std::vector<std::string>& arguments,
                             const std::string& temporaryFolder = "") {
    EnvironmentChanges environment = {
        {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"QT_QPA_PLATFORM", "xcb"}};
    if (!temporaryFolder.empty()) {
        environment.emplace_back("TMPDIR", temporaryFolder);
    }
    ProgramRun run =
        runProgram(SCRFIX_PATH, arguments, std::filesystem::current_path(), 30, environment);
    if (run.exitCode < 0) {
        ADD_FAILURE() << "scrfix did not finish normally";
    }
    return run;
}

}  // namespace

TEST(StartArguments, HelpAndVersionAreAnsweredWithoutADisplay) {
    const ProgramRun help = runWithoutDisplay({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: scrfix [FILE]\n", 0), 0u) << help.out;
    for (const char* option : {"\n  --help ", "\n  --version ", "\n  -- "}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }

    const ProgramRun version = runWithoutDisplay({"a.scr", "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(version.out, std::string("scrfix ") + SCRFIX_PROJECT_VERSION + "\n");
}

TEST(StartArguments, AnUnknownOptionIsAUsageErrorWithoutADisplay) {
    const ProgramRun answer = runWithoutDisplay({"a.scr", "--frob"});
    EXPECT_EQ(answer.exitCode, 2);
    EXPECT_EQ(answer.out, "");
    EXPECT_EQ(answer.err, "scrfix: unknown option '--frob' (see scrfix --help)\n");
}

TEST(StartArguments, WithoutOptionsTheWindowIsStartedAndAFailedStartLeavesNothing) {
    // The counterpart of the tests above: a file alone does try the display,
    // and what the session made in the temporary folder goes with it.
    const ScratchFolder temporary("failed-start");
    const ProgramRun answer = runWithoutDisplay({"a.scr"}, temporary.folder().string());
    EXPECT_EQ(answer.exitCode, 1);
    EXPECT_EQ(answer.out, "");
    EXPECT_EQ(answer.err.rfind("scrfix: cannot start the graphical interface", 0), 0u)
        << answer.err;
    EXPECT_TRUE(std::filesystem::is_empty(temporary.folder()));
}
