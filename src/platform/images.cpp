// Off-screen images: pictures of the drawing service, keyed by image number.

#include "platform/images.h"

#include <map>

namespace {

// Each side fits the 16 bits that picture formats such as PNG readers
// commonly accept.
constexpr int MaxImageSide = 32767;

std::map<int, DrawingTarget> images;

}  // namespace

int createImage(int number, int width, int height) {
    freeImage(number);
    if (width > MaxImageSide || height > MaxImageSide) {
        return 0;
    }
    const DrawingTarget target = createPicture(width, height);
    if (target == 0) {
        return 0;
    }
    images.emplace(number, target);
    return 1;
}

DrawingTarget imageOutput(int number) {
    const auto it = images.find(number);
    return it == images.end() ? 0 : it->second;
}

PictureView imagePixels(int number) {
    return pictureView(imageOutput(number));
}

ColourValue imagePixel(int number, int x, int y) {
    const PictureView picture = imagePixels(number);
    if (picture.pixels == nullptr || x < 0 || y < 0 || x >= picture.width || y >= picture.height) {
        return 0;
    }
    return picture.colourAt(x, y);
}

void freeImage(int number) {
    const auto it = images.find(number);
    if (it != images.end()) {
        freePicture(it->second);
        images.erase(it);
    }
}
