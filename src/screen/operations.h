// Edits of a screen image in place. Each works on any 6912-byte image.
//
// All three rest on one re-encoding of a cell: its eight bitmap bytes are
// inverted and its ink and paper exchanged, so every pixel keeps its colour
// while the bitmap of that cell is inverted.
#pragma once

#include <cstdint>

// Re-encodes cell (cx, cy), cx 0..31 and cy 0..23.
void flipCell(std::uint8_t* image, int cx, int cy);

// Re-encodes every cell.
void invertScreen(std::uint8_t* image);

// For each row, left to right, flips the right cell of a pair when the left
// cell's ink is the right cell's paper or the right cell's ink is the left
// cell's paper. Each pair is tested as the image stands at that step, so a
// flip changes the test of the next pair. Column 0 is never flipped.
void optimizeScreen(std::uint8_t* image);
