#include "platform/picture_image.h"

#include "platform/pictures.h"

QImage imageOfPicture(DrawingTarget picture) {
    const PictureView view = pictureView(picture);
    if (view.pixels == nullptr) {
        return {};
    }
    // Both are 0xFFRRGGBB a pixel; the const constructor never writes to the memory.
    return QImage(reinterpret_cast<const uchar*>(view.pixels), view.width, view.height,
                  static_cast<qsizetype>(view.stride * 4), QImage::Format_RGB32);
}
