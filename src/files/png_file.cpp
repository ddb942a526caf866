#include "files/png_file.h"

#include <png.h>

#include <cstddef>

std::vector<std::uint8_t> encodePng(const RgbImage& image) {
    if (image.width < 1 || image.height < 1 ||
        image.bytes.size() != std::size_t{3} * static_cast<std::size_t>(image.width) *
                                  static_cast<std::size_t>(image.height)) {
        return {};
    }
    png_image description{};
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(image.width);
    description.height = static_cast<png_uint_32>(image.height);
    description.format = PNG_FORMAT_RGB;
    // The first call only measures, the second writes; libpng reports its
    // own failures through the result and frees what it took.
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&description, nullptr, &size, 0, image.bytes.data(), 0,
                                  nullptr) == 0) {
        return {};
    }
    std::vector<std::uint8_t> png(size);
    if (png_image_write_to_memory(&description, png.data(), &size, 0, image.bytes.data(), 0,
                                  nullptr) == 0) {
        return {};
    }
    png.resize(size);
    return png;
}
