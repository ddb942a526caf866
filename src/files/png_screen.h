// A picture back into a screen: each pixel sorted among the Spectrum's 15
// colours, and each 8 x 8 cell encoded as a bitmap, an ink and a paper.
//
// Colours: every channel of a pixel is off (0 to 24) or lit (103 to 255);
// the lit channels of one pixel are all bright (232 and above) or all not
// (103 to 231), so that the levels of the palettes in common use (127, 192,
// 197, 205, 215 and 255 for bright) all count. Red, green and blue lit give
// colour index 2, 4 and 1 added up. A channel from 25 to 102, or lit
// channels of both kinds, is far from every colour.
//
// Cells: at most two colours, both bright or both not (black goes with
// either). Each row of cells is encoded left to right, each cell after the
// one on its left (none at column 0):
//  - two colours: a colour that is the left cell's paper stays paper; else
//    a colour that is the left cell's ink stays ink; else the colour with
//    more pixels is paper, on a tie the lower index. Bits are set where the
//    ink is.
//  - one colour: the left cell's ink stays ink, all bits set, on the left
//    cell's paper; any other colour is paper with all bits clear, under the
//    left cell's ink (at column 0 white, or black on white paper).
//  - bright when the cell shows a bright colour other than black; never
//    flash.
// So a colour shared by neighbouring cells keeps its role and ink never
// equals paper: Optimize finds nothing to re-encode.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "screen/layout.h"

// A colour of the Spectrum: index 0..7 (bit 0 blue, bit 1 red, bit 2
// green); `bright` is false for black.
struct SpectrumColour {
    int index = 0;
    bool bright = false;
    friend bool operator==(SpectrumColour, SpectrumColour) = default;
};

// The colour the pixel shows; none when it is far from every one.
std::optional<SpectrumColour> spectrumColourOf(std::uint8_t red, std::uint8_t green,
                                               std::uint8_t blue);

struct PictureScreen {
    std::array<std::uint8_t, ScreenSize> image{};
    // Why the picture cannot be a screen; empty when `image` is the screen.
    std::string problem;
};

// The screen that shows the 256 x 192 pixels at `rgb` (3 bytes a pixel, red
// first, row by row from the top). A cell that cannot be encoded fails the
// whole picture; the reason names the first such cell, as (cx, cy), why it
// fails, and how many cells fail.
PictureScreen screenFromPixels(const std::uint8_t* rgb);

// The screen of a PNG file in memory: a picture of 256 x 192 pixels, or of N
// times that in both directions (N from 2 to 8) where every N x N block of
// pixels holds one value. Every pixel must be fully opaque. A picture of any
// other size is refused from its header, before any pixel is decoded.
PictureScreen screenFromPng(const std::uint8_t* data, std::size_t size);
