// The pictures the drawing service draws on. Canvases and off-screen images
// make theirs here; other code reads them through those (images.h).
//
// A picture is plain memory owned here: 32 bits a pixel, 0xFFRRGGBB, rows top
// to bottom. Canvases show theirs through the window system; off-screen
// images (images.h) are the same memory with nothing showing it. Each picture
// is named by the DrawingTarget that startDrawing() takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/drawing.h"

// Read access to a picture's pixels. `pixels` is null, and the sizes 0, for
// a target that is 0 or no longer exists.
struct PictureView {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // in pixels

    // The colour of pixel (x, y), which must lie inside the picture.
    ColourValue colourAt(int x, int y) const {
        return drawing_detail::colourOf(pixels[y * stride + x]);
    }
};

// Makes a white picture of width x height pixels and returns its target, a
// nonzero number never given out twice; 0 when a side is below 1, the picture
// is larger than MaxPicturePixels, or the memory cannot be had.
DrawingTarget createPicture(int width, int height);

// Larger pictures are refused rather than risking an allocation that cannot
// be served: 64 Mi pixels are 256 MiB.
constexpr std::int64_t MaxPicturePixels = std::int64_t{64} * 1024 * 1024;

// Releases the picture. A drawing in progress on it ends at once, without
// its handler, so that no primitive can write into memory that is gone.
// Does nothing for 0 or a target that no longer exists.
void freePicture(DrawingTarget target);

PictureView pictureView(DrawingTarget target);

// Called by stopDrawing() when a drawing on the picture ends: a canvas shows
// its new picture here. Replaces an earlier handler; an empty one removes it.
void setDrawingEndedHandler(DrawingTarget target, std::function<void()> handler);

// Between the picture store and the drawing module only.
namespace drawing_detail {

// The pixels a drawing writes; `pixels` is null for a target that is 0 or no
// longer exists.
struct PictureMemory {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // in pixels
};
PictureMemory pictureMemory(DrawingTarget target);

// Runs the picture's drawing-ended handler, if it has one.
void pictureDrawingEnded(DrawingTarget target);

// Defined by the drawing module: a drawing in progress on the target ends
// without its handler.
void abandonDrawingOn(DrawingTarget target);

}  // namespace drawing_detail
