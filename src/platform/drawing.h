// Drawing into a picture: a canvas's persistent picture (canvasOutput() in
// gadgets.h) or an off-screen image (imageOutput() in images.h). Pictures
// are plain memory owned by this service (pictures.h); nothing here needs a
// window system.
//
// Order: startDrawing(target), any number of drawBox and drawLine calls,
// then stopDrawing(), which shows a canvas's new picture. One drawing at a
// time: starting another ends the one in progress. Drawing outside the
// picture is clipped; calls with no active drawing do nothing.
#pragma once

#include <cstddef>
#include <cstdint>

// Red in bits 0-7, green 8-15, blue 16-23.
using ColourValue = std::uint32_t;
using DrawingTarget = std::uintptr_t;

constexpr ColourValue rgb(int red, int green, int blue) {
    return static_cast<ColourValue>(red & 255) | (static_cast<ColourValue>(green & 255) << 8) |
           (static_cast<ColourValue>(blue & 255) << 16);
}

// Nonzero when drawing on the target has begun; 0 for target 0 or one that
// no longer exists.
int startDrawing(DrawingTarget target);

// Draws the line from (x1, y1) to (x2, y2), both end points included.
void drawLine(int x1, int y1, int x2, int y2, ColourValue colour);

// Ends the drawing; a canvas shows its new picture before this returns.
void stopDrawing();

namespace drawing_detail {

// The picture of the drawing in progress, 32 bits per pixel (0xFFRRGGBB).
// Width and height are 0 while no drawing is active.
// The sizes are not of type int on purpose: a pixel store may not alias them,
// so the compiler keeps them in registers across the boxes of a redraw.
struct ActiveDrawing {
    std::uint32_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;  // in pixels
    std::ptrdiff_t width = 0;
    std::ptrdiff_t height = 0;
};
extern ActiveDrawing activeDrawing;

// A colour and a pixel hold red and blue the other way round: one byte swap
// turns either into the other (a handful of instructions less per box).
constexpr std::uint32_t pixelOf(ColourValue c) {
    return 0xFF000000u | (__builtin_bswap32(c) >> 8);
}
constexpr ColourValue colourOf(std::uint32_t pixel) {
    return __builtin_bswap32(pixel) >> 8;
}

// Every box that is not wholly inside the picture, with clipping.
void drawClippedBox(int x, int y, int width, int height, ColourValue colour);

}  // namespace drawing_detail

// Fills the box from (x, y) of width x height; negative sizes extend to the
// left or up. Right and bottom limits are exclusive.
inline void drawBox(int x, int y, int width, int height, ColourValue colour) {
    const drawing_detail::ActiveDrawing& d = drawing_detail::activeDrawing;
    // Written so that no sum can overflow: x >= 0 and width > 0 make d.width - x safe.
    if (x >= 0 && y >= 0 && width > 0 && height > 0 && width <= d.width - x &&
        height <= d.height - y) {
        const std::uint32_t pixel = drawing_detail::pixelOf(colour);
        std::uint32_t* row = d.pixels + y * d.stride + x;
        for (int j = 0; j < height; ++j, row += d.stride) {
            for (int i = 0; i < width; ++i) {
                row[i] = pixel;
            }
        }
        return;
    }
    drawing_detail::drawClippedBox(x, y, width, height, colour);
}
