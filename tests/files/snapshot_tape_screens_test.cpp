#include "files/snapshot_tape_screens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/snapshot_tape_fixtures.h"

namespace {

struct FormatCase {
    libspectrum_id_t type;
    const char* name;
};

constexpr FormatCase SnapshotFormats[] = {
    {LIBSPECTRUM_ID_SNAPSHOT_SNA, "game.sna"},
    {LIBSPECTRUM_ID_SNAPSHOT_Z80, "game.z80"},
    {LIBSPECTRUM_ID_SNAPSHOT_SZX, "game.szx"},
};

SpectrumScreens screensOf(const Bytes& file, const std::string& name) {
    return screensInSpectrumFile(file.data(), file.size(), name);
}

std::vector<ScreenImage> only(const ScreenBytes& screen) {
    return {screen};
}

TEST(SnapshotScreen, IsTheScreenTheMachineShows) {
    const ScreenBytes normal = screenPattern(1);
    const ScreenBytes shadow = screenPattern(2);
    const struct {
        libspectrum_machine machine;
        std::uint8_t port7ffd;
        bool shadowShown;
    } cases[] = {
        {LIBSPECTRUM_MACHINE_48, 0x00, false},
        // Bit 3 of port 0x7FFD picks page 7; the other bits (the page at
        // 0xC000, the ROM, the lock) do not matter.
        {LIBSPECTRUM_MACHINE_128, 0x10, false},
        {LIBSPECTRUM_MACHINE_128, 0x18, true},
        {LIBSPECTRUM_MACHINE_128, 0x07, false},
        {LIBSPECTRUM_MACHINE_128, 0x3F, true},
        {LIBSPECTRUM_MACHINE_PLUS2, 0x08, true},
        {LIBSPECTRUM_MACHINE_PLUS3, 0x1D, true},
        {LIBSPECTRUM_MACHINE_PLUS2A, 0x15, false},
        {LIBSPECTRUM_MACHINE_PENT, 0x0F, true},
    };
    for (const FormatCase& format : SnapshotFormats) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(format.name) + " machine " + std::to_string(c.machine) +
                         " port " + std::to_string(c.port7ffd));
            SnapshotContents contents;
            contents.machine = c.machine;
            contents.normalScreen = normal;
            contents.shadowScreen = shadow;
            contents.port7ffd = c.port7ffd;
            const SpectrumScreens found =
                screensOf(snapshotFile(contents, format.type), format.name);
            EXPECT_EQ(found.problem, "");
            EXPECT_EQ(found.screens, only(c.shadowShown ? shadow : normal));
        }
    }
}

TEST(SnapshotScreen, OnATimexMachineIsTheScreenOfItsDisplayMode) {
    const ScreenBytes normal = screenPattern(3);
    const ScreenBytes second = screenPattern(4);
    const struct {
        std::uint8_t mode;
        const ScreenBytes* shown;
    } cases[] = {{0x00, &normal}, {0x01, &second}, {0x38 | 0x01, &second},
                 {0x02, nullptr}, {0x06, nullptr}, {0x3E, nullptr}};
    for (const char* name : {"timex.z80", "timex.szx"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(name) + " mode " + std::to_string(c.mode));
            SnapshotContents contents;
            contents.machine = LIBSPECTRUM_MACHINE_TC2048;
            contents.normalScreen = normal;
            contents.secondScreen = second;
            contents.timexMode = c.mode;
            const libspectrum_id_t type = std::string(name).ends_with(".z80")
                                              ? LIBSPECTRUM_ID_SNAPSHOT_Z80
                                              : LIBSPECTRUM_ID_SNAPSHOT_SZX;
            const SpectrumScreens found = screensOf(snapshotFile(contents, type), name);
            if (c.shown != nullptr) {
                EXPECT_EQ(found.problem, "");
                EXPECT_EQ(found.screens, only(*c.shown));
            } else {
                EXPECT_EQ(found.problem,
                          "shows a Timex hi-colour or hi-res display, which a screen file cannot "
                          "hold");
                EXPECT_TRUE(found.screens.empty());
            }
        }
    }
}

