// A screen file named on the command line: loaded once the window is up,
// exactly as a drop of that one file is, with the same refusals.

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>
#include <QImage>
#include <QTest>
#include <cctype>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/arguments.h"
#include "app/main_window.h"
#include "app/program.h"
#include "files/current_file.h"
#include "platform/qt_access.h"
#include "program_driver.h"
#include "screen/layout.h"
#include "screen/operations.h"
#include "screen/screen_buffer.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

Bytes currentScreen() {
    return Bytes(ScreenBuffer, ScreenBuffer + ScreenSize);
}

QColor paneColour(int gadget, int x, int y) {
    return panePicture(gadget).pixelColor(x, y);
}

bool paneIsBlank(int gadget) {
    const QImage& picture = panePicture(gadget);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixelColor(x, y) != QColor(Qt::white)) {
                return false;
            }
        }
    }
    return true;
}

// The program as main() runs it, the command line being `arguments`: read,
// started, then the named file loaded before the first loop turn. Message
// boxes are answered from the start on.
class StartFileTest : public ::testing::Test, protected ScratchFolder {
  protected:
    StartFileTest() : ScratchFolder("start-file") {}

    void SetUp() override {
        fs::current_path(folder());
        // Readable by the unprivileged user the unreadable case loads as.
        fs::permissions(folder(), fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
    }

    void TearDown() override {
        dialogs_.reset();
        if (started_) {
            endProgram();
        }
    }

    void startWith(const std::vector<std::string>& arguments, bool loadAsAnotherUser = false) {
        const StartArguments read = readStartArguments(arguments);
        ASSERT_EQ(read.action, StartAction::OpenWindow);
        ASSERT_TRUE(startProgram());
        started_ = true;
        dialogs_ = std::make_unique<DialogAnswerer>();
        // Root reads any file: the file is then accessed as an unprivileged
        // user instead (Linux keeps this per thread).
        const bool changeUser = loadAsAnotherUser && ::geteuid() == 0;
        if (changeUser) {
            ::setfsuid(65534);
        }
        if (read.file) {
            loadStartFile(*read.file);
        }
        if (changeUser) {
            ::setfsuid(0);
        }
    }

    DialogAnswerer& dialogs() { return *dialogs_; }

  private:
    bool started_ = false;
    std::unique_ptr<DialogAnswerer> dialogs_;
};

// What the start leaves: a file loaded, or nothing loaded and at most one refusal.
struct StartCase {
    const char* what;
    std::vector<std::string> arguments;  // a leading "@" stands for the test's folder + "/"
    std::string loaded;                  // the current file after the start, "" for none
    std::string refusal;                 // the text of the one error box, "" for none
    bool loadAsAnotherUser = false;
};

void PrintTo(const StartCase& c, std::ostream* out) {
    *out << c.what;
}

const std::string NotAScreen = "this is not ZX Spectrum picture!";

const StartCase startCases[] = {
    {"no argument", {}, "", ""},
    {"a screen by its full name", {"@good.scr"}, "@good.scr", ""},
    {"a screen by a name relative to the working folder", {"good.scr"}, "good.scr", ""},
    {"a screen as a file URL", {"file://@with%20space.scr"}, "@with space.scr", ""},
    {"a screen as a file URL of localhost", {"file://localhost@good.scr"}, "@good.scr", ""},
    {"the first of several", {"@good.scr", "@with space.scr", "@missing.scr"}, "@good.scr", ""},
    {"a name starting with a dash, after the end of options", {"--", "-dash.scr"}, "-dash.scr", ""},
    {"a missing file", {"@missing.scr", "@good.scr"}, "", NotAScreen},
    {"a folder", {"@folder"}, "", NotAScreen},
    {"a file one byte short", {"@short.scr"}, "", NotAScreen},
    {"a file one byte long", {"@long.scr"}, "", NotAScreen},
    {"an empty argument", {""}, "", NotAScreen},
    {"a file URL of another computer", {"file://server@good.scr"}, "", NotAScreen},
    {"an unreadable screen", {"@locked.scr"}, "", "error reading file!", true},
};

class StartCases : public StartFileTest, public ::testing::WithParamInterface<StartCase> {
  protected:
    std::string inFolder(const std::string& text) const {
        const std::size_t at = text.find('@');
        return at == std::string::npos
                   ? text
                   : text.substr(0, at) + folder().string() + "/" + text.substr(at + 1);
    }
};

}  // namespace

