#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

// Each test works in a fresh folder of its own and leaves no file open.
class Files : public ::testing::Test, protected ScratchFolder {
  protected:
    Files() : ScratchFolder("files") {}

    void TearDown() override { closeAllFiles(); }
};

}  // namespace

TEST_F(Files, FileSizeOfEachKindOfName) {
    writeBytes(path("screen.scr"), bytePattern(6912));
    writeBytes(path("empty"), {});
    fs::create_directory(path("sub"));
    const struct {
        std::string name;
        std::int64_t size;
    } cases[] = {
        {"", NoSuchFile},
        {path("missing.scr"), NoSuchFile},
        {path("missing/deeper.scr"), NoSuchFile},
        {path("screen.scr"), 6912},
        {path("empty"), 0},
        {path("screen.scr/"), NoSuchFile},
        {path("sub"), IsFolder},
        {path("sub/"), IsFolder},
        {path("sub//"), IsFolder},
        {folder().string(), IsFolder},
        {"/", IsFolder},
        {"//", IsFolder},
        {".", IsFolder},
        {"/dev/null", 0},
        {path("screen.scr") + std::string(1, '\0') + "x", NoSuchFile},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileSize(c.name), c.size) << '"' << c.name << '"';
    }
}

TEST_F(Files, CreateFileTruncatesAnExistingFile) {
    writeBytes(path("old.scr"), bytePattern(10000, 9));
    const Bytes attributes = bytePattern(768);
    ASSERT_NE(createFile(0, path("old.scr")), 0);
    EXPECT_EQ(fileSize(path("old.scr")), 0);
    EXPECT_EQ(writeBlock(0, attributes.data(), 768), 768);
    EXPECT_TRUE(closeFile(0));
    EXPECT_EQ(readBytes(path("old.scr")), attributes);
}

TEST_F(Files, EverythingWrittenIsOnDiskAfterCloseFile) {
    // Small blocks are collected, a block that does not fit writes the
    // collection out first, and blocks of 4096 bytes or more go straight.
    const std::vector<std::vector<std::size_t>> writeSequences = {
        {6912},
        {768},
        {6144, 768},
        {4095, 1, 1},
        {4096},
        {4097, 3},
        {10, 5000, 10},
        {1000, 1000, 1000, 1000, 1000},
        {1, 8191, 4096, 2},
    };
    for (const auto& sizes : writeSequences) {
        Bytes expected;
        ASSERT_NE(createFile(0, path("out")), 0);
        std::uint8_t seed = 0;
        for (const std::size_t size : sizes) {
            const Bytes block = bytePattern(size, ++seed);
            EXPECT_EQ(writeBlock(0, block.data(), static_cast<std::int64_t>(size)),
                      static_cast<std::int64_t>(size));
            expected.insert(expected.end(), block.begin(), block.end());
        }
        EXPECT_TRUE(closeFile(0));
        EXPECT_EQ(readBytes(path("out")), expected) << "first block " << sizes.front();
    }
}

TEST_F(Files, WriteBlockOfNothingWritesNothing) {
    const Bytes block = bytePattern(10);
    ASSERT_NE(createFile(0, path("out")), 0);
    EXPECT_EQ(writeBlock(0, block.data(), 0), 0);
    EXPECT_EQ(writeBlock(0, block.data(), -5), 0);
    EXPECT_EQ(writeBlock(0, nullptr, 10), 0);
    EXPECT_TRUE(closeFile(0));
    EXPECT_EQ(fileSize(path("out")), 0);
}

