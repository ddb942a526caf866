#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "files/snapshot_tape_fixtures.h"
#include "support/run_program.h"

namespace {

class Extract : public CliTest {
  protected:
    void writeSnapshot(const std::string& name, const SnapshotContents& contents,
                       libspectrum_id_t type) {
        writeFile(name, snapshotFile(contents, type));
    }
    void writeTape(const std::string& name, const std::vector<Image>& screens,
                   libspectrum_id_t type) {
        std::vector<TapeBlockContents> blocks;
        for (const Image& screen : screens) {
            blocks.push_back({LIBSPECTRUM_TAPE_BLOCK_ROM, headerPayload("screen", 6912), 0x00});
            blocks.push_back({LIBSPECTRUM_TAPE_BLOCK_ROM, bytesOf(screen), 0xFF});
        }
        blocks.push_back({LIBSPECTRUM_TAPE_BLOCK_ROM, bytePattern(300, 7), 0xFF});
        writeFile(name, tapeFile(blocks, type));
    }
    // Every name in the folder, sorted, folders marked with a final "/".
    std::vector<std::string> listing(const std::string& in = "") const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path(in))) {
            names.push_back(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

SnapshotContents snapshotShowing(const Image& screen, libspectrum_machine machine, bool shadow) {
    SnapshotContents contents;
    contents.machine = machine;
    contents.normalScreen = shadow ? patternImage(999) : screen;
    contents.shadowScreen = shadow ? screen : patternImage(998);
    contents.port7ffd = shadow ? 0x18 : 0x10;
    return contents;
}

TEST_F(Extract, WritesTheScreenOfEachSnapshotAndEveryScreenOfEachTape) {
    const Image a = patternImage(1);
    const Image b = patternImage(2);
    const Image c = patternImage(3);
    writeSnapshot("a.sna", snapshotShowing(a, LIBSPECTRUM_MACHINE_48, false),
                  LIBSPECTRUM_ID_SNAPSHOT_SNA);
    writeSnapshot("b.Z80", snapshotShowing(b, LIBSPECTRUM_MACHINE_128, true),
                  LIBSPECTRUM_ID_SNAPSHOT_Z80);
    writeSnapshot("c.szx", snapshotShowing(c, LIBSPECTRUM_MACHINE_PLUS3, false),
                  LIBSPECTRUM_ID_SNAPSHOT_SZX);
    writeTape("game.en.tap", {a, b, c}, LIBSPECTRUM_ID_TAPE_TAP);
    writeTape("GAME.TZX", {c}, LIBSPECTRUM_ID_TAPE_TZX);
    std::filesystem::create_directory(path("out"));
    const std::vector<std::string> inputs = {"a.sna", "b.Z80", "c.szx", "game.en.tap", "GAME.TZX"};
    const struct {
        std::vector<std::string> folderArguments;
        std::string folder;
    } cases[] = {{{}, ""}, {{"-d", "out"}, "out/"}};
    for (const auto& runCase : cases) {
        std::vector<std::string> arguments = {"extract"};
        arguments.insert(arguments.end(), inputs.begin(), inputs.end());
        arguments.insert(arguments.end(), runCase.folderArguments.begin(),
                         runCase.folderArguments.end());
        const CliResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out + result.err, "");
        const std::string f = runCase.folder;
        EXPECT_EQ(readFile(f + "a.scr"), bytesOf(a));
        EXPECT_EQ(readFile(f + "b.scr"), bytesOf(b));
        EXPECT_EQ(readFile(f + "c.scr"), bytesOf(c));
        EXPECT_EQ(readFile(f + "game.en.scr"), bytesOf(a));
        EXPECT_EQ(readFile(f + "game.en-2.scr"), bytesOf(b));
        EXPECT_EQ(readFile(f + "game.en-3.scr"), bytesOf(c));
        EXPECT_EQ(readFile(f + "GAME.scr"), bytesOf(c));
    }
    EXPECT_EQ(listing("out").size(), 7u);
}

TEST_F(Extract, OutNamesTheScreenOfOneFileAndNumbersATapesOthers) {
    const Image a = patternImage(4);
    const Image b = patternImage(5);
    writeTape("two.tzx", {a, b}, LIBSPECTRUM_ID_TAPE_TZX);
    writeSnapshot("one.z80", snapshotShowing(a, LIBSPECTRUM_MACHINE_PENT, true),
                  LIBSPECTRUM_ID_SNAPSHOT_Z80);
    std::filesystem::create_directory(path("shots.d"));
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::pair<std::string, Image>> outputs;
    } cases[] = {
        {{"extract", "one.z80", "-o", "title.scr"}, {{"title.scr", a}}},
        {{"extract", "two.tzx", "-o", "shots.d/title.scr"},
         {{"shots.d/title.scr", a}, {"shots.d/title-2.scr", b}}},
        {{"extract", "-o", "plain", "two.tzx"}, {{"plain", a}, {"plain-2", b}}},
    };
    for (const auto& c : cases) {
        const CliResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        for (const auto& [name, screen] : c.outputs) {
            EXPECT_EQ(readFile(name), bytesOf(screen)) << name;
        }
    }
}