TEST_P(StartCases, LoadOrRefuseAsADropOfTheFirstFile) {
    const StartCase& c = GetParam();
    writeBytes(path("good.scr"), bytePattern(ScreenSize, 1));
    writeBytes(path("with space.scr"), bytePattern(ScreenSize, 2));
    writeBytes(path("-dash.scr"), bytePattern(ScreenSize, 3));
    writeBytes(path("short.scr"), bytePattern(ScreenSize - 1));
    writeBytes(path("long.scr"), bytePattern(ScreenSize + 1));
    writeBytes(path("locked.scr"), bytePattern(ScreenSize, 4));
    fs::permissions(path("locked.scr"), fs::perms::none);
    fs::create_directory(path("folder"));

    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments) {
        arguments.push_back(inFolder(argument));
    }
    startWith(arguments, c.loadAsAnotherUser);

    const std::vector<ShownMessage> refusals =
        c.refusal.empty() ? std::vector<ShownMessage>{}
                          : std::vector<ShownMessage>{{"Error", c.refusal}};
    EXPECT_EQ(dialogs().messages(), refusals);
    // The title changes only when the pointer moves.
    EXPECT_EQ(windowTitleText(), "New window ( 0 )");
    if (c.loaded.empty()) {
        EXPECT_EQ(CurrentFileName, "");
        EXPECT_EQ(currentScreen(), Bytes(ScreenSize, 0));
        EXPECT_TRUE(paneIsBlank(MonoPane));
        EXPECT_TRUE(paneIsBlank(ColourPane));
    } else {
        EXPECT_EQ(CurrentFileName, inFolder(c.loaded));
        EXPECT_EQ(currentScreen(), readBytes(inFolder(c.loaded)));
        EXPECT_FALSE(paneIsBlank(MonoPane));
        EXPECT_FALSE(paneIsBlank(ColourPane));
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, StartCases, ::testing::ValuesIn(startCases),
                         [](const ::testing::TestParamInfo<StartCase>& info) {
                             // "a missing file" is named AMissingFile.
                             std::string name;
                             bool wordStart = true;
                             for (const char c : std::string(info.param.what)) {
                                 if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
                                     wordStart = true;
                                 } else {
                                     name += wordStart ? static_cast<char>(std::toupper(c)) : c;
                                     wordStart = false;
                                 }
                             }
                             return name;
                         });

TEST_F(StartFileTest, AScreenLoadedAtStartIsShownReadOutAndSavedAsADroppedOne) {
    // Cell (2, 1): attribute 71 (bright, paper 0, ink 7); its pixel row 3 holds 240.
    Bytes screen(ScreenSize, 0);
    screen[attributeOffset(2, 1)] = 71;
    screen[cellRowOffset(2, 1, 3)] = 240;
    const std::string file = path("title screen.scr");
    writeBytes(file, screen);
    startWith({file});
    ASSERT_TRUE(dialogs().messages().empty());

    // Pixels 0-3 of that row set, 4-7 clear, each 2 x 2 on the panes: bright
    // white on black in colour, grey (the bitmap's ink) on black on the left.
    const int y = 2 * (8 * 1 + 3);
    for (int d = 0; d < 8; ++d) {
        EXPECT_EQ(paneColour(ColourPane, 32 + 2 * d, y),
                  d < 4 ? QColor(255, 255, 255) : QColor(0, 0, 0))
            << d;
        EXPECT_EQ(paneColour(MonoPane, 32 + 2 * d + 1, y + 1),
                  d < 4 ? QColor(127, 127, 127) : QColor(0, 0, 0))
            << d;
    }
    EXPECT_EQ(windowTitleText(), "New window ( 0 )");

    movePointerOnto(ColourPane, {16 * 2 + 8, 16 * 1 + 8});
    ASSERT_TRUE(serveEvents());
    EXPECT_EQ(windowTitleText(), "x:2 y:1 attribute:01:000:111 file:" + file);

    clickPane(ColourPane, {16 * 2 + 8, 16 * 1 + 8});
    ASSERT_TRUE(serveEvents());
    pressOnMainWindow(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(serveEvents());
    EXPECT_TRUE(dialogs().messages().empty());
    Bytes expected = screen;
    flipCell(expected.data(), 2, 1);
    EXPECT_EQ(readBytes(file), expected);
}
