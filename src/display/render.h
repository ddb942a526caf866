// Drawing the screen image onto the two panes.
//
// Pane 0 shows the bare bitmap: every cell is drawn with attribute 7, set
// pixels grey on black. Pane 1 shows the picture in its attribute colours.
// One cell can be highlighted on a pane by complementing its attribute; the
// pair -1, -1 highlights nothing.
#pragma once

#include <cstdint>

// Draws pane `pane` (0 or 1) of the 6912-byte `image` into the active drawing:
// screen pixel (x, y) becomes the box (scale x, scale y, scale, scale), and
// with `grid` a blue line runs along the first picture column and row of
// every cell (none after the last cell). Reads nothing but its arguments.
void renderPane(const std::uint8_t* image, int pane, int column, int row, bool grid, int scale);

// Repaints both panes of the main window from ScreenBuffer at scale 2,
// highlighting cell (column, row); the grid follows the Grid checkbox, read
// once for both panes. A pane that cannot be drawn on is skipped.
void renderPanes(int column, int row);
