#include "app/pane_interaction.h"

#include "app/main_window.h"
#include "display/panes.h"
#include "files/current_file.h"
#include "platform/gadgets.h"
#include "platform/memory.h"
#include "platform/text.h"
#include "platform/window.h"
#include "screen/layout.h"
#include "screen/operations.h"
#include "screen/screen_buffer.h"

std::optional<Cell> cellUnderPointer(int gadget) {
    // Arithmetic shifts: a negative position gives a negative cell, refused below.
    const Cell cell{gadgetAttribute(gadget, PointerX) >> 4, gadgetAttribute(gadget, PointerY) >> 4};
    if (cell.cx < 0 || cell.cx >= CellColumns || cell.cy < 0 || cell.cy >= CellRows) {
        return std::nullopt;
    }
    return cell;
}

std::string titleReadout(Cell cell, int attribute, const std::string& fileName) {
    const std::string digits = padLeft(binaryText(attribute, 8), 8, "0");
    const std::string groups =
        midText(digits, 1, 2) + ":" + midText(digits, 3, 3) + ":" + midText(digits, 6, 3);
    return "x:" + decimalText(cell.cx) + " y:" + decimalText(cell.cy) + " attribute:" + groups +
           " file:" + fileName;
}

void handlePaneEvent() {
    const int type = eventType();
    if (type != LeftButtonDown && type != MouseMove) {
        return;
    }
    const std::optional<Cell> cell = cellUnderPointer(eventGadgetNumber());
    if (!cell) {
        return;
    }
    if (type == LeftButtonDown) {
        flipCell(ScreenBuffer, cell->cx, cell->cy);
    } else {
        const int attribute = peekByte(ScreenBuffer + attributeOffset(cell->cx, cell->cy));
        setWindowTitle(MainWindow, titleReadout(*cell, attribute, CurrentFileName));
    }
    renderPanes(cell->cx, cell->cy);
}
