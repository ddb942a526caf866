// The picture store: every picture's pixels in a buffer of its own, keyed by
// drawing target.

#include "platform/pictures.h"

#include <map>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t WhitePixel = 0xFFFFFFFFu;

struct Picture {
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
    std::function<void()> drawingEnded;
};

std::map<DrawingTarget, std::unique_ptr<Picture>> pictures;
DrawingTarget lastTarget = 0;

Picture* findPicture(DrawingTarget target) {
    const auto it = pictures.find(target);
    return it == pictures.end() ? nullptr : it->second.get();
}

bool sizeAllowed(int width, int height) {
    return width >= 1 && height >= 1 && std::int64_t{width} * height <= MaxPicturePixels;
}

}  // namespace

DrawingTarget createPicture(int width, int height) {
    if (!sizeAllowed(width, height)) {
        return 0;
    }
    auto picture = std::make_unique<Picture>();
    picture->width = width;
    picture->height = height;
    try {
        picture->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                               WhitePixel);
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
    drawing_detail::abandonDrawingOn(target);
    pictures.erase(it);
}

PictureView pictureView(DrawingTarget target) {
    const drawing_detail::PictureMemory memory = drawing_detail::pictureMemory(target);
    return PictureView{memory.pixels, memory.width, memory.height, memory.stride};
}

void setDrawingEndedHandler(DrawingTarget target, std::function<void()> handler) {
    if (Picture* picture = findPicture(target)) {
        picture->drawingEnded = std::move(handler);
    }
}

namespace drawing_detail {

PictureMemory pictureMemory(DrawingTarget target) {
    Picture* picture = findPicture(target);
    if (picture == nullptr) {
        return {};
    }
    return PictureMemory{picture->pixels.data(), picture->width, picture->height, picture->width};
}

void pictureDrawingEnded(DrawingTarget target) {
    const Picture* picture = findPicture(target);
    if (picture != nullptr && picture->drawingEnded) {
        // A copy: the handler may replace itself or free the picture.
        const std::function<void()> handler = picture->drawingEnded;
        handler();
    }
}

}  // namespace drawing_detail
