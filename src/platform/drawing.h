// Drawing into a picture: a canvas's persistent picture (canvasOutput() in
// gadgets.h) or an off-screen image (imageOutput() in images.h). Pictures
// are plain memory owned by this service (pictures.h); nothing here needs a
// window system.
//
// Order: startDrawing(target), any number of drawBox, drawBitRow and
// drawLine calls, then stopDrawing(), which shows what the drawing changed
// of a canvas's picture. One drawing at a time: starting another ends the
// one in progress. Drawing outside the picture is clipped; calls with no
// active drawing do nothing.
#pragma once

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

// Fills the box from (x, y) of width x height; negative sizes extend to the
// left or up. Right and bottom limits are exclusive.
void drawBox(int x, int y, int width, int height, ColourValue colour);

// Draws `count` bytes of one-bit pixels as a row of boxes from (x, y): bit
// 7 - d of bits[j] (the most significant bit leftmost) becomes the box at
// (x + (8 j + d) scale, y) of scale x scale, in inks[j] when the bit is set
// and papers[j] when it is clear. The result is exactly that of those
// drawBox() calls, clipping included (positions taken without overflow);
// this is only the faster way to make them.
void drawBitRow(int x, int y, int scale, const std::uint8_t* bits, const ColourValue* inks,
                const ColourValue* papers, int count);

// Draws the line from (x1, y1) to (x2, y2), both end points included.
void drawLine(int x1, int y1, int x2, int y2, ColourValue colour);

// Ends the drawing; a canvas shows the parts of its picture the drawing
// changed before this returns.
void stopDrawing();

namespace drawing_detail {

// drawBitRow() has loops for any x86-64 processor and for those with AVX2,
// which it takes where the processor has it. With `only`, the first are
// taken everywhere: the tests check both kinds on one machine.
void useBaselineLoopsOnly(bool only);

}  // namespace drawing_detail
