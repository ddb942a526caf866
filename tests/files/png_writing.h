// PNG files written with libpng's own writer in any colour type, bit depth
// and interlacing, for tests of what the program reads from pictures.
#pragma once

#include <cstdint>
#include <vector>

#include "support/file_bytes.h"

// A picture as 16-bit red, green, blue and alpha samples, four a pixel, row
// by row; 8-bit values are kept as value x 257.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> rgba;

    void set(int x, int y, std::uint16_t r, std::uint16_t g, std::uint16_t b,
             std::uint16_t a = 65535);
    void set8(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
        set(x, y, r * 257, g * 257, b * 257, a * 257);
    }
    const std::uint16_t* at(int x, int y) const {
        return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
};

Picture blankPicture(int width, int height);

// The picture enlarged `scale` times in both directions.
Picture enlarged(const Picture& picture, int scale);

enum class PngKind {
    Palette,    // the picture's distinct colours as a palette; alpha in tRNS
    Grey,       // the red sample of each pixel; all must be grey
    GreyAlpha,  // grey and alpha
    Rgb,        // alpha dropped
    Rgba,
    GreyTrns,  // grey, with one grey value transparent through tRNS
    RgbTrns,   // RGB, with one colour transparent through tRNS
};

struct PngFormat {
    PngKind kind = PngKind::Rgb;
    int bitDepth = 8;  // 1, 2, 4, 8 or 16, as the kind allows
    bool interlaced = false;
};

// The PNG file of the picture. Samples are reduced to the bit depth by
// taking their top bits, so a picture meant for a depth must use values that
// the depth holds (for 2 bits: 0, 0x5555, 0xAAAA, 0xFFFF). For the tRNS
// kinds, the first pixel whose alpha is not full gives the transparent value.
Bytes pngFile(const Picture& picture, const PngFormat& format);
