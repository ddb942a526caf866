// What a pane shows, worked out pixel by pixel in the plainest way, for tests
// to compare the renderer and the PNG export with. It shares no code with
// the program: the screen layout and the colour rule are written out here
// again from their definitions.
#pragma once

#include <cstdint>

struct ModelColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(ModelColour, ModelColour) = default;
};

struct PaneSettings {
    bool mono = false;  // the bare bitmap pane instead of the colour pane
    int column = -1;    // the highlighted cell; -1, -1 for none
    int row = -1;
    bool grid = false;
    int scale = 1;
};

// The colour of picture pixel (x, y) of the 6912-byte `screen` drawn with
// `settings`: screen pixel (x / scale, y / scale), in its cell's ink or paper
// (attribute 7 on the bitmap pane, the cell's own on the colour pane, every
// bit complemented in the highlighted cell), levels 127 or 255 when bright;
// with the grid, pure blue on the first picture column and row of every cell.
ModelColour modelPanePixel(const std::uint8_t* screen, const PaneSettings& settings, int x, int y);
