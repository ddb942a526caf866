#include "screen/operations.h"

#include "screen/layout.h"

void flipCell(std::uint8_t* image, int cx, int cy) {
    for (int r = 0; r < 8; ++r) {
        std::uint8_t& row = image[cellRowOffset(cx, cy, r)];
        row = static_cast<std::uint8_t>(255 - row);
    }
    std::uint8_t& attribute = image[attributeOffset(cx, cy)];
    attribute = swapInkPaper(attribute);
}

void invertScreen(std::uint8_t* image) {
    for (int offset = 0; offset < BitmapSize; ++offset) {
        image[offset] ^= 255;
    }
    for (int offset = AttributeStart; offset < ScreenSize; ++offset) {
        image[offset] = swapInkPaper(image[offset]);
    }
}

void optimizeScreen(std::uint8_t* image) {
    for (int cy = 0; cy < CellRows; ++cy) {
        for (int cx = 0; cx + 1 < CellColumns; ++cx) {
            const std::uint8_t left = image[attributeOffset(cx, cy)];
            const std::uint8_t right = image[attributeOffset(cx + 1, cy)];
            if (attributeInk(left) == attributePaper(right) ||
                attributeInk(right) == attributePaper(left)) {
                flipCell(image, cx + 1, cy);
            }
        }
    }
}