TEST(SnapshotScreen, NeedsThePageItsScreenIsIn) {
    SnapshotContents contents;
    contents.machine = LIBSPECTRUM_MACHINE_128;
    contents.normalScreen = screenPattern(5);
    contents.port7ffd = 0x18;
    contents.withoutPage7 = true;
    const SpectrumScreens found =
        screensOf(snapshotFile(contents, LIBSPECTRUM_ID_SNAPSHOT_SZX), "paged.szx");
    EXPECT_EQ(found.problem, "the snapshot holds no RAM page 7, where its screen is");
    EXPECT_TRUE(found.screens.empty());
    // Page 5 is there, and shown when bit 3 is clear.
    contents.port7ffd = 0x10;
    EXPECT_EQ(screensOf(snapshotFile(contents, LIBSPECTRUM_ID_SNAPSHOT_SZX), "paged.szx").screens,
              only(contents.normalScreen));
}

constexpr FormatCase TapeFormats[] = {
    {LIBSPECTRUM_ID_TAPE_TAP, "game.tap"},
    {LIBSPECTRUM_ID_TAPE_TZX, "game.tzx"},
};

TapeBlockContents header(std::uint16_t length) {
    return {LIBSPECTRUM_TAPE_BLOCK_ROM, headerPayload("block", length), 0x00};
}

TapeBlockContents data(const Bytes& payload) {
    return {LIBSPECTRUM_TAPE_BLOCK_ROM, payload, 0xFF};
}

TEST(TapeScreens, AreEveryDataBlockOf6912BytesInTapeOrder) {
    const ScreenBytes a = screenPattern(10);
    const ScreenBytes b = screenPattern(11);
    const struct {
        std::vector<TapeBlockContents> blocks;
        std::vector<ScreenImage> screens;
    } cases[] = {
        {{header(6912), data(bytesOfScreen(a))}, {a}},
        // A headerless screen, and a screen after other blocks.
        {{data(bytesOfScreen(b))}, {b}},
        {{header(100), data(bytePattern(100, 3)), header(6912), data(bytesOfScreen(a)),
          header(6912), data(bytesOfScreen(b))},
         {a, b}},
        // The header of a 6912-byte block is 17 bytes; a block one byte longer or
        // shorter than a screen's is no screen.
        {{header(6913), data(bytePattern(6913, 4)), header(6912), data(bytesOfScreen(b)),
          data(bytePattern(6911, 5))},
         {b}},
    };
    for (const FormatCase& format : TapeFormats) {
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            SCOPED_TRACE(std::string(format.name) + " case " + std::to_string(i));
            const SpectrumScreens found =
                screensOf(tapeFile(cases[i].blocks, format.type), format.name);
            EXPECT_EQ(found.problem, "");
            EXPECT_EQ(found.screens, cases[i].screens);
        }
    }
}

TEST(TapeScreens, ComeFromTurboAndPureDataBlocksToo) {
    const ScreenBytes a = screenPattern(20);
    const ScreenBytes b = screenPattern(21);
    const std::vector<TapeBlockContents> blocks = {
        {LIBSPECTRUM_TAPE_BLOCK_TURBO, bytesOfScreen(a)},
        {LIBSPECTRUM_TAPE_BLOCK_PAUSE, {}},
        {LIBSPECTRUM_TAPE_BLOCK_PURE_DATA, bytesOfScreen(b)},
        {LIBSPECTRUM_TAPE_BLOCK_PURE_DATA, bytePattern(6913, 1)},
    };
    const SpectrumScreens found = screensOf(tapeFile(blocks, LIBSPECTRUM_ID_TAPE_TZX), "t.tzx");
    EXPECT_EQ(found.problem, "");
    EXPECT_EQ(found.screens, (std::vector<ScreenImage>{a, b}));
}

