// createReplacement(): a file written whole or not at all.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/child_process.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

struct stat statusOf(const fs::path& path) {
    struct stat status {};
    ::lstat(path.c_str(), &status);
    return status;
}

unsigned int permissionsOf(const fs::path& path) {
    return statusOf(path).st_mode & 07777;
}

// The names in the folder, hidden ones included.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The whole replacement in one go, as a save does it.
bool replaceWith(const std::string& name, const Bytes& bytes) {
    if (createReplacement(0, name) == 0) {
        return false;
    }
    const bool written = writeBlock(0, bytes.data(), static_cast<std::int64_t>(bytes.size())) ==
                         static_cast<std::int64_t>(bytes.size());
    return closeFile(0) && written;
}

// What a child that tried a replacement reports.
enum ChildOutcome { Refused = 0, Completed = 1, FailedAtClose = 2 };

int replaceAndReport(const std::string& name, const Bytes& bytes) {
    if (createReplacement(0, name) == 0) {
        return Refused;
    }
    writeBlock(0, bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return closeFile(0) ? Completed : FailedAtClose;
}

// Each test works in a fresh folder of its own that an unprivileged user may
// enter, and leaves no file open.
class Replacement : public ::testing::Test, protected ScratchFolder {
  protected:
    Replacement() : ScratchFolder("replace") {
        fs::permissions(folder(), static_cast<fs::perms>(0755));
    }

    void TearDown() override { closeAllFiles(); }

    const Bytes old_ = bytePattern(6912, 1);
    const Bytes new_ = bytePattern(6912, 2);
};

}  // namespace

TEST_F(Replacement, TheTargetKeepsItsOldContentsUntilCloseThenHoldsTheNewOnes) {
    writeBytes(path("game.scr"), bytePattern(10000, 1));
    ASSERT_NE(createReplacement(0, path("game.scr")), 0);
    ASSERT_EQ(writeBlock(0, new_.data(), 6912), 6912);
    EXPECT_EQ(readBytes(path("game.scr")), bytePattern(10000, 1));
    EXPECT_TRUE(closeFile(0));
    EXPECT_EQ(readBytes(path("game.scr")), new_);
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"game.scr"});
}

TEST_F(Replacement, SmallAndLargeWritesAndANewFileAllArrive) {
    const Bytes attributes = bytePattern(768, 3);
    EXPECT_TRUE(replaceWith(path("new.attr"), attributes));
    EXPECT_TRUE(replaceWith(path("new.screen"), bytePattern(6144, 4)));
    EXPECT_TRUE(replaceWith(path("empty"), {}));
    EXPECT_EQ(readBytes(path("new.attr")), attributes);
    EXPECT_EQ(readBytes(path("new.screen")), bytePattern(6144, 4));
    EXPECT_EQ(fileSize(path("empty")), 0);
    EXPECT_EQ(namesIn(folder()), (std::vector<std::string>{"empty", "new.attr", "new.screen"}));
}

TEST_F(Replacement, TheTargetKeepsItsPermissionBits) {
    for (const unsigned int mode : {0600u, 0640u, 0751u, 0604u, 0666u}) {
        writeBytes(path("kept.scr"), old_);
        ::chmod(path("kept.scr").c_str(), mode);
        EXPECT_TRUE(replaceWith(path("kept.scr"), new_)) << std::oct << mode;
        EXPECT_EQ(permissionsOf(path("kept.scr")), mode) << std::oct << mode;
        EXPECT_EQ(readBytes(path("kept.scr")), new_);
    }
}

TEST_F(Replacement, ANewFileGetsTheUsualPermissionsLessTheUmask) {
    const mode_t previous = ::umask(027);
    const bool replaced = replaceWith(path("fresh.scr"), new_);
    ::umask(previous);
    EXPECT_TRUE(replaced);
    EXPECT_EQ(permissionsOf(path("fresh.scr")), 0640u);
}

