// PNG files as bytes in memory, through libpng.
#pragma once

#include <cstdint>
#include <vector>

// A picture as 8-bit red, green and blue bytes, three a pixel, row by row
// from the top, with no padding: `bytes` holds width x height x 3 of them.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// The PNG file of the image: 8-bit RGB, no alpha, not interlaced. Empty when
// the image is empty or inconsistent, or libpng fails.
std::vector<std::uint8_t> encodePng(const RgbImage& image);