TEST_F(Files, ReadsServeTheFileInOrderAndStopAtItsEnd) {
    const Bytes data = bytePattern(10000);
    writeBytes(path("in"), data);
    // Reads from the read-ahead, reads that empty it, and large reads that go
    // straight to the file, the last one cut short by the end of the file.
    const std::vector<std::vector<std::size_t>> readSequences = {
        {10000},
        {6912, 3088},
        {1, 4095, 4097, 100, 5000},
        {3000, 3000, 3000, 3000},
        {4096, 4096, 4096},
    };
    for (const auto& sizes : readSequences) {
        ASSERT_NE(openFileForReading(0, path("in")), 0);
        Bytes got;
        for (const std::size_t size : sizes) {
            Bytes block(size, 0xEE);
            const std::int64_t count = readBlock(0, block.data(), static_cast<std::int64_t>(size));
            const std::size_t left = data.size() - got.size();
            ASSERT_EQ(count, static_cast<std::int64_t>(std::min(size, left)));
            got.insert(got.end(), block.begin(), block.begin() + count);
            EXPECT_TRUE(std::all_of(block.begin() + count, block.end(),
                                    [](std::uint8_t byte) { return byte == 0xEE; }));
        }
        EXPECT_EQ(got, data) << "first read " << sizes.front();
        EXPECT_TRUE(closeFile(0));
    }
}

TEST_F(Files, ReadsAfterAFailedOpenLeaveMemoryUntouched) {
    Bytes memory(6912, 0x5A);
    EXPECT_EQ(openFileForReading(0, path("missing.scr")), 0);
    EXPECT_EQ(readBlock(0, memory.data(), 6912), 0);
    EXPECT_EQ(memory, Bytes(6912, 0x5A));
}

TEST_F(Files, AFailedOpenFreesTheNumberAfterClosingItsFile) {
    const Bytes block = bytePattern(100);
    ASSERT_NE(createFile(0, path("first")), 0);
    ASSERT_EQ(writeBlock(0, block.data(), 100), 100);
    EXPECT_EQ(openFileForReading(0, path("missing")), 0);
    EXPECT_EQ(readBytes(path("first")), block);
    EXPECT_EQ(writeBlock(0, block.data(), 100), 0);
    EXPECT_EQ(createFile(0, ""), 0);
    EXPECT_EQ(openFileForReading(0, ""), 0);
}

TEST_F(Files, NumbersNotOpenDoNothing) {
    Bytes memory(16, 0x5A);
    for (const int number : {0, 7, -1, 4096, std::numeric_limits<int>::max()}) {
        EXPECT_EQ(writeBlock(number, memory.data(), 16), 0) << number;
        EXPECT_EQ(readBlock(number, memory.data(), 16), 0) << number;
        EXPECT_TRUE(closeFile(number)) << number;
    }
    EXPECT_EQ(memory, Bytes(16, 0x5A));
    for (const int number : {-1, std::numeric_limits<int>::max()}) {
        EXPECT_EQ(createFile(number, path("never")), 0) << number;
    }
    EXPECT_FALSE(fs::exists(path("never")));
}

TEST_F(Files, CreateFileOnANumberInUseClosesTheOldFileWithItsData) {
    const Bytes first = bytePattern(768, 1);
    const Bytes second = bytePattern(6144, 2);
    ASSERT_NE(createFile(0, path("first")), 0);
    ASSERT_EQ(writeBlock(0, first.data(), 768), 768);
    ASSERT_NE(createFile(0, path("second")), 0);
    EXPECT_EQ(readBytes(path("first")), first);
    ASSERT_EQ(writeBlock(0, second.data(), 6144), 6144);
    EXPECT_TRUE(closeFile(0));
    EXPECT_EQ(readBytes(path("second")), second);
}

TEST_F(Files, FoldersAreNeitherOpenedNorCreated) {
    fs::create_directory(path("sub"));
    EXPECT_EQ(openFileForReading(0, path("sub")), 0);
    EXPECT_EQ(createFile(0, path("sub")), 0);
    EXPECT_EQ(createFile(0, path("sub/")), 0);
    EXPECT_TRUE(fs::is_directory(path("sub")));
}