TEST(TapeScreens, ATapeWithoutOneFails) {
    for (const FormatCase& format : TapeFormats) {
        for (const std::vector<TapeBlockContents>& blocks :
             {std::vector<TapeBlockContents>{}, {header(6913), data(bytePattern(6913, 2))}}) {
            const std::string name = std::string("tapes/") + format.name;
            const SpectrumScreens found = screensOf(tapeFile(blocks, format.type), name);
            EXPECT_EQ(found.problem, "no screen in " + name + " (no data block holds 6912 bytes)");
            EXPECT_TRUE(found.screens.empty());
        }
    }
}

// A file's extension names its type, in any case; any other name leaves the
// type to libspectrum, which knows a tape or a snapshot by its signature.
TEST(SpectrumFile, IsReadAsItsExtensionSaysElseAsLibspectrumIdentifiesIt) {
    const ScreenBytes screen = screenPattern(30);
    SnapshotContents contents;
    contents.machine = LIBSPECTRUM_MACHINE_128;
    contents.shadowScreen = screen;
    contents.port7ffd = 0x08;
    const Bytes szx = snapshotFile(contents, LIBSPECTRUM_ID_SNAPSHOT_SZX);
    const Bytes tzx = tapeFile({data(bytesOfScreen(screen))}, LIBSPECTRUM_ID_TAPE_TZX);
    const Bytes tap = tapeFile({data(bytesOfScreen(screen))}, LIBSPECTRUM_ID_TAPE_TAP);
    for (const auto& [bytes, name] : {std::pair{szx, "GAME.SZX"},
                                      {szx, "game.snapshot"},
                                      {tzx, "Game.Tzx"},
                                      {tzx, "game"},
                                      {tap, "GAME.TAP"},
                                      {tap, "dir.tap/.tap"}}) {
        SCOPED_TRACE(name);
        const SpectrumScreens found = screensOf(bytes, name);
        EXPECT_EQ(found.problem, "");
        EXPECT_EQ(found.screens, only(screen));
    }
    // The tape read as a snapshot, and a text as neither.
    EXPECT_EQ(screensOf(tzx, "game.szx").problem.rfind("cannot be read as a .szx snapshot: ", 0),
              0u);
    const std::string text = "not a tape\n";
    EXPECT_EQ(screensOf(Bytes(text.begin(), text.end()), "notes.txt").problem,
              "not a snapshot or tape that libspectrum can read");
    // A compressed file is not opened, whatever its name says it is (a
    // damaged one can make libspectrum's decompression run without end); a
    // snapshot of another kind, known by its signature, is not read.
    const std::string compressed =
        "a compressed file; extract reads snapshots and tapes as they are";
    for (const char* name :
         {"game.bz2", "game.szx", "game.z80", "game.sna", "game.tap", "game.tzx"}) {
        EXPECT_EQ(screensOf(Bytes{'B', 'Z', 'h'}, name).problem, compressed) << name;
    }
    EXPECT_EQ(screensOf(Bytes{0x1F, 0x8B, 8, 0, 0, 0, 0, 0, 0, 3}, "game.gz").problem, compressed);
    Bytes sp = {'S', 'P', 0, 0x5A};
    sp.resize(38 + 100, 0);
    EXPECT_EQ(screensOf(sp, "game.sp").problem,
              "a snapshot or tape of a kind extract does not read (it reads .sna, .z80, .szx, "
              ".tap and .tzx)");
}

