// The real program, started in this process: pointer read-out, cell edits,
// the menu commands and their messages, driven through real widgets.

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QImage>
#include <QMainWindow>
#include <QPaintEvent>
#include <QRegion>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "files/current_file.h"
#include "platform/gadgets.h"
#include "platform/qt_access.h"
#include "program_driver.h"
#include "screen/layout.h"
#include "screen/operations.h"
#include "screen/screen_buffer.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

using Screen = std::vector<std::uint8_t>;

Screen currentScreen() {
    return Screen(ScreenBuffer, ScreenBuffer + ScreenSize);
}

void setScreen(const Screen& screen) {
    std::copy(screen.begin(), screen.end(), ScreenBuffer);
}

// The centre of cell (cx, cy) in pane pixels: one cell is 16 x 16.
QPoint cellCentre(int cx, int cy) {
    return {16 * cx + 8, 16 * cy + 8};
}

// A colour as the pane picture stores it, for readable comparisons.
struct Colour {
    int red, green, blue;
    friend bool operator==(const Colour&, const Colour&) = default;
};
std::ostream& operator<<(std::ostream& out, const Colour& c) {
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

Colour colourAt(const QImage& picture, int x, int y) {
    const QColor c = picture.pixelColor(x, y);
    return {c.red(), c.green(), c.blue()};
}

Colour paneColour(int gadget, int x, int y) {
    return colourAt(panePicture(gadget), x, y);
}

constexpr Colour White{255, 255, 255};
constexpr Colour Grey{127, 127, 127};
constexpr Colour Black{0, 0, 0};
constexpr Colour Blue{0, 0, 255};

bool paneIsAll(int gadget, Colour colour) {
    const QImage& picture = panePicture(gadget);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (paneColour(gadget, x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

bool paneHasColour(int gadget, Colour colour) {
    const QImage& picture = panePicture(gadget);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (paneColour(gadget, x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

// Each test gets a folder of its own, which is also the working directory.
class ProgramWithFiles : public ProgramTest, protected ScratchFolder {
  protected:
    ProgramWithFiles() : ScratchFolder("program") {}

    void SetUp() override {
        ProgramTest::SetUp();
        fs::current_path(folder());
    }

    // Writes a screen file and loads it by dropping it on a pane.
    std::string loadScreen(const Screen& screen, const std::string& name = "picture.scr") {
        std::string file = path(name);
        writeBytes(file, screen);
        dropFiles(pane(MonoPane), {file});
        EXPECT_TRUE(serveEvents());
        EXPECT_EQ(CurrentFileName, file);
        return file;
    }
};

}  // namespace

TEST_F(ProgramTest, StartsWithBlankPanesTheStartingTitleAndNoFile) {
    EXPECT_EQ(windowTitleText(), "New window ( 0 )");
    EXPECT_EQ(CurrentFileName, "");
    EXPECT_EQ(currentScreen(), Screen(ScreenSize, 0));
    EXPECT_TRUE(paneIsAll(MonoPane, White));
    EXPECT_TRUE(paneIsAll(ColourPane, White));
}

TEST_F(ProgramTest, TitleReadsOutTheCellUnderThePointer) {
    const struct {
        int gadget;
        QPoint position;
        int cx, cy;
        std::uint8_t attribute;
        const char* title;
    } cases[] = {
        {MonoPane, {6 * 16 + 3, 3 * 16 + 15}, 6, 3, 71, "x:6 y:3 attribute:01:000:111 file:"},
        {ColourPane, {15, 15}, 0, 0, 0, "x:0 y:0 attribute:00:000:000 file:"},
        {ColourPane, {16, 16}, 1, 1, 255, "x:1 y:1 attribute:11:111:111 file:"},
        {MonoPane, {507, 379}, 31, 23, 184, "x:31 y:23 attribute:10:111:000 file:"},
        {ColourPane, {200, 300}, 12, 18, 0x3A, "x:12 y:18 attribute:00:111:010 file:"},
    };
    for (const auto& c : cases) {
        ScreenBuffer[attributeOffset(c.cx, c.cy)] = c.attribute;
        movePointerOnto(c.gadget, c.position);
        ASSERT_TRUE(serveEvents());
        EXPECT_EQ(windowTitleText(), c.title);
    }
}

TEST_F(ProgramTest, FirstMovementOntoAPaneOnlyEntersIt) {
    QTest::mouseMove(pane(ColourPane), cellCentre(4, 4));
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(windowTitleText(), "New window ( 0 )");
    EXPECT_TRUE(paneIsAll(ColourPane, White));

    QTest::mouseMove(pane(ColourPane), cellCentre(4, 4) + QPoint(1, 1));
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(windowTitleText(), "x:4 y:4 attribute:00:000:000 file:");
}

TEST_F(ProgramTest, MovementHighlightsTheCellOnBothPanesOfTheBlankScreen) {
    movePointerOnto(MonoPane, cellCentre(3, 2));
    ASSERT_TRUE(serveEvents());
    for (const int gadget : {MonoPane, ColourPane}) {
        // Attribute 0 complemented is 255: clear pixels bright white.
        EXPECT_EQ(paneColour(gadget, 16 * 3, 16 * 2), White) << gadget;
        EXPECT_EQ(paneColour(gadget, 16 * 3 + 15, 16 * 2 + 15), White) << gadget;
        EXPECT_EQ(paneColour(gadget, 16 * 3 - 1, 16 * 2), Black) << gadget;
        EXPECT_EQ(paneColour(gadget, 16 * 3 + 16, 16 * 2 + 16), Black) << gadget;
    }
}

// The regions of the paint events a pane gets.
class PanePaints : public QObject {
  public:
    explicit PanePaints(QWidget* pane) { pane->installEventFilter(this); }
    QRegion painted;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

// Both panes are drawn whole on every movement, but only the cell the
// highlight left and the cell it reached go to the window system.
TEST_F(ProgramTest, AMovementToAnotherCellShowsJustTheTwoCellsOfEachPane) {
    movePointerOnto(ColourPane, cellCentre(3, 2));
    ASSERT_TRUE(serveEvents());
    QCoreApplication::processEvents();
    PanePaints mono(pane(MonoPane));
    PanePaints colour(pane(ColourPane));
    QTest::mouseMove(pane(ColourPane), cellCentre(30, 20));
    ASSERT_TRUE(serveEvents());
    const QRegion twoCells = QRegion(16 * 3, 16 * 2, 16, 16) + QRegion(16 * 30, 16 * 20, 16, 16);
    EXPECT_EQ(mono.painted, twoCells);
    EXPECT_EQ(colour.painted, twoCells);
    EXPECT_EQ(windowTitleText(), "x:30 y:20 attribute:00:000:000 file:");
}

TEST_F(ProgramWithFiles, TitleEndsWithTheLoadedFile) {
    const std::string file = loadScreen(Screen(ScreenSize, 0), "with space.scr");
    movePointerOnto(ColourPane, cellCentre(0, 0));
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(windowTitleText(), "x:0 y:0 attribute:00:000:000 file:" + file);
}

TEST_F(ProgramWithFiles, PanesShowTheBitmapAndTheColoursOfAKnownScreen) {
    // Cell (2, 1): attribute 71 (bright, paper 0, ink 7), pixel row 3 holds 240.
    Screen screen(ScreenSize, 0);
    screen[attributeOffset(2, 1)] = 71;
    screen[cellRowOffset(2, 1, 3)] = 240;
    loadScreen(screen);

    const int y = 2 * (8 * 1 + 3);
    const struct {
        int gadget;
        bool highlighted;
        Colour set, clear;
    } cases[] = {
        {ColourPane, false, White, Black},
        {MonoPane, false, Grey, Black},
        // Highlighted: 71 complemented is 184 (paper 7, ink 0, not bright).
        {ColourPane, true, Black, Grey},
        // On the bitmap pane 7 complemented is 248 (bright, paper 7, ink 0).
        {MonoPane, true, Black, White},
    };
    for (const auto& c : cases) {
        if (c.highlighted) {
            movePointerOnto(MonoPane, cellCentre(2, 1));
            ASSERT_TRUE(serveEvents());
        }
        for (int d = 0; d < 8; ++d) {
            const Colour expected = d < 4 ? c.set : c.clear;
            for (const int dy : {0, 1}) {
                EXPECT_EQ(paneColour(c.gadget, 32 + 2 * d, y + dy), expected)
                    << "pane " << c.gadget << " highlighted " << c.highlighted << " pixel " << d;
                EXPECT_EQ(paneColour(c.gadget, 32 + 2 * d + 1, y + dy), expected);
            }
        }
    }
}

TEST_F(ProgramWithFiles, PanesShowPixelColumn253AndRow189ButNotTheLastTwo) {
    Screen screen(ScreenSize, 0);
    for (int cy = 0; cy < CellRows; ++cy) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            screen[attributeOffset(cx, cy)] = 0x42;  // bright, paper 0, ink 2: red on black
        }
    }
    screen[bitmapOffset(253, 10)] = 0b0000'0100;  // pixel 253 of row 10
    screen[bitmapOffset(8, 189)] = 0b1000'0000;   // pixel 8 of row 189
    screen[bitmapOffset(255, 20)] = 0b0000'0001;  // pixel 255: beyond the pane
    loadScreen(screen);

    const Colour red{255, 0, 0};
    for (const int gadget : {MonoPane, ColourPane}) {
        EXPECT_EQ(panePicture(gadget).size(), QSize(508, 380));
    }
    EXPECT_EQ(paneColour(ColourPane, 506, 20), red);
    EXPECT_EQ(paneColour(ColourPane, 507, 21), red);
    EXPECT_EQ(paneColour(ColourPane, 16, 378), red);
    EXPECT_EQ(paneColour(ColourPane, 17, 379), red);
    EXPECT_EQ(paneColour(MonoPane, 506, 20), Grey);
    EXPECT_EQ(paneColour(ColourPane, 507, 40), Black);
}

TEST_F(ProgramTest, GridRunsAlongTheFirstPixelColumnAndRowOfEveryCell) {
    QTest::mouseClick(gadgetWidget(GridBox), Qt::LeftButton);
    ASSERT_TRUE(serveEvents());
    ASSERT_EQ(gadgetState(GridBox), 1);
    for (const int gadget : {MonoPane, ColourPane}) {
        EXPECT_EQ(paneColour(gadget, 16, 100), Blue) << gadget;
        EXPECT_EQ(paneColour(gadget, 100, 16), Blue) << gadget;
        EXPECT_EQ(paneColour(gadget, 0, 5), Blue) << gadget;
        EXPECT_EQ(paneColour(gadget, 496, 379), Blue) << gadget;
        EXPECT_EQ(paneColour(gadget, 15, 100), Black) << gadget;
        EXPECT_EQ(paneColour(gadget, 100, 15), Black) << gadget;
        EXPECT_EQ(paneColour(gadget, 17, 17), Black) << gadget;
    }

    QTest::mouseClick(gadgetWidget(GridBox), Qt::LeftButton);
    ASSERT_TRUE(serveEvents());
    ASSERT_EQ(gadgetState(GridBox), 0);
    for (const int gadget : {MonoPane, ColourPane}) {
        EXPECT_FALSE(paneHasColour(gadget, Blue)) << gadget;
        EXPECT_TRUE(paneIsAll(gadget, Black)) << gadget;
    }
}

TEST_F(ProgramTest, CorrectModeChangesNothing) {
    const Screen before = sampleScreen();
    setScreen(before);
    QTest::mouseClick(gadgetWidget(CorrectModeBox), Qt::LeftButton);
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(gadgetState(CorrectModeBox), 1);
    EXPECT_EQ(currentScreen(), before);
    EXPECT_TRUE(paneIsAll(MonoPane, White));

    clickPane(ColourPane, cellCentre(9, 9));
    ASSERT_TRUE(serveEvents());
    Screen flipped = before;
    flipCell(flipped.data(), 9, 9);
    EXPECT_EQ(currentScreen(), flipped);
}

TEST_F(ProgramTest, AClickFlipsTheCellAndASecondClickOnTheOtherPaneRestoresIt) {
    const Screen before = sampleScreen();
    setScreen(before);
    movePointerOnto(ColourPane, cellCentre(5, 7));
    ASSERT_TRUE(serveEvents());
    const std::string titleBefore = windowTitleText();
    const QImage colourBefore = panePicture(ColourPane).copy();
    const QImage monoBefore = panePicture(MonoPane).copy();

    clickPane(ColourPane, cellCentre(5, 7));
    ASSERT_TRUE(serveEvents());
    Screen flipped = before;
    flipCell(flipped.data(), 5, 7);
    EXPECT_EQ(currentScreen(), flipped);
    // The colours stay, the bitmap of that cell is inverted; the title keeps
    // the reading from before the click.
    EXPECT_EQ(panePicture(ColourPane), colourBefore);
    for (int x = 16 * 5; x < 16 * 6; ++x) {
        EXPECT_NE(paneColour(MonoPane, x, 16 * 7 + 4), colourAt(monoBefore, x, 16 * 7 + 4)) << x;
    }
    EXPECT_EQ(windowTitleText(), titleBefore);

    clickPane(MonoPane, cellCentre(5, 7));
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(currentScreen(), before);
}

TEST_F(ProgramTest, ADoubleClickFlipsTheCellTwice) {
    const Screen before = sampleScreen();
    setScreen(before);
    QTest::mouseDClick(pane(MonoPane), Qt::LeftButton, Qt::NoModifier, cellCentre(1, 2));
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(currentScreen(), before);
}

TEST_F(ProgramTest, OptimizeAndInvertChangeTheWholeScreenAndRedraw) {
    const struct {
        const char* label;
        void (*operation)(std::uint8_t*);
    } cases[] = {{"Optimize", optimizeScreen}, {"Invert", invertScreen}};
    for (const auto& c : cases) {
        Screen expected = sampleScreen();
        setScreen(expected);
        c.operation(expected.data());
        chooseMenuItem(c.label);
        ASSERT_TRUE(serveEvents());
        EXPECT_EQ(currentScreen(), expected) << c.label;
    }
}

TEST_F(ProgramTest, InvertOnTheBlankScreenFillsTheBitmap) {
    chooseMenuItem("Invert");
    ASSERT_TRUE(serveEvents());
    Screen expected(ScreenSize, 0);
    std::fill(expected.begin(), expected.begin() + BitmapSize, 255);
    EXPECT_EQ(currentScreen(), expected);
    // Every pixel set: grey ink on the bitmap pane, black ink on the colour pane.
    EXPECT_TRUE(paneIsAll(MonoPane, Grey));
    EXPECT_TRUE(paneIsAll(ColourPane, Black));
}

TEST_F(ProgramWithFiles, OpenLoadsTheChosenFile) {
    const Screen screen = sampleScreen();
    const std::string file = path("chosen.scr");
    writeBytes(file, screen);
    dialogs().answerNextRequesterWith(file);
    chooseMenuItem("Open..");
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(dialogs().requesterTitles(), std::vector<std::string>{"Please choose file to load"});
    EXPECT_TRUE(dialogs().messages().empty());
    EXPECT_EQ(currentScreen(), screen);
    EXPECT_EQ(CurrentFileName, file);
    EXPECT_FALSE(paneIsAll(ColourPane, White));
}

TEST_F(ProgramWithFiles, ControlOOpensTheRequesterToo) {
    const std::string file = path("by-key.scr");
    writeBytes(file, sampleScreen());
    dialogs().answerNextRequesterWith(file);
    pressOnMainWindow(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(CurrentFileName, file);
}

TEST_F(ProgramWithFiles, CancellingTheRequesterChangesNothing) {
    const std::string file = loadScreen(sampleScreen());
    dialogs().answerNextRequesterWith("");
    chooseMenuItem("Open..");
    ASSERT_TRUE(serveEvents());
    const std::vector<ShownMessage> cancelled{{"Information", "The requester was canceled."}};
    EXPECT_EQ(dialogs().messages(), cancelled);
    EXPECT_EQ(CurrentFileName, file);
    EXPECT_EQ(currentScreen(), sampleScreen());
}

TEST_F(ProgramWithFiles, FilesThatAreNotScreensAreRefusedAndChangeNothing) {
    const std::string loaded = loadScreen(sampleScreen());
    writeBytes(path("short.scr"), Screen(ScreenSize - 1, 1));
    writeBytes(path("long.scr"), Screen(ScreenSize + 1, 1));
    fs::create_directory(path("folder.scr"));
    const struct {
        std::string file;
        bool chosenInTheRequester;  // the requester opens a folder instead of choosing it
    } refused[] = {{path("short.scr"), true},
                   {path("long.scr"), true},
                   {path("missing.scr"), true},
                   {path("folder.scr"), false},
                   {path("folder.scr") + "/", false}};
    for (const auto& [file, chosenInTheRequester] : refused) {
        const QImage before = panePicture(ColourPane).copy();
        if (chosenInTheRequester) {
            dialogs().answerNextRequesterWith(file);
            chooseMenuItem("Open..");
            ASSERT_TRUE(serveEvents());
        }
        dropFiles(pane(ColourPane), {file});
        ASSERT_TRUE(serveEvents());
        const ShownMessage refusal{"Error", "this is not ZX Spectrum picture!"};
        EXPECT_EQ(dialogs().messages(),
                  std::vector<ShownMessage>(chosenInTheRequester ? 2 : 1, refusal))
            << file;
        EXPECT_EQ(CurrentFileName, loaded) << file;
        EXPECT_EQ(currentScreen(), sampleScreen()) << file;
        EXPECT_EQ(panePicture(ColourPane), before) << file;
        dialogs().forgetMessages();
    }
}

TEST_F(ProgramWithFiles, AnyFileOfExactlyTheRightSizeIsLoaded) {
    const std::string file = path("notes");
    writeBytes(file, Screen(ScreenSize, 'a'));
    dropFiles(pane(ColourPane), {file});
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(CurrentFileName, file);
    EXPECT_EQ(currentScreen(), Screen(ScreenSize, 'a'));
}

TEST_F(ProgramWithFiles, DroppingSeveralFilesLoadsTheFirst) {
    Screen first = sampleScreen();
    Screen second(ScreenSize, 9);
    writeBytes(path("first.scr"), first);
    writeBytes(path("second.scr"), second);
    dropFiles(pane(ColourPane), {path("first.scr"), path("second.scr"), path("missing.scr")});
    ASSERT_TRUE(serveEvents());
    EXPECT_TRUE(dialogs().messages().empty());
    EXPECT_EQ(CurrentFileName, path("first.scr"));
    EXPECT_EQ(currentScreen(), first);
}

TEST_F(ProgramWithFiles, SavingBeforeAnyLoadIsRefused) {
    chooseMenuItem("Save");
    ASSERT_TRUE(serveEvents());
    pressOnMainWindow(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(serveEvents());
    chooseMenuItem("Save picture+attributes");
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(dialogs().messages(), (std::vector<ShownMessage>{{"Error", "error saving file!"},
                                                               {"Error", "error saving file!"},
                                                               {"Error", "load screen first!"}}));
    EXPECT_TRUE(fs::is_empty(folder()));
}

TEST_F(ProgramWithFiles, SaveWritesTheEditedScreenOverTheLoadedFile) {
    const std::string file = loadScreen(sampleScreen());
    clickPane(MonoPane, cellCentre(10, 11));
    ASSERT_TRUE(serveEvents());
    pressOnMainWindow(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(serveEvents());
    EXPECT_TRUE(dialogs().messages().empty());
    Screen expected = sampleScreen();
    flipCell(expected.data(), 10, 11);
    EXPECT_EQ(readBytes(file), expected);
}

TEST_F(ProgramWithFiles, SplitSaveWritesBothPartsIntoTheWorkingFolder) {
    fs::create_directory(path("elsewhere"));
    fs::create_directory(path("work"));
    const std::string file = loadScreen(sampleScreen(), "elsewhere/game.scr");
    fs::current_path(path("work"));
    writeBytes(path("work/game.scr.attr"), Screen(10000, 1));  // replaced, not appended to

    for (int run = 0; run < 2; ++run) {
        chooseMenuItem("Save picture+attributes");
        ASSERT_TRUE(serveEvents());
        Screen joined = readBytes(path("work/game.scr.screen"));
        const Screen attributes = readBytes(path("work/game.scr.attr"));
        EXPECT_EQ(joined.size(), 6144u);
        EXPECT_EQ(attributes.size(), 768u);
        joined.insert(joined.end(), attributes.begin(), attributes.end());
        EXPECT_EQ(joined, readBytes(file)) << "run " << run;
    }
    EXPECT_TRUE(dialogs().messages().empty());
    EXPECT_EQ(fs::directory_iterator(path("elsewhere"))->path().filename(), "game.scr");
}

TEST_F(ProgramTest, QuitFromTheMenuEndsTheLoop) {
    chooseMenuItem("Quit");
    EXPECT_FALSE(serveEvents());
}

TEST_F(ProgramTest, ControlQEndsTheLoop) {
    pressOnMainWindow(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(serveEvents());
}

TEST_F(ProgramTest, TheCloseBoxEndsTheLoopWithTheWindowStillOpen) {
    windowWidget(MainWindow)->close();
    EXPECT_TRUE(windowWidget(MainWindow)->isVisible());
    EXPECT_FALSE(serveEvents());
}

namespace {

struct LoadCase {
    const char* what;
    std::string path;
    bool loads;  // otherwise refused as not a screen, leaving everything as it was
};

}  // namespace

TEST_F(ProgramWithFiles, EveryKindOfFileIsLoadedOrRefusedWithoutHanging) {
    const Screen good(ScreenSize, 0x5A);
    writeBytes(path("with space.scr"), good);
    writeBytes(path("caf\xc3\xa9.scr"), good);
    writeBytes(path("\"quoted.scr"), good);
    writeBytes(path("empty.scr"), {});
    writeBytes(path("6911.scr"), Screen(ScreenSize - 1, 1));
    writeBytes(path("6913.scr"), Screen(ScreenSize + 1, 1));
    fs::create_directory(path("folder"));
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    const std::pair<const char*, const char*> links[] = {
        {"link-to-good", "with space.scr"}, {"link-to-folder", "folder"},
        {"link-to-fifo", "fifo"},           {"link-to-device", "/dev/zero"},
        {"dangling-link", "nothing-here"},
    };
    for (const auto& [link, target] : links) {
        fs::create_symlink(target, path(link));
    }

    const LoadCase cases[] = {
        {"a name with a space", path("with space.scr"), true},
        {"a name with non-ASCII bytes", path("caf\xc3\xa9.scr"), true},
        {"a name starting with a double quote", path("\"quoted.scr"), true},
        {"a link to a screen", path("link-to-good"), true},
        {"a missing file", path("missing.scr"), false},
        {"an empty file", path("empty.scr"), false},
        {"one byte short", path("6911.scr"), false},
        {"one byte long", path("6913.scr"), false},
        {"a folder", path("folder"), false},
        {"a FIFO nobody writes to", path("fifo"), false},
        {"a device", "/dev/zero", false},
        {"a link to a folder", path("link-to-folder"), false},
        {"a link to a FIFO", path("link-to-fifo"), false},
        {"a link to a device", path("link-to-device"), false},
        {"a link to nothing", path("dangling-link"), false},
    };
    const std::string loaded = loadScreen(sampleScreen());
    for (const LoadCase& c : cases) {
        setScreen(sampleScreen());
        CurrentFileName = loaded;
        dialogs().forgetMessages();
        dropFiles(pane(MonoPane), {c.path});
        ASSERT_TRUE(serveEvents());
        if (c.loads) {
            EXPECT_TRUE(dialogs().messages().empty()) << c.what;
            EXPECT_EQ(currentScreen(), good) << c.what;
            EXPECT_EQ(CurrentFileName, c.path) << c.what;
        } else {
            const std::vector<ShownMessage> refusal{{"Error", "this is not ZX Spectrum picture!"}};
            EXPECT_EQ(dialogs().messages(), refusal) << c.what;
            EXPECT_EQ(currentScreen(), sampleScreen()) << c.what;
            EXPECT_EQ(CurrentFileName, loaded) << c.what;
        }
    }
}

TEST_F(ProgramWithFiles, AnUnreadableScreenIsReportedAndChangesNothing) {
    const std::string loaded = loadScreen(sampleScreen());
    const std::string locked = path("locked.scr");
    writeBytes(locked, Screen(ScreenSize, 3));
    fs::permissions(locked, fs::perms::none);
    // Root reads any file: while the drop is served, files are accessed as
    // an unprivileged user instead (Linux keeps this per thread).
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ::setfsuid(65534);
    }
    dropFiles(pane(MonoPane), {locked});
    const bool served = serveEvents();
    if (asRoot) {
        ::setfsuid(0);
    }
    ASSERT_TRUE(served);
    ASSERT_EQ(dialogs().messages().size(), 1u);
    EXPECT_EQ(dialogs().messages().front().title, "Error");
    EXPECT_EQ(currentScreen(), sampleScreen());
    EXPECT_EQ(CurrentFileName, loaded);
}

TEST_F(ProgramWithFiles, OnlyTheFirstLocalFileOfALongDropIsLoaded) {
    std::vector<std::string> files;
    for (int i = 0; i < 500; ++i) {
        files.push_back(path("screen-" + std::to_string(i) + ".scr"));
        writeBytes(files.back(), Screen(ScreenSize, static_cast<std::uint8_t>(i)));
    }
    dropFiles(pane(ColourPane), files);
    ASSERT_TRUE(serveEvents());
    EXPECT_TRUE(dialogs().messages().empty());
    EXPECT_EQ(CurrentFileName, files.front());
    EXPECT_EQ(currentScreen(), Screen(ScreenSize, 0));
}
