// The pictures the drawing service draws on. Canvases and off-screen images
// make theirs here; other code reads them through those (images.h).
//
// A picture is plain memory owned here: 32 bits a pixel, 0xFFRRGGBB, rows top
// to bottom. Canvases show theirs through the window system; off-screen
// images are the same memory with nothing showing it. Each picture is named
// by the DrawingTarget that startDrawing() takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/changed_areas.h"
#include "platform/drawing.h"

namespace picture_pixels {

// A colour and a pixel hold red and blue the other way round: one byte swap
// turns either into the other.
constexpr std::uint32_t pixelOf(ColourValue colour) {
    return 0xFF000000u | (__builtin_bswap32(colour) >> 8);
}
constexpr ColourValue colourOf(std::uint32_t pixel) {
    return __builtin_bswap32(pixel) >> 8;
}

}  // namespace picture_pixels

// Read access to a picture's pixels. `pixels` is null, and the sizes 0, for
// a target that is 0 or no longer exists.
struct PictureView {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // in pixels

    // The colour of pixel (x, y), which must lie inside the picture.
    ColourValue colourAt(int x, int y) const {
        return picture_pixels::colourOf(pixels[y * stride + x]);
    }
};

// Larger pictures are refused rather than risking an allocation that cannot
// be served: 64 Mi pixels are 256 MiB.
constexpr std::int64_t MaxPicturePixels = std::int64_t{64} * 1024 * 1024;

// How exactly a drawing's changes are told to the drawing-ended handler.
enum class ChangeReport {
    // The tiles a primitive wrote another colour into.
    Written,
    // Only the tiles that differ, at the drawing's end, from what the picture
    // held at the end of the drawing before: a pixel drawn over and then
    // given its old colour back (a grid line drawn again over its cell) is
    // no change. The picture keeps a copy of itself for this.
    DifferentFromLastEnd,
};

// Makes a white picture of width x height pixels and returns its target, a
// nonzero number never given out twice; 0 when a side is below 1, the picture
// is larger than MaxPicturePixels, or the memory cannot be had.
DrawingTarget createPicture(int width, int height, ChangeReport report = ChangeReport::Written);

// Releases the picture. A drawing in progress on it ends at once, without
// its handler, so that no primitive can write into memory that is gone.
// Does nothing for 0 or a target that no longer exists.
void freePicture(DrawingTarget target);

PictureView pictureView(DrawingTarget target);

// Called by stopDrawing() when a drawing on the picture ends, with the areas
// whose pixels it changed (none when every pixel kept its colour): a canvas
// shows those. Replaces an earlier handler; an empty one removes it.
using DrawingEndedHandler = std::function<void(const std::vector<PictureArea>& changed)>;
void setDrawingEndedHandler(DrawingTarget target, DrawingEndedHandler handler);

// Between the picture store and the drawing module only: the store keeps
// which picture a drawing is in progress on, so that freeing that picture
// ends the drawing.
namespace picture_detail {

// The picture being drawn on; all empty (pixels null, target 0) while none
// is. The sizes are not of type int on purpose: a pixel store may not alias
// them, so the compiler keeps them in registers across a row.
struct PictureMemory {
    DrawingTarget target = 0;
    std::uint32_t* pixels = nullptr;
    std::ptrdiff_t width = 0;
    std::ptrdiff_t height = 0;
    std::ptrdiff_t stride = 0;  // in pixels
    ChangedAreas* changes = nullptr;
};
const PictureMemory& pictureBeingDrawn();

// Makes the target's picture the one being drawn on; false, and none is,
// for a target that is 0 or does not exist.
bool beginDrawingOn(DrawingTarget target);

// Ends the drawing in progress, if any: takes the areas it changed and runs
// the picture's drawing-ended handler, if it has one.
void endDrawing();

}  // namespace picture_detail
