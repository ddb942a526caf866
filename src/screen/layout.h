// The ZX Spectrum screen image: 6144 bytes of interleaved bitmap followed by
// 768 attribute bytes, and the pure helpers that address it.
//
// Pixel (x, y) is x 0..255 left to right, y 0..191 top to bottom. A cell is
// 8 x 8 pixels; cells are given column first, cx 0..31 and cy 0..23.
// Callers keep arguments in range; results are then inside the area named.
#pragma once

#include <cstdint>

constexpr int ScreenSize = 6912;
constexpr int BitmapSize = 6144;
constexpr int AttributeSize = 768;
constexpr int AttributeStart = BitmapSize;
constexpr int ScreenWidth = 256;
constexpr int ScreenHeight = 192;
constexpr int CellColumns = 32;
constexpr int CellRows = 24;

// Offset of the byte holding pixel (x, y). The screen is three thirds of 64
// rows; within a third, pixel row p of all eight cell rows comes before p + 1.
constexpr int bitmapOffset(int x, int y) {
    const int third = y / 64;
    const int cellRow = (y / 8) % 8;
    const int pixelRow = y % 8;
    return 2048 * third + 256 * pixelRow + 32 * cellRow + x / 8;
}

// Offset of pixel row r (0 at the top) of cell (cx, cy); rows of a cell are 256 apart.
constexpr int cellRowOffset(int cx, int cy, int r) {
    return (((cy & 7) << 5) | cx) + ((cy & 24) << 8) + 256 * r;
}

// Offset of the attribute of cell (cx, cy): plain row order, no interleave.
constexpr int attributeOffset(int cx, int cy) {
    return AttributeStart + 32 * cy + cx;
}

// Attribute fields: bit 7 flash, bit 6 bright, bits 5-3 paper, bits 2-0 ink.
constexpr int attributeInk(std::uint8_t a) {
    return a & 7;
}
constexpr int attributePaper(std::uint8_t a) {
    return (a >> 3) & 7;
}
constexpr bool attributeBright(std::uint8_t a) {
    return (a & 0x40) != 0;
}
constexpr bool attributeFlash(std::uint8_t a) {
    return (a & 0x80) != 0;
}

// The same attribute with ink and paper exchanged; flash and bright stay.
constexpr std::uint8_t swapInkPaper(std::uint8_t a) {
    return static_cast<std::uint8_t>((a & 192) | ((a & 7) << 3) | ((a & 56) >> 3));
}

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The colour of index 0..7 (bit 0 blue, bit 1 red, bit 2 green) at level 127,
// or 255 when bright is 1.
constexpr Rgb paletteColour(int index, int bright) {
    const std::uint8_t level = bright ? 255 : 127;
    return Rgb{static_cast<std::uint8_t>((index & 2) ? level : 0),
               static_cast<std::uint8_t>((index & 4) ? level : 0),
               static_cast<std::uint8_t>((index & 1) ? level : 0)};
}

constexpr Rgb inkColour(std::uint8_t a) {
    return paletteColour(attributeInk(a), attributeBright(a));
}
constexpr Rgb paperColour(std::uint8_t a) {
    return paletteColour(attributePaper(a), attributeBright(a));
}
