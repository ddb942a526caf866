#include "files/png_file.h"

#include <png.h>
#include <zlib.h>

#include <cstddef>
#include <cstring>
#include <new>

namespace {

// libpng hands the encoded bytes over in pieces; they are appended here.
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp /*png*/) {}

// Screen pictures are large areas of few colours and repeat each row
// `scale` times: the Up filter with zlib's run-length strategy gives files
// about as small as libpng's adaptive filtering at a third of its time, and
// far smaller ones at large scales.
void chooseCompression(png_structp png) {
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, Z_DEFAULT_COMPRESSION);
    png_set_compression_strategy(png, Z_RLE);
}

// libpng reports a failure by a long jump back to the setjmp() here: no
// object with a destructor may be created between the two, so everything
// with one lives in the caller.
bool writeRows(const RgbImage& image, std::vector<std::uint8_t>& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    chooseCompression(png);
    png_write_info(png, info);
    const std::size_t rowBytes = std::size_t{3} * static_cast<std::size_t>(image.width);
    for (int y = 0; y < image.height; ++y) {
        // libpng takes a non-const row but does not change it.
        png_write_row(png, const_cast<png_bytep>(image.bytes.data() + rowBytes * y));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> encodePng(const RgbImage& image) {
    if (image.width < 1 || image.height < 1 ||
        image.bytes.size() != std::size_t{3} * static_cast<std::size_t>(image.width) *
                                  static_cast<std::size_t>(image.height)) {
        return {};
    }
    std::vector<std::uint8_t> out;
    if (!writeRows(image, out)) {
        return {};
    }
    return out;
}