TEST_F(Files, CloseFileReportsDataThatCouldNotBeWritten) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const Bytes small = bytePattern(768);
    const Bytes large = bytePattern(6912);
    // Collected in the buffer, so the failure shows only when it is written out.
    ASSERT_NE(createFile(0, "/dev/full"), 0);
    EXPECT_EQ(writeBlock(0, small.data(), 768), 768);
    EXPECT_FALSE(closeFile(0));
    // Straight to the device: the write itself reports it, later writes too.
    ASSERT_NE(createFile(0, "/dev/full"), 0);
    EXPECT_EQ(writeBlock(0, large.data(), 6912), 0);
    EXPECT_EQ(writeBlock(0, small.data(), 768), 0);
    EXPECT_FALSE(closeFile(0));
}

TEST_F(Files, WritingToAFileOpenedForReadingIsReportedAtClose) {
    writeBytes(path("in"), bytePattern(100));
    const Bytes block = bytePattern(10);
    ASSERT_NE(openFileForReading(0, path("in")), 0);
    writeBlock(0, block.data(), 10);
    EXPECT_FALSE(closeFile(0));
    EXPECT_EQ(readBytes(path("in")), bytePattern(100));
}

TEST_F(Files, CloseAllFilesClosesEveryNumberAndReportsAnyFailure) {
    const Bytes block = bytePattern(500);
    ASSERT_NE(createFile(0, path("zero")), 0);
    ASSERT_NE(createFile(3, path("three")), 0);
    writeBlock(0, block.data(), 500);
    writeBlock(3, block.data(), 500);
    EXPECT_TRUE(closeAllFiles());
    EXPECT_EQ(readBytes(path("zero")), block);
    EXPECT_EQ(readBytes(path("three")), block);
    EXPECT_EQ(writeBlock(3, block.data(), 500), 0);

    if (fs::exists("/dev/full")) {
        ASSERT_NE(createFile(1, "/dev/full"), 0);
        ASSERT_NE(createFile(2, path("two")), 0);
        writeBlock(1, block.data(), 500);
        writeBlock(2, block.data(), 500);
        EXPECT_FALSE(closeAllFiles());
        EXPECT_EQ(readBytes(path("two")), block);
    }
}

TEST_F(Files, SwitchingFromWritingToReadingAndBackKeepsThePosition) {
    const Bytes head = bytePattern(10, 1);
    const Bytes tail = bytePattern(5000, 2);
    const Bytes mark = {0xAA, 0xBB};
    ASSERT_NE(createFile(0, path("both")), 0);
    ASSERT_EQ(writeBlock(0, head.data(), 10), 10);
    std::uint8_t none = 0;
    // Reading writes the collected bytes out first; the file ends there.
    EXPECT_EQ(readBlock(0, &none, 1), 0);
    {
        std::ofstream append(path("both"), std::ios::binary | std::ios::app);
        append.write(reinterpret_cast<const char*>(tail.data()), 5000);
    }
    // This read fills the read-ahead; writing then gives back what was not
    // handed out, so the mark lands right after the three bytes read.
    Bytes three(3);
    ASSERT_EQ(readBlock(0, three.data(), 3), 3);
    EXPECT_EQ(three, Bytes(tail.begin(), tail.begin() + 3));
    ASSERT_EQ(writeBlock(0, mark.data(), 2), 2);
    EXPECT_TRUE(closeFile(0));

    Bytes expected = head;
    expected.insert(expected.end(), tail.begin(), tail.end());
    expected[13] = 0xAA;
    expected[14] = 0xBB;
    EXPECT_EQ(readBytes(path("both")), expected);
}

TEST_F(Files, ANameWithoutAFolderIsInTheCurrentFolder) {
    fs::current_path(folder());
    const Bytes block = bytePattern(6912);
    ASSERT_NE(createFile(0, "plain.scr"), 0);
    writeBlock(0, block.data(), 6912);
    EXPECT_TRUE(closeFile(0));
    EXPECT_EQ(readBytes(folder() / "plain.scr"), block);
    EXPECT_EQ(fileSize("plain.scr"), 6912);
    Bytes back(6912);
    ASSERT_NE(openFileForReading(0, "plain.scr"), 0);
    EXPECT_EQ(readBlock(0, back.data(), 6912), 6912);
    EXPECT_EQ(back, block);
    EXPECT_EQ(fs::current_path(), folder());
}