TEST_F(Replacement, TheTargetKeepsItsOwner) {
    if (!runningAsRoot()) {
        GTEST_SKIP() << "only root can give a file another owner";
    }
    writeBytes(path("theirs.scr"), old_);
    ASSERT_EQ(::chown(path("theirs.scr").c_str(), 65534, 65534), 0);
    EXPECT_TRUE(replaceWith(path("theirs.scr"), new_));
    EXPECT_EQ(statusOf(path("theirs.scr")).st_uid, 65534u);
    EXPECT_EQ(statusOf(path("theirs.scr")).st_gid, 65534u);
    EXPECT_EQ(readBytes(path("theirs.scr")), new_);
}

TEST_F(Replacement, ASymbolicLinkStaysALinkAndTheFileItLeadsToIsReplaced) {
    fs::create_directory(path("real"));
    fs::create_directory(path("links"));
    const struct {
        const char* link;
        std::string leadsTo;
        const char* file;
    } cases[] = {
        {"links/absolute", path("real/a.scr"), "real/a.scr"},
        {"links/relative", "../real/b.scr", "real/b.scr"},
        {"links/chain", "relative", "real/b.scr"},
        {"links/dangling", "../real/not-yet.scr", "real/not-yet.scr"},
    };
    writeBytes(path("real/a.scr"), old_);
    writeBytes(path("real/b.scr"), old_);
    ::chmod(path("real/b.scr").c_str(), 0604);
    for (const auto& c : cases) {
        fs::create_symlink(c.leadsTo, path(c.link));
    }
    for (const auto& c : cases) {
        // Replaced by a new file, not written in place through the link.
        const ino_t inodeBefore = statusOf(path(c.file)).st_ino;
        EXPECT_TRUE(replaceWith(path(c.link), bytePattern(6912, 9))) << c.link;
        EXPECT_NE(statusOf(path(c.file)).st_ino, inodeBefore) << c.link;
        EXPECT_TRUE(fs::is_symlink(path(c.link))) << c.link;
        EXPECT_EQ(fs::read_symlink(path(c.link)), c.leadsTo) << c.link;
        EXPECT_EQ(readBytes(path(c.file)), bytePattern(6912, 9)) << c.link;
    }
    EXPECT_EQ(permissionsOf(path("real/b.scr")), 0604u);
    EXPECT_EQ(namesIn(path("real")), (std::vector<std::string>{"a.scr", "b.scr", "not-yet.scr"}));
    EXPECT_EQ(namesIn(path("links")).size(), std::size(cases));
}

TEST_F(Replacement, ALinkLoopIsRefusedAndLeftAlone) {
    fs::create_symlink("loop-b", path("loop-a"));
    fs::create_symlink("loop-a", path("loop-b"));
    EXPECT_EQ(createReplacement(0, path("loop-a")), 0);
    EXPECT_EQ(namesIn(folder()), (std::vector<std::string>{"loop-a", "loop-b"}));
}

TEST_F(Replacement, AFileWithSeveralHardLinksIsWrittenInPlaceForAllOfThem) {
    writeBytes(path("one.scr"), old_);
    fs::create_hard_link(path("one.scr"), path("two.scr"));
    const ino_t inode = statusOf(path("one.scr")).st_ino;
    EXPECT_TRUE(replaceWith(path("one.scr"), new_));
    EXPECT_EQ(statusOf(path("one.scr")).st_ino, inode);
    EXPECT_EQ(readBytes(path("two.scr")), new_);
    EXPECT_EQ(namesIn(folder()), (std::vector<std::string>{"one.scr", "two.scr"}));
}

TEST_F(Replacement, AFifoIsNeverTurnedIntoARegularFileNorAFolderReplaced) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    // Written in place: the pipe takes the bytes, nobody reads them.
    EXPECT_TRUE(replaceWith(path("fifo"), bytePattern(768, 5)));
    EXPECT_TRUE(S_ISFIFO(statusOf(path("fifo")).st_mode));

    fs::create_directory(path("folder"));
    EXPECT_EQ(createReplacement(0, path("folder")), 0);
    EXPECT_TRUE(fs::is_directory(path("folder")));
    EXPECT_EQ(namesIn(path("folder")), std::vector<std::string>{});
}

