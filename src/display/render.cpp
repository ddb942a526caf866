#include "display/render.h"

#include <type_traits>

#include "platform/drawing.h"
#include "screen/layout.h"

namespace {

// The attribute every cell has on the bitmap pane: ink 7, paper 0, not bright.
constexpr std::uint8_t MonoAttribute = 7;
constexpr ColourValue GridColour = rgb(0, 0, 255);
// The window's panes draw at this scale: it gets a loop of its own.
constexpr int PaneScale = 2;

ColourValue colourValue(Rgb colour) {
    return rgb(colour.red, colour.green, colour.blue);
}

// The attribute cell `cellIndex` (32 cy + cx) is drawn with on a pane of `kind`.
std::uint8_t shownAttribute(const std::uint8_t* image, PaneKind kind, std::int64_t highlighted,
                            int cellIndex) {
    std::uint8_t attribute =
        kind == PaneKind::Mono ? MonoAttribute : image[AttributeStart + cellIndex];
    if (cellIndex == highlighted) {
        attribute = static_cast<std::uint8_t>(255 - attribute);
    }
    return attribute;
}

// The eight pixels of one bitmap byte, most significant bit on the left.
// `Scale` is an int, or std::integral_constant for the window's fixed scale,
// which lets the compiler turn every box into a few plain stores.
template <class Scale>
void drawByte(std::uint8_t bits, std::uint8_t attribute, int x, int y, Scale scale) {
    const ColourValue ink = colourValue(inkColour(attribute));
    const ColourValue paper = colourValue(paperColour(attribute));
#pragma GCC unroll 8
    for (int d = 0; d < 8; ++d) {
        const bool set = (bits & (0x80 >> d)) != 0;
        drawBox(scale * (x + d), scale * y, scale, scale, set ? ink : paper);
    }
}

template <class Scale>
void drawPixels(const std::uint8_t* image, PaneKind kind, std::int64_t highlighted, Scale scale) {
    // Storage order: thirds, then pixel rows, then the 256 cells of the third.
    for (int third = 0; third < 3; ++third) {
        for (int pixelRow = 0; pixelRow < 8; ++pixelRow) {
            for (int i = 0; i < 256; ++i) {
                const int cellIndex = 256 * third + i;
                const std::uint8_t bits = image[2048 * third + 256 * pixelRow + i];
                const int x = 8 * (i % 32);
                const int y = 64 * third + 8 * (i / 32) + pixelRow;
                drawByte(bits, shownAttribute(image, kind, highlighted, cellIndex), x, y, scale);
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
    if (scale == PaneScale) {
        drawPixels(image, kind, highlighted, std::integral_constant<int, PaneScale>{});
    } else {
        drawPixels(image, kind, highlighted, scale);
    }
    if (grid) {
        drawGrid(scale);
    }
}
