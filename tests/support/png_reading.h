// Reading a PNG file with libpng's own decoder, for tests that check what a
// program wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct DecodedPng {
    int width = 0;
    int height = 0;
    // 8-bit red, green and blue, three bytes a pixel, row by row.
    std::vector<std::uint8_t> rgb;
    // Empty when the file was read; else what libpng said.
    std::string problem;
    // The file's own colour type and bit depth, as its header gives them.
    int colourType = -1;
    int bitDepth = 0;

    std::uint8_t channel(int x, int y, int c) const {
        return rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c];
    }
};

DecodedPng readPng(const std::filesystem::path& file);
