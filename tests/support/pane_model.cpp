#include "support/pane_model.h"

namespace {

// The byte holding screen pixel (x, y): thirds of 64 rows, and in each third
// pixel row p of all eight cell rows before pixel row p + 1.
int byteOfPixel(int x, int y) {
    const int third = y / 64;
    const int cellRowInThird = (y % 64) / 8;
    const int pixelRowInCell = y % 8;
    return third * 2048 + pixelRowInCell * 256 + cellRowInThird * 32 + x / 8;
}

}  // namespace

ModelColour modelPanePixel(const std::uint8_t* screen, const PaneSettings& settings, int x, int y) {
    const int cellSide = 8 * settings.scale;
    if (settings.grid && (x % cellSide == 0 || y % cellSide == 0)) {
        return {0, 0, 255};
    }
    const int screenX = x / settings.scale;
    const int screenY = y / settings.scale;
    const int cx = screenX / 8;
    const int cy = screenY / 8;
    int attribute = settings.mono ? 7 : screen[6144 + cy * 32 + cx];
    if (cx == settings.column && cy == settings.row) {
        attribute = 255 - attribute;
    }
    const bool set = ((screen[byteOfPixel(screenX, screenY)] >> (7 - screenX % 8)) & 1) != 0;
    const int colourIndex = set ? attribute % 8 : (attribute / 8) % 8;
    const std::uint8_t level = (attribute & 64) != 0 ? 255 : 127;
    const auto lit = [&](int bit) { return (colourIndex & bit) != 0 ? level : std::uint8_t{0}; };
    return {lit(2), lit(4), lit(1)};
}