// What libspectrum says after the prefix is its own, and may change with it.
TEST(SpectrumFile, ThatIsDamagedGivesNoScreen) {
    const ScreenBytes screen = screenPattern(40);
    SnapshotContents contents;
    contents.normalScreen = screen;
    const Bytes z80 = snapshotFile(contents, LIBSPECTRUM_ID_SNAPSHOT_Z80);
    const Bytes sna = snapshotFile(contents, LIBSPECTRUM_ID_SNAPSHOT_SNA);
    const Bytes szx = snapshotFile(contents, LIBSPECTRUM_ID_SNAPSHOT_SZX);
    const Bytes tap =
        tapeFile({header(6912), data(bytesOfScreen(screen))}, LIBSPECTRUM_ID_TAPE_TAP);
    const Bytes tzx =
        tapeFile({header(6912), data(bytesOfScreen(screen))}, LIBSPECTRUM_ID_TAPE_TZX);
    const auto cut = [](const Bytes& bytes, std::size_t size) {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    };
    Bytes longerSna = sna;
    longerSna.push_back(0);
    const struct {
        Bytes bytes;
        std::string name;
        std::string problemStart;
    } cases[] = {
        {cut(sna, sna.size() - 1), "a.sna", "cannot be read as a .sna snapshot: "},
        {longerSna, "a.sna", "cannot be read as a .sna snapshot: "},
        {cut(z80, z80.size() / 2), "a.z80", "cannot be read as a .z80 snapshot: "},
        {cut(szx, szx.size() / 2), "a.szx", "cannot be read as a .szx snapshot: "},
        {cut(tap, tap.size() - 100), "a.tap", "cannot be read as a .tap tape: "},
        {cut(tzx, tzx.size() - 100), "a.tzx", "cannot be read as a .tzx tape: "},
        {cut(tzx, 5), "a.tzx", "cannot be read as a .tzx tape: "},
        {Bytes{}, "a.sna", "cannot be read as a .sna snapshot: "},
        {Bytes{}, "a.szx", "cannot be read as a .szx snapshot: "},
        {bytePattern(3000, 9), "a.tzx", "cannot be read as a .tzx tape: "},
        {sna, "a.szx", "cannot be read as a .szx snapshot: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " of " + std::to_string(c.bytes.size()) + " bytes");
        const SpectrumScreens found = screensOf(c.bytes, c.name);
        EXPECT_EQ(found.problem.rfind(c.problemStart, 0), 0u) << found.problem;
        EXPECT_GT(found.problem.size(), c.problemStart.size());
        EXPECT_TRUE(found.screens.empty());
    }
}

// libspectrum reads a .z80 header without checking that the file holds it:
// a file too short for its headers is refused before libspectrum sees it.
TEST(SpectrumFile, TooShortForItsZ80HeadersIsRefusedFirst) {
    SnapshotContents contents;
    contents.machine = LIBSPECTRUM_MACHINE_128;
    const Bytes z80 = snapshotFile(contents, LIBSPECTRUM_ID_SNAPSHOT_Z80);
    ASSERT_GE(z80.size(), 32u + 54u);
    ASSERT_EQ(z80[6] | z80[7], 0) << "a version 3 file";
    for (std::size_t size : {0u, 1u, 29u, 30u, 31u, 32u, 85u}) {
        const Bytes start(z80.begin(), z80.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(screensOf(start, "short.z80").problem,
                  "cannot be read as a .z80 snapshot: " + std::to_string(size) +
                      " bytes are too few for its header");
    }
}

// libspectrum keeps a compressed .z80 page at whatever length its data
// expands to; a page that is not 16384 bytes is refused before it is read.
TEST(SpectrumFile, WithAZ80PageOfAnotherLengthIsRefused) {
    SnapshotContents contents;
    contents.machine = LIBSPECTRUM_MACHINE_128;
    contents.patternedRam = false;
    const Bytes z80 = snapshotFile(contents, LIBSPECTRUM_ID_SNAPSHOT_Z80);
    const std::size_t headers = 32 + (z80[30] | (z80[31] << 8));
    const struct {
        Bytes page;
        std::string problem;
    } cases[] = {
        // 16 zeros; 255 sevens and an empty run.
        {{4, 0, 8, 0xED, 0xED, 16, 0},
         "cannot be read as a .z80 snapshot: page 8 expands to 16 bytes, not 16384"},
        {{8, 0, 3, 0xED, 0xED, 0xFF, 7, 0xED, 0xED, 0x00, 7},
         "cannot be read as a .z80 snapshot: page 3 expands to 255 bytes, not 16384"},
    };
    for (const auto& c : cases) {
        Bytes file(z80.begin(), z80.begin() + static_cast<std::ptrdiff_t>(headers));
        file.insert(file.end(), c.page.begin(), c.page.end());
        const SpectrumScreens found = screensOf(file, "short-page.z80");
        EXPECT_EQ(found.problem, c.problem);
        EXPECT_TRUE(found.screens.empty());
    }
}

}  // namespace
