// The drawing service: one active drawing at a time, on any registered
// target, with primitives that write straight into its picture.

#include "platform/drawing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/pictures.h"

namespace drawing_detail {
ActiveDrawing activeDrawing;
}  // namespace drawing_detail

namespace {

using drawing_detail::activeDrawing;
using drawing_detail::pixelOf;

// The target of the drawing in progress; 0 when none is.
DrawingTarget activeTarget = 0;

bool drawingActive() {
    return activeDrawing.pixels != nullptr;
}

// Fills left <= px < right, top <= py < bottom, cut to the picture. The bounds
// are 64-bit: sums and differences of any 32-bit arguments fit them.
void fillClipped(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                 std::uint32_t pixel) {
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, activeDrawing.width);
    bottom = std::min<std::int64_t>(bottom, activeDrawing.height);
    if (left >= right) {
        return;  // also when the box lies wholly left or right of the picture
    }
    for (std::int64_t y = top; y < bottom; ++y) {
        std::uint32_t* row = activeDrawing.pixels + y * activeDrawing.stride;
        std::fill(row + left, row + right, pixel);
    }
}

void setPixel(std::int64_t x, std::int64_t y, std::uint32_t pixel) {
    if (x >= 0 && x < activeDrawing.width && y >= 0 && y < activeDrawing.height) {
        activeDrawing.pixels[y * activeDrawing.stride + x] = pixel;
    }
}

// A line that is neither horizontal nor vertical: the pixels of the whole
// line, one per step along its longer axis, that lie inside the picture. Only
// the steps whose coordinate on the longer axis is inside the picture are
// walked, so the work is bounded by the picture's size whatever the end points.
void drawSlantedLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                     std::uint32_t pixel) {
    const bool alongX = std::llabs(x2 - x1) >= std::llabs(y2 - y1);
    // a is the longer axis, b the shorter one.
    const std::int64_t a1 = alongX ? x1 : y1;
    const std::int64_t b1 = alongX ? y1 : x1;
    const std::int64_t da = (alongX ? x2 : y2) - a1;
    const std::int64_t db = (alongX ? y2 : x2) - b1;
    const std::int64_t aSize = alongX ? activeDrawing.width : activeDrawing.height;
    const std::int64_t aStep = da < 0 ? -1 : 1;
    const std::int64_t bStep = db < 0 ? -1 : 1;
    // Both below 2^32, so steps * rise + steps / 2 stays below 2^64.
    const std::uint64_t steps = static_cast<std::uint64_t>(std::llabs(da));
    const std::uint64_t rise = static_cast<std::uint64_t>(std::llabs(db));

    // Steps k with 0 <= a1 + aStep * k <= aSize - 1.
    std::int64_t first = aStep > 0 ? -a1 : a1 - (aSize - 1);
    std::int64_t last = aStep > 0 ? aSize - 1 - a1 : a1;
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, static_cast<std::int64_t>(steps));
    for (std::int64_t k = first; k <= last; ++k) {
        // The shorter axis' offset at step k, rounded to the nearest pixel.
        const auto offset =
            static_cast<std::int64_t>((static_cast<std::uint64_t>(k) * rise + steps / 2) / steps);
        const std::int64_t a = a1 + aStep * k;
        const std::int64_t b = b1 + bStep * offset;
        setPixel(alongX ? a : b, alongX ? b : a, pixel);
    }
}

void endActiveDrawing() {
    activeDrawing = drawing_detail::ActiveDrawing{};
    activeTarget = 0;
}

}  // namespace

namespace drawing_detail {

void drawClippedBox(int x, int y, int width, int height, ColourValue colour) {
    if (!drawingActive()) {
        return;
    }
    // A negative size extends the box to the left of x or above y.
    std::int64_t left = x;
    std::int64_t top = y;
    std::int64_t w = width;
    std::int64_t h = height;
    if (w < 0) {
        left += w;
        w = -w;
    }
    if (h < 0) {
        top += h;
        h = -h;
    }
    fillClipped(left, top, left + w, top + h, pixelOf(colour));
}

}  // namespace drawing_detail

int startDrawing(DrawingTarget target) {
    stopDrawing();  // one drawing at a time: one still in progress ends here
    const drawing_detail::PictureMemory picture = drawing_detail::pictureMemory(target);
    if (picture.pixels == nullptr) {
        return 0;
    }
    activeDrawing.pixels = picture.pixels;
    activeDrawing.stride = picture.stride;
    activeDrawing.width = picture.width;
    activeDrawing.height = picture.height;
    activeTarget = target;
    return 1;
}

void drawLine(int x1, int y1, int x2, int y2, ColourValue colour) {
    if (!drawingActive()) {
        return;
    }
    const std::uint32_t pixel = pixelOf(colour);
    const std::int64_t left = std::min(x1, x2);
    const std::int64_t right = std::max(x1, x2);
    const std::int64_t top = std::min(y1, y2);
    const std::int64_t bottom = std::max(y1, y2);
    // Runs include both end points, hence the + 1 on the exclusive limit.
    if (y1 == y2) {
        fillClipped(left, top, right + 1, top + 1, pixel);
    } else if (x1 == x2) {
        fillClipped(left, top, left + 1, bottom + 1, pixel);
    } else {
        drawSlantedLine(x1, y1, x2, y2, pixel);
    }
}

void stopDrawing() {
    if (activeTarget == 0) {
        return;
    }
    const DrawingTarget ended = activeTarget;
    endActiveDrawing();
    drawing_detail::pictureDrawingEnded(ended);
}

namespace drawing_detail {

void abandonDrawingOn(DrawingTarget target) {
    if (target != 0 && target == activeTarget) {
        endActiveDrawing();
    }
}

}  // namespace drawing_detail
