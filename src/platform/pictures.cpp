// The picture store: every picture's pixels in a buffer of its own, keyed by
// drawing target.

#include "platform/pictures.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t WhitePixel = 0xFFFFFFFFu;

// Every row starts on a cache line of its own (16 pixels of 4 bytes): the
// boxes a drawing writes then fill whole lines instead of straddling two.
constexpr int RowAlignment = 16;
constexpr std::size_t CacheLine = 64;

struct FreeMemory {
    void operator()(std::uint32_t* pixels) const { std::free(pixels); }
};
using PixelBuffer = std::unique_ptr<std::uint32_t[], FreeMemory>;

// `count` white pixels starting on a cache line; throws std::bad_alloc when
// the memory cannot be had.
PixelBuffer whitePixels(std::size_t count) {
    const std::size_t bytes =
        (count * sizeof(std::uint32_t) + CacheLine - 1) / CacheLine * CacheLine;
    PixelBuffer pixels(static_cast<std::uint32_t*>(std::aligned_alloc(CacheLine, bytes)));
    if (!pixels) {
        throw std::bad_alloc();
    }
    std::fill_n(pixels.get(), count, WhitePixel);
    return pixels;
}

struct Picture {
    Picture(int w, int h)
        : width(w),
          height(h),
          stride((w + RowAlignment - 1) / RowAlignment * RowAlignment),
          changes(w, h) {}
    int width;
    int height;
    int stride;  // pixels from one row to the next
    PixelBuffer pixels;
    ChangedAreas changes;
    // The pixels as the last drawing left them; null unless asked for.
    PixelBuffer atLastEnd;
    DrawingEndedHandler drawingEnded;

    std::size_t size() const {
        return static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    }
};

std::map<DrawingTarget, std::unique_ptr<Picture>> pictures;
DrawingTarget lastTarget = 0;
picture_detail::PictureMemory beingDrawn;

Picture* findPicture(DrawingTarget target) {
    const auto it = pictures.find(target);
    return it == pictures.end() ? nullptr : it->second.get();
}

bool sizeAllowed(int width, int height) {
    return width >= 1 && height >= 1 && std::int64_t{width} * height <= MaxPicturePixels;
}

}  // namespace

DrawingTarget createPicture(int width, int height, ChangeReport report) {
    if (!sizeAllowed(width, height)) {
        return 0;
    }
    std::unique_ptr<Picture> picture;
    try {
        picture = std::make_unique<Picture>(width, height);
        picture->pixels = whitePixels(picture->size());
        if (report == ChangeReport::DifferentFromLastEnd) {
            picture->atLastEnd = whitePixels(picture->size());
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    const DrawingTarget target = ++lastTarget;
    pictures.emplace(target, std::move(picture));
    return target;
}

void freePicture(DrawingTarget target) {
    const auto it = pictures.find(target);
    if (it == pictures.end()) {
        return;
    }
    if (beingDrawn.target == target) {
        beingDrawn = {};  // the drawing ends without its handler
    }
    pictures.erase(it);
}

PictureView pictureView(DrawingTarget target) {
    const Picture* picture = findPicture(target);
    if (picture == nullptr) {
        return {};
    }
    return PictureView{picture->pixels.get(), picture->width, picture->height, picture->stride};
}

void setDrawingEndedHandler(DrawingTarget target, DrawingEndedHandler handler) {
    if (Picture* picture = findPicture(target)) {
        picture->drawingEnded = std::move(handler);
    }
}

namespace picture_detail {

const PictureMemory& pictureBeingDrawn() {
    return beingDrawn;
}

bool beginDrawingOn(DrawingTarget target) {
    endDrawing();
    Picture* picture = findPicture(target);
    if (picture == nullptr) {
        return false;
    }
    beingDrawn = PictureMemory{target,          picture->pixels.get(), picture->width,
                               picture->height, picture->stride,       &picture->changes};
    return true;
}

void endDrawing() {
    if (beingDrawn.target == 0) {
        return;
    }
    Picture* picture = findPicture(beingDrawn.target);
    beingDrawn = {};
    const std::vector<PictureArea> changed =
        picture->atLastEnd == nullptr
            ? picture->changes.take()
            : picture->changes.take(picture->pixels.get(), picture->atLastEnd.get(),
                                    picture->stride);
    if (picture->drawingEnded) {
        // A copy: the handler may replace itself or free the picture.
        const DrawingEndedHandler handler = picture->drawingEnded;
        handler(changed);
    }
}

}  // namespace picture_detail
