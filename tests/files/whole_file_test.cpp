// Whole screen, bitmap and attribute files moved between memory and disk.

#include "files/whole_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/child_process.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes screen(std::uint8_t seed) {
    Bytes bytes(6912);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
    }
    return bytes;
}

Bytes contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool write(const fs::path& path, const Bytes& bytes) {
    return writeWholeFile(path.string(), bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

class WholeFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        folder_ = fs::temp_directory_path() / ("scrfix-whole-" + std::to_string(random()));
        fs::create_directory(folder_);
    }

    void TearDown() override {
        closeAllFiles();
        fs::remove_all(folder_);
    }

    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

}  // namespace

TEST_F(WholeFile, ASavedScreenReadsBackByteForByteAndKeepsItsPermissions) {
    const fs::path file = folder_ / "game.scr";
    ASSERT_TRUE(write(file, screen(1)));
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(write(file, screen(2)));
    EXPECT_EQ(contents(file), screen(2));
    EXPECT_EQ(::fs::status(file).permissions(), static_cast<fs::perms>(0640));
    Bytes back(6912);
    EXPECT_TRUE(readWholeFile(file.string(), back.data(), 6912));
    EXPECT_EQ(back, screen(2));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WholeFile, AFailedSaveLeavesThePreviousFileAsItWas) {
    const fs::path file = folder_ / "game.scr";
    ASSERT_TRUE(write(file, screen(1)));
    const int saved = runInChild([&] {
        limitFileSize(1000);
        return write(file, screen(2)) ? 1 : 0;
    });
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(contents(file), screen(1));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WholeFile, BadArgumentsNeitherCreateNorReplaceAFile) {
    const fs::path file = folder_ / "game.scr";
    ASSERT_TRUE(write(file, screen(1)));
    EXPECT_FALSE(writeWholeFile(file.string(), nullptr, 6912));
    EXPECT_FALSE(writeWholeFile(file.string(), screen(2).data(), -1));
    EXPECT_FALSE(writeWholeFile("", screen(2).data(), 6912));
    EXPECT_EQ(contents(file), screen(1));
    EXPECT_EQ(entries(), 1u);
}

TEST_F(WholeFile, AShortOrMissingFileIsNotReadWhole) {
    const fs::path file = folder_ / "short.scr";
    ASSERT_TRUE(write(file, Bytes(6911, 7)));
    Bytes back(6912, 0);
    EXPECT_FALSE(readWholeFile(file.string(), back.data(), 6912));
    EXPECT_FALSE(readWholeFile((folder_ / "missing").string(), back.data(), 6912));
}
