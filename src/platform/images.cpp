// Off-screen images as QImages in a registry keyed by image number.

#include "platform/images.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <cstdint>
#include <map>
#include <memory>

#include "platform/drawing_targets.h"

namespace {

// Larger pictures are refused rather than risking an allocation that cannot
// be served: 64 Mi pixels are 256 MiB.
constexpr std::int64_t MaxImagePixels = std::int64_t{64} * 1024 * 1024;
constexpr int MaxImageSide = 32767;

class Image final : public DrawingSurface {
  public:
    Image(int width, int height) : picture_(width, height, QImage::Format_RGB32) {
        if (!picture_.isNull()) {
            picture_.fill(Qt::white);
        }
        target_ = addDrawingTarget(*this);
    }
    ~Image() override { removeDrawingTarget(target_); }

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    QImage* picture() override { return &picture_; }
    const QImage& pixels() const { return picture_; }
    DrawingTarget target() const { return target_; }

  private:
    QImage picture_;
    DrawingTarget target_ = 0;
};

std::map<int, std::unique_ptr<Image>> images;

const Image* findImage(int number) {
    const auto it = images.find(number);
    return it == images.end() ? nullptr : it->second.get();
}

bool sizeAllowed(int width, int height) {
    return width >= 1 && height >= 1 && width <= MaxImageSide && height <= MaxImageSide &&
           std::int64_t{width} * height <= MaxImagePixels;
}

}  // namespace

int createImage(int number, int width, int height) {
    freeImage(number);
    if (!sizeAllowed(width, height)) {
        return 0;
    }
    auto image = std::make_unique<Image>(width, height);
    if (image->pixels().isNull()) {
        return 0;
    }
    images.emplace(number, std::move(image));
    return 1;
}

DrawingTarget imageOutput(int number) {
    const Image* image = findImage(number);
    return image == nullptr ? 0 : image->target();
}

int saveImage(int number, const std::string& path) {
    const Image* image = findImage(number);
    if (image == nullptr || path.empty()) {
        return 0;
    }
    QImageWriter writer(QFile::decodeName(QByteArray::fromStdString(path)), "png");
    return writer.write(image->pixels()) ? 1 : 0;
}

ColourValue imagePixel(int number, int x, int y) {
    const Image* image = findImage(number);
    if (image == nullptr || !image->pixels().valid(x, y)) {
        return 0;
    }
    const QRgb pixel = image->pixels().pixel(x, y);
    return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

void freeImage(int number) {
    images.erase(number);
}

std::vector<std::uint8_t> encodeImagePng(int number) {
    const Image* image = findImage(number);
    if (image == nullptr) {
        return {};
    }
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image->pixels())) {
        return {};
    }
    return std::vector<std::uint8_t>(encoded.begin(), encoded.end());
}
