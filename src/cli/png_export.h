// A screen's picture as a PNG image: what a pane of the window program shows,
// drawn by the same renderer at any scale.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/command_line.h"

// The PNG file of the 6912-byte `image` as pane 1 (colour) or, with `mono`,
// pane 0 (the bare bitmap) draws it: 256 x 192 pixels times the scale, with
// the grid and the highlighted cell as asked. Empty when it cannot be made.
std::vector<std::uint8_t> screenPng(const std::uint8_t* image, const PngOptions& options);

// The PNG's name when none is given: the file part of `screenPath` followed
// by ".png", in the current folder as the split files are.
std::string defaultPngName(const std::string& screenPath);
