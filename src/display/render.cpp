#include "display/render.h"

#include <array>
#include <cstddef>

#include "platform/drawing.h"
#include "screen/layout.h"

namespace {

// The attribute every cell has on the bitmap pane: ink 7, paper 0, not bright.
constexpr std::uint8_t MonoAttribute = 7;
constexpr ColourValue GridColour = rgb(0, 0, 255);
constexpr int Cells = CellColumns * CellRows;

ColourValue colourValue(Rgb colour) {
    return rgb(colour.red, colour.green, colour.blue);
}

// The ink and paper colours of every cell as a pane of `kind` shows them,
// cell 32 cy + cx at index 32 cy + cx.
struct CellColours {
    std::array<ColourValue, Cells> ink;
    std::array<ColourValue, Cells> paper;
};

// The bitmap pane draws every cell in attribute 7; the highlighted cell
// (32 row + column) has its attribute complemented, every bit of it.
CellColours cellColours(const std::uint8_t* image, PaneKind kind, std::int64_t highlighted) {
    CellColours colours{};
    for (int cell = 0; cell < Cells; ++cell) {
        std::uint8_t attribute =
            kind == PaneKind::Mono ? MonoAttribute : image[AttributeStart + cell];
        if (cell == highlighted) {
            attribute = static_cast<std::uint8_t>(255 - attribute);
        }
        colours.ink[cell] = colourValue(inkColour(attribute));
        colours.paper[cell] = colourValue(paperColour(attribute));
    }
    return colours;
}

// The bitmap in its storage order: thirds, then pixel rows, then the 256
// cells of the third, which are eight screen rows of 32 bytes each.
void drawPixels(const std::uint8_t* image, const CellColours& colours, int scale) {
    for (int third = 0; third < 3; ++third) {
        for (int pixelRow = 0; pixelRow < 8; ++pixelRow) {
            for (int cellRow = 0; cellRow < 8; ++cellRow) {
                const std::ptrdiff_t firstCell = 256 * third + 32 * cellRow;
                const std::ptrdiff_t firstByte = 2048 * third + 256 * pixelRow + 32 * cellRow;
                const int y = 64 * third + 8 * cellRow + pixelRow;
                drawBitRow(0, scale * y, scale, image + firstByte, colours.ink.data() + firstCell,
                           colours.paper.data() + firstCell, CellColumns);
            }
        }
    }
}

void drawGrid(int scale) {
    const int cell = 8 * scale;
    for (int j = 0; j < CellColumns; ++j) {
        drawLine(cell * j, 0, cell * j, ScreenHeight * scale, GridColour);
    }
    for (int j = 0; j < CellRows; ++j) {
        drawLine(0, cell * j, ScreenWidth * scale, cell * j, GridColour);
    }
}

}  // namespace

void renderPane(const std::uint8_t* image, PaneKind kind, int column, int row, bool grid,
                int scale) {
    // 64 bits: no column and row a caller passes can overflow the cell index.
    const std::int64_t highlighted = 32 * static_cast<std::int64_t>(row) + column;
    drawPixels(image, cellColours(image, kind, highlighted), scale);
    if (grid) {
        drawGrid(scale);
    }
}