TEST_F(Replacement, ADeviceIsNeverTurnedIntoARegularFile) {
    // A null device node of our own, never the system's /dev/null.
    if (::mknod(path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        GTEST_SKIP() << "cannot make a device node here";
    }
    EXPECT_TRUE(replaceWith(path("null"), new_));
    EXPECT_TRUE(S_ISCHR(statusOf(path("null")).st_mode));
}

TEST_F(Replacement, NamesThatCannotBeFilesAreRefusedAndCreateNothing) {
    writeBytes(path("plain"), old_);
    const std::string names[] = {
        "",
        path("missing-folder/game.scr"),
        path("ends-in-slash/"),
        path("plain/below"),
        path("plain") + std::string(1, '\0') + "x",
    };
    for (const std::string& name : names) {
        EXPECT_EQ(createReplacement(0, name), 0) << name;
    }
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"plain"});
    EXPECT_EQ(readBytes(path("plain")), old_);
}

TEST_F(Replacement, NamesReachTheSystemByteForByte) {
    fs::current_path(folder());
    const std::string names[] = {
        "with space.scr",  "caf\xc3\xa9.scr", "\xff\xfe latin.scr",  "\"quoted\".scr",
        "back\\slash.scr", ".hidden.scr",     std::string(255, 'n'), "in-current-folder.scr",
    };
    for (const std::string& name : names) {
        writeBytes(folder() / name, old_);
        const std::string given = name == "in-current-folder.scr" ? name : path(name);
        EXPECT_TRUE(replaceWith(given, new_)) << name;
        EXPECT_EQ(readBytes(folder() / name), new_) << name;
    }
    EXPECT_EQ(namesIn(folder()).size(), std::size(names));
}

TEST_F(Replacement, CloseAllFilesCompletesAReplacement) {
    writeBytes(path("open.scr"), old_);
    ASSERT_NE(createReplacement(0, path("open.scr")), 0);
    ASSERT_NE(createReplacement(2, path("other.scr")), 0);
    writeBlock(0, new_.data(), 6912);
    writeBlock(2, new_.data(), 100);
    EXPECT_TRUE(closeAllFiles());
    EXPECT_EQ(readBytes(path("open.scr")), new_);
    EXPECT_EQ(readBytes(path("other.scr")), Bytes(new_.begin(), new_.begin() + 100));
    EXPECT_EQ(namesIn(folder()), (std::vector<std::string>{"open.scr", "other.scr"}));
}

TEST_F(Replacement, ADiskThatFillsUpLeavesThePreviousFileAndNoTemporaryFile) {
    // A large write fails at once; a small one is collected and fails only
    // when closing writes it out. The limit stands in for a full disk.
    const struct {
        std::int64_t limit;
        std::size_t size;
        bool targetExists;
    } cases[] = {
        {4096, 6912, true},
        {512, 768, true},
        {4096, 6912, false},
    };
    for (const auto& c : cases) {
        fs::remove(path("full.scr"));
        if (c.targetExists) {
            writeBytes(path("full.scr"), old_);
        }
        const int outcome = runInChild([&] {
            limitFileSize(c.limit);
            return replaceAndReport(path("full.scr"), bytePattern(c.size, 7));
        });
        EXPECT_EQ(outcome, FailedAtClose) << c.size;
        if (c.targetExists) {
            EXPECT_EQ(readBytes(path("full.scr")), old_) << c.size;
            EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"full.scr"}) << c.size;
        } else {
            EXPECT_EQ(namesIn(folder()), std::vector<std::string>{}) << c.size;
        }
    }
}