TEST_F(Extract, AFileThatFailsIsReportedAndGivesNothingWhileTheOthersAreDone) {
    const Image good = patternImage(6);
    writeTape("good.tap", {good}, LIBSPECTRUM_ID_TAPE_TAP);
    writeFile("blank.tap", Bytes{});
    writeTape("noscreen.tzx", {}, LIBSPECTRUM_ID_TAPE_TZX);
    writeFile("short.z80", Bytes(20, 1));
    writeFile("notes.txt", Bytes{'h', 'i', '\n'});
    SnapshotContents hiRes;
    hiRes.machine = LIBSPECTRUM_MACHINE_TC2048;
    hiRes.timexMode = 0x06;
    writeSnapshot("timex.szx", hiRes, LIBSPECTRUM_ID_SNAPSHOT_SZX);
    std::filesystem::create_directory(path("folder.sna"));
    const CliResult result = run({"extract", "blank.tap", "noscreen.tzx", "short.z80", "good.tap",
                                  "notes.txt", "timex.szx", "folder.sna", "missing.szx"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              failureLine("blank.tap", "no screen in blank.tap (no data block holds 6912 bytes)") +
                  failureLine("noscreen.tzx",
                              "no screen in noscreen.tzx (no data block holds 6912 bytes)") +
                  failureLine("short.z80",
                              "cannot be read as a .z80 snapshot: 20 bytes are too few for its "
                              "header") +
                  failureLine("notes.txt", "not a snapshot or tape that libspectrum can read") +
                  failureLine("timex.szx",
                              "shows a Timex hi-colour or hi-res display, which a screen file "
                              "cannot hold") +
                  failureLine("folder.sna", "is a folder") +
                  failureLine("missing.szx", "no such file"));
    EXPECT_EQ(readFile("good.scr"), bytesOf(good));
    EXPECT_EQ(listing(),
              (std::vector<std::string>{"blank.tap", "folder.sna/", "good.scr", "good.tap",
                                        "noscreen.tzx", "notes.txt", "short.z80", "timex.szx"}));
}

// libspectrum's own words end the line; they are its to change.
TEST_F(Extract, ADamagedFileIsNamedWithWhatLibspectrumSaid) {
    writeTape("whole.tap", {patternImage(7)}, LIBSPECTRUM_ID_TAPE_TAP);
    const Bytes whole = readFile("whole.tap");
    writeFile("cut.tap", Bytes(whole.begin(), whole.begin() + 3000));
    const Bytes snapshot =
        snapshotFile(snapshotShowing(patternImage(8), LIBSPECTRUM_MACHINE_48, false),
                     LIBSPECTRUM_ID_SNAPSHOT_SNA);
    writeFile("cut.sna", Bytes(snapshot.begin(), snapshot.begin() + 30000));
    for (const auto& [name, start] :
         {std::pair{"cut.tap", "scrfix-cli: cut.tap: cannot be read as a .tap tape: "},
          {"cut.sna", "scrfix-cli: cut.sna: cannot be read as a .sna snapshot: "}}) {
        const CliResult result = run({"extract", name});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err.rfind(start, 0), 0u) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_GT(result.err.size(), std::string(start).size() + 1);
    }
    EXPECT_FALSE(exists("cut.scr"));
}

TEST_F(Extract, NeverWritesOverAnInputOrTwiceToOneFile) {
    std::filesystem::create_directory(path("one"));
    std::filesystem::create_directory(path("two"));
    writeTape("one/x.tap", {patternImage(9)}, LIBSPECTRUM_ID_TAPE_TAP);
    writeTape("two/x.tap", {patternImage(10)}, LIBSPECTRUM_ID_TAPE_TAP);
    const Bytes input = readFile("one/x.tap");
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } cases[] = {
        {{"extract", "one/x.tap", "two/x.tap"},
         failureLine("x.scr", "was already written in this run by another input")},
        {{"extract", "one/x.tap", "-o", "one/x.tap"},
         failureLine("one/x.tap", "is also an input file (only --in-place writes over inputs)")},
        {{"extract", "one/x.tap", "-d", "nowhere"}, failureLine("nowhere", "no such folder")},
    };
    for (const auto& c : cases) {
        const CliResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, c.err);
    }
    EXPECT_EQ(readFile("x.scr"), bytesOf(patternImage(9)));
    EXPECT_EQ(readFile("one/x.tap"), input);
}

// Without libspectrum the batch tool still starts; extract reports each file.
TEST_F(Extract, WithoutLibspectrumEachFileFailsAndNothingIsWritten) {
    writeTape("a.tap", {patternImage(11)}, LIBSPECTRUM_ID_TAPE_TAP);
    writeFile("b.z80", Bytes(100, 0));
    const EnvironmentChanges noLibrary = {{"SCRFIX_LIBSPECTRUM", "libscrfix-none.so.0"}};
    const ProgramRun result =
        runProgram(SCRFIX_CLI_PATH, {"extract", "a.tap", "b.z80"}, folder(), 60, noLibrary);
    const ProgramRun version = runProgram(SCRFIX_CLI_PATH, {"--version"}, folder(), 60, noLibrary);
    EXPECT_EQ(result.exitCode, 1);
    const std::string start =
        "scrfix-cli: a.tap: libspectrum cannot be loaded: libscrfix-none.so.0";
    EXPECT_EQ(result.err.rfind(start, 0), 0u) << result.err;
    const std::size_t second =
        result.err.find("\nscrfix-cli: b.z80: libspectrum cannot be loaded: ");
    EXPECT_NE(second, std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2);
    EXPECT_FALSE(exists("a.scr") || exists("b.scr"));
    EXPECT_EQ(version.exitCode, 0);
}

}  // namespace
