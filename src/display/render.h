// Drawing a screen image as a pane shows it, into the drawing in progress.
//
// The bitmap pane shows the bare bitmap: every cell is drawn with attribute
// 7, set pixels grey on black. The colour pane shows the picture in its
// attribute colours. One cell can be highlighted by complementing its
// attribute; the pair -1, -1 highlights nothing.
#pragma once

#include <cstdint>

enum class PaneKind { Mono, Colour };

// Draws the 6912-byte `image` as a pane of `kind` into the active drawing:
// screen pixel (x, y) becomes the box (scale x, scale y, scale, scale), and
// with `grid` a blue line runs along the first picture column and row of
// every cell (none after the last cell). Reads nothing but its arguments.
void renderPane(const std::uint8_t* image, PaneKind kind, int column, int row, bool grid,
                int scale);