TEST_F(Files, NamesReachTheSystemByteForByte) {
    const std::string names[] = {
        "with space.scr",  "caf\xc3\xa9.scr", "\xff\xfe latin.scr",  "\"quoted\".scr",
        "back\\slash.scr", " leading",        std::string(255, 'n'),
    };
    const Bytes block = bytePattern(6912);
    for (const std::string& name : names) {
        const std::string full = path(name);
        ASSERT_NE(createFile(0, full), 0) << name;
        writeBlock(0, block.data(), 6912);
        EXPECT_TRUE(closeFile(0));
        EXPECT_EQ(readBytes(folder() / name), block) << name;
        EXPECT_EQ(fileSize(full), 6912) << name;
        Bytes back(6912);
        ASSERT_NE(openFileForReading(0, full), 0) << name;
        EXPECT_EQ(readBlock(0, back.data(), 6912), 6912) << name;
        EXPECT_TRUE(closeFile(0));
        EXPECT_EQ(back, block) << name;
    }
    const auto entries = std::distance(fs::directory_iterator(folder()), fs::directory_iterator());
    EXPECT_EQ(entries, static_cast<std::ptrdiff_t>(std::size(names)));
}

TEST_F(Files, CreateFileTruncatesAFileThatMayBeWrittenButNotRead) {
    writeBytes(path("write-only"), bytePattern(100));
    fs::permissions(path("write-only"), fs::perms::owner_write);
    if (std::ifstream(path("write-only")).is_open()) {
        GTEST_SKIP() << "permissions do not apply to this user";
    }
    const Bytes block = bytePattern(20);
    ASSERT_NE(createFile(0, path("write-only")), 0);
    EXPECT_EQ(writeBlock(0, block.data(), 20), 20);
    EXPECT_TRUE(closeFile(0));
    fs::permissions(path("write-only"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readBytes(path("write-only")), block);
}

TEST_F(Files, AFifoIsNeverWaitedFor) {
    const std::string fifo = path("fifo");
    if (std::system(("mkfifo '" + fifo + "'").c_str()) != 0) {
        GTEST_SKIP() << "cannot make a FIFO";
    }
    EXPECT_EQ(fileSize(fifo), 0);
    ASSERT_NE(openFileForReading(0, fifo), 0);
    std::uint8_t byte = 0x5A;
    EXPECT_EQ(readBlock(0, &byte, 1), 0);
    EXPECT_EQ(byte, 0x5A);
    EXPECT_TRUE(closeFile(0));
}

TEST_F(Files, IsSameFileTellsTwoNamesOfOneFileFromTwoFiles) {
    writeBytes(path("screen.scr"), bytePattern(6912));
    writeBytes(path("copy.scr"), bytePattern(6912));
    fs::create_hard_link(path("screen.scr"), path("hard-link.scr"));
    fs::create_symlink(path("screen.scr"), path("symbolic-link.scr"));
    fs::create_directory(path("sub"));
    const struct {
        std::string first;
        std::string second;
        bool same;
    } cases[] = {
        {path("screen.scr"), path("screen.scr"), true},
        {path("screen.scr"), path("sub/../screen.scr"), true},
        {path("screen.scr"), path("hard-link.scr"), true},
        {path("symbolic-link.scr"), path("screen.scr"), true},
        {path("screen.scr"), path("copy.scr"), false},
        {path("screen.scr"), path("missing.scr"), false},
        {path("missing.scr"), path("missing.scr"), false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isSameFile(c.first, c.second), c.same) << c.first << " | " << c.second;
    }
}

TEST_F(Files, IsSameFileFindsANameWithoutAFolderInTheCurrentFolder) {
    writeBytes(path("screen.scr"), bytePattern(6912));
    fs::current_path(folder());
    EXPECT_TRUE(isSameFile("screen.scr", path("screen.scr")));
    EXPECT_TRUE(isSameFile("./screen.scr", "screen.scr"));
}
