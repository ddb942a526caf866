// Running the built scrfix-cli in a fresh folder, and the screen fixtures the
// tests feed it.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "screen/layout.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

using Image = std::array<std::uint8_t, ScreenSize>;

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A screen whose bytes all differ from their neighbours, so that a byte
// changed or left alone by mistake shows; `seed` makes different screens.
Image patternImage(std::uint32_t seed = 12345);

// A valid 128-byte +3DOS header for a file of `fileLength` bytes.
Bytes plus3Header(std::uint32_t fileLength = 128 + ScreenSize);

Bytes bytesOf(const Image& image);
Bytes concatenated(const Bytes& first, const Bytes& second);

// Each test gets a folder of its own, which is also the folder scrfix-cli
// runs in, so relative names in the arguments are inside it.
class CliTest : public ::testing::Test, protected ScratchFolder {
  protected:
    CliTest() : ScratchFolder("cli") {}

    CliResult run(const std::vector<std::string>& arguments) const;

    void writeFile(const std::string& name, const Bytes& bytes) const {
        writeBytes(path(name), bytes);
    }
    Bytes readFile(const std::string& name) const { return readBytes(path(name)); }
    bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }
};

// The line scrfix-cli writes for a file that failed.
std::string failureLine(const std::string& file, const std::string& reason);
