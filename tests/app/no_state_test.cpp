// The program keeps no state between runs: a whole session, the open
// requester included, leaves nothing in the user's home folder and nothing
// in the temporary folder.

#include <gtest/gtest.h>

#include <stdlib.h>
#include <QMainWindow>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program.h"
#include "files/current_file.h"
#include "platform/qt_access.h"
#include "program_driver.h"
#include "screen/layout.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

// Every name under `folder`, for a readable failure.
std::vector<std::string> contents(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(entry.path().string());
    }
    return names;
}

// HOME is an empty folder with no XDG_*_HOME to lead elsewhere, so whatever
// a user folder would get lands there; the temporary and the runtime folder
// are empty folders of the test's own too.
class NoStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("HOME", home_.folder().c_str(), 1);
        for (const char* variable :
             {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
            ::unsetenv(variable);
        }
        ::setenv("TMPDIR", temporary_.folder().c_str(), 1);
        fs::permissions(runtime_.folder(), fs::perms::owner_all);  // as Qt wants it
        ::setenv("XDG_RUNTIME_DIR", runtime_.folder().c_str(), 1);
        fs::current_path(work_.folder());
    }

    ScratchFolder home_{"home"};
    ScratchFolder temporary_{"temporary"};
    ScratchFolder runtime_{"runtime"};
    ScratchFolder work_{"work"};
};

}  // namespace

TEST_F(NoStateTest, ASessionWithTheRequesterAndASaveLeavesNothingBehind) {
    const std::string file = work_.path("game.scr");
    writeBytes(file, bytePattern(ScreenSize));

    ASSERT_TRUE(startProgram());
    ASSERT_TRUE(QTest::qWaitForWindowActive(windowWidget(MainWindow)));
    {
        DialogAnswerer dialogs;
        dialogs.answerNextRequesterWith("");
        chooseMenuItem("Open..");
        ASSERT_TRUE(serveEvents());
        dialogs.answerNextRequesterWith(file);
        chooseMenuItem("Open..");
        ASSERT_TRUE(serveEvents());
        EXPECT_EQ(dialogs.requesterTitles().size(), 2u);
        EXPECT_EQ(dialogs.messages(),
                  (std::vector<ShownMessage>{{"Information", "The requester was canceled."}}));
        EXPECT_EQ(CurrentFileName, file);

        chooseMenuItem("Invert");
        ASSERT_TRUE(serveEvents());
        chooseMenuItem("Save");
        ASSERT_TRUE(serveEvents());
        EXPECT_NE(readBytes(file), bytePattern(ScreenSize));
        chooseMenuItem("Quit");
        EXPECT_FALSE(serveEvents());
    }
    endProgram();

    EXPECT_EQ(contents(home_.folder()), std::vector<std::string>{});
    EXPECT_EQ(contents(temporary_.folder()), std::vector<std::string>{});
    EXPECT_EQ(contents(work_.folder()), std::vector<std::string>{file});
}
