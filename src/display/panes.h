// The two panes of the main window and the box that lays a grid over them.
//
// The main window creates its gadgets under these numbers; the renderer
// draws on the two canvases and reads the Grid checkbox.
#pragma once

// Canvas gadget 0: the bare bitmap, grey on black.
constexpr int MonoPane = 0;
// Canvas gadget 1: the picture in its attribute colours.
constexpr int ColourPane = 1;
// Checkbox gadget 3: while checked, both panes show the cell grid.
constexpr int GridBox = 3;

// Repaints both panes from ScreenBuffer at scale 2, highlighting cell
// (column, row) on both (-1, -1 highlights nothing); the grid follows the
// Grid checkbox, read once for both panes. A pane that cannot be drawn on is
// skipped. Every pixel of both pictures is drawn on every call.
void renderPanes(int column, int row);