TEST_F(Replacement, AProgramKilledWhileSavingLeavesTheTargetWholeAndOnlyAHiddenFile) {
    writeBytes(path("game.scr"), old_);
    runInChild([&] {
        createReplacement(0, path("game.scr"));
        writeBlock(0, new_.data(), 6912);
        ::kill(::getpid(), SIGKILL);
        return 0;
    });
    EXPECT_EQ(readBytes(path("game.scr")), old_);
    const std::vector<std::string> names = namesIn(folder());
    ASSERT_EQ(names.size(), 2u);
    const std::string& leftOver = names[0] == "game.scr" ? names[1] : names[0];
    EXPECT_EQ(leftOver.rfind(".game.scr.", 0), 0u) << leftOver;
    EXPECT_TRUE(leftOver.ends_with(".tmp")) << leftOver;
}

// Permissions as an ordinary user sees them: in a child that gives up root.
// The folder belongs to the test's own user.
enum class ExpectedWrite { RefusedAndIntact, ReplacedByANewFile, WrittenInPlace };

struct PermissionCase {
    const char* situation;
    unsigned int folderMode;
    unsigned int targetMode;
    bool targetOwnedByTheWriter;
    ExpectedWrite expected;
};

class PermissionReplacement : public Replacement {
  protected:
    // Writes the target as the unprivileged writer and checks the outcome.
    void check(const PermissionCase& c) {
        SCOPED_TRACE(c.situation);
        fs::remove_all(path("area"));
        fs::create_directory(path("area"));
        const std::string target = path("area/game.scr");
        writeBytes(target, old_);
        if (runningAsRoot()) {
            // The writer is user 65534; the test's own files stand for its files.
            const uid_t owner = c.targetOwnedByTheWriter ? 65534 : 0;
            ASSERT_EQ(::chown(target.c_str(), owner, owner), 0);
        }
        ::chmod(target.c_str(), c.targetMode);
        ::chmod(path("area").c_str(), c.folderMode);
        const ino_t inode = statusOf(target).st_ino;

        const int outcome = runInChild([&] {
            if (!becomeUnprivileged()) {
                return ChildCannotDropPrivileges;
            }
            return replaceAndReport(target, new_);
        });
        ::chmod(path("area").c_str(), 0755);
        if (outcome == ChildCannotDropPrivileges) {
            GTEST_SKIP() << "cannot become an unprivileged user to test permissions";
        }
        switch (c.expected) {
            case ExpectedWrite::RefusedAndIntact:
                EXPECT_EQ(outcome, Refused);
                EXPECT_EQ(readBytes(target), old_);
                break;
            case ExpectedWrite::ReplacedByANewFile:
                EXPECT_EQ(outcome, Completed);
                EXPECT_EQ(readBytes(target), new_);
                EXPECT_NE(statusOf(target).st_ino, inode);
                break;
            case ExpectedWrite::WrittenInPlace:
                EXPECT_EQ(outcome, Completed);
                EXPECT_EQ(readBytes(target), new_);
                EXPECT_EQ(statusOf(target).st_ino, inode);
                break;
        }
        EXPECT_EQ(permissionsOf(target), c.targetMode);
        EXPECT_EQ(namesIn(path("area")), std::vector<std::string>{"game.scr"});
    }
};

TEST_F(PermissionReplacement, WhatTheWriterMayWriteDecidesHowItsOwnTargetIsWritten) {
    const PermissionCase cases[] = {
        {"read-only target, writable folder", 0777, 0444, true, ExpectedWrite::RefusedAndIntact},
        {"read-only target, read-only folder", 0555, 0444, true, ExpectedWrite::RefusedAndIntact},
        {"writable target, read-only folder", 0555, 0666, true, ExpectedWrite::WrittenInPlace},
        {"writable target, writable folder", 0777, 0644, true, ExpectedWrite::ReplacedByANewFile},
    };
    for (const PermissionCase& c : cases) {
        check(c);
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
    }
}

// Only root can give the target to another owner.
TEST_F(PermissionReplacement, AWritableTargetOfAnotherOwnerIsWrittenInPlace) {
    if (!runningAsRoot()) {
        GTEST_SKIP() << "only root can make a file of another owner";
    }
    check({"writable target of another owner", 0777, 0666, false, ExpectedWrite::WrittenInPlace});
}
