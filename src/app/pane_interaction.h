// The pointer over the two panes: the title read-out and the cell flip.
#pragma once

#include <optional>
#include <string>

struct Cell {
    int cx;
    int cy;
};

// The cell under the pointer of the current canvas event on `gadget`: one
// cell is 16 x 16 pane pixels. None for a position outside the screen's cells.
std::optional<Cell> cellUnderPointer(int gadget);

// "x:<cx> y:<cy> attribute:<ff>:<ppp>:<iii> file:<fileName>", the attribute
// as eight binary digits grouped as flash and bright, paper, ink.
std::string titleReadout(Cell cell, int attribute, const std::string& fileName);

// Serves a GadgetEvent of either pane: a pointer movement writes the
// read-out of the cell under it into the title, a left-button press flips
// that cell; both then redraw with the cell highlighted. Other types do nothing.
void handlePaneEvent();
