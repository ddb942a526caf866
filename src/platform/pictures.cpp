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
    Picture(int w, int h) : width(w), height(h), changes(w, h) {}
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
    ChangedAreas changes;
    // The pixels as the last drawing left them; empty unless asked for.
    std::vector<std::uint32_t> atLastEnd;
    DrawingEndedHandler drawingEnded;
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
        const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        picture->pixels.assign(size, WhitePixel);
        if (report == ChangeReport::DifferentFromLastEnd) {
            picture->atLastEnd.assign(size, WhitePixel);
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
    return PictureView{picture->pixels.data(), picture->width, picture->height, picture->width};
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
    beingDrawn = PictureMemory{target,          picture->pixels.data(), picture->width,
                               picture->height, picture->width,         &picture->changes};
    return true;
}

void endDrawing() {
    if (beingDrawn.target == 0) {
        return;
    }
    Picture* picture = findPicture(beingDrawn.target);
    beingDrawn = {};
    const std::vector<PictureArea> changed =
        picture->atLastEnd.empty()
            ? picture->changes.take()
            : picture->changes.take(picture->pixels.data(), picture->atLastEnd.data(),
                                    picture->width);
    if (picture->drawingEnded) {
        // A copy: the handler may replace itself or free the picture.
        const DrawingEndedHandler handler = picture->drawingEnded;
        handler(changed);
    }
}

}  // namespace picture_detail
