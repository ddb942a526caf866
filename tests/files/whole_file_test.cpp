// Whole screen, bitmap and attribute files moved between memory and disk.

#include "files/whole_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

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

// A whole screen; screens of different seeds differ in every byte.
Bytes screen(std::uint8_t seed) {
    return bytePattern(6912, seed);
}

bool write(const fs::path& path, const Bytes& bytes) {
    return writeWholeFile(path.string(), bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

class WholeFile : public ::testing::Test, protected ScratchFolder {
  protected:
    WholeFile() : ScratchFolder("whole") {}

    void TearDown() override { closeAllFiles(); }

    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder()), fs::directory_iterator()));
    }
};

}  // namespace

TEST_F(WholeFile, ASavedScreenReadsBackByteForByteAndKeepsItsPermissions) {
    const fs::path file = folder() / "game.scr";
    ASSERT_TRUE(write(file, screen(1)));
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(write(file, screen(2)));
    EXPECT_EQ(readBytes(file), screen(2));
    EXPECT_EQ(::fs::status(file).permissions(), static_cast<fs::perms>(0640));
    Bytes back(6912);
    EXPECT_TRUE(readWholeFile(file.string(), back.data(), 6912));
    EXPECT_EQ(back, screen(2));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WholeFile, AFailedSaveLeavesThePreviousFileAsItWas) {
    const fs::path file = folder() / "game.scr";
    ASSERT_TRUE(write(file, screen(1)));
    const int saved = runInChild([&] {
        limitFileSize(1000);
        return write(file, screen(2)) ? 1 : 0;
    });
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(readBytes(file), screen(1));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WholeFile, BadArgumentsNeitherCreateNorReplaceAFile) {
    const fs::path file = folder() / "game.scr";
    ASSERT_TRUE(write(file, screen(1)));
    EXPECT_FALSE(writeWholeFile(file.string(), nullptr, 6912));
    EXPECT_FALSE(writeWholeFile(file.string(), screen(2).data(), -1));
    EXPECT_FALSE(writeWholeFile("", screen(2).data(), 6912));
    EXPECT_EQ(readBytes(file), screen(1));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WholeFile, AShortOrMissingFileIsNotReadWhole) {
    const fs::path file = folder() / "short.scr";
    ASSERT_TRUE(write(file, Bytes(6911, 7)));
    Bytes back(6912, 0);
    EXPECT_FALSE(readWholeFile(file.string(), back.data(), 6912));
    EXPECT_FALSE(readWholeFile((folder() / "missing").string(), back.data(), 6912));
}
