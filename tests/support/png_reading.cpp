#include "support/png_reading.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors by a long jump back here; no object with a
// destructor lives between the jump and its target.
bool readRows(std::FILE* file, DecodedPng& decoded, std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    decoded.width = static_cast<int>(png_get_image_width(png, info));
    decoded.height = static_cast<int>(png_get_image_height(png, info));
    decoded.colourType = png_get_color_type(png, info);
    decoded.bitDepth = png_get_bit_depth(png, info);
    // Whatever the file holds, 8-bit RGB comes out.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    decoded.rgb.assign(static_cast<std::size_t>(decoded.width) * decoded.height * 3, 0);
    rows.resize(static_cast<std::size_t>(decoded.height));
    for (int y = 0; y < decoded.height; ++y) {
        rows[static_cast<std::size_t>(y)] =
            decoded.rgb.data() + static_cast<std::size_t>(y) * decoded.width * 3;
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace

DecodedPng readPng(const std::filesystem::path& file) {
    DecodedPng decoded;
    const std::unique_ptr<std::FILE, FileCloser> opened(std::fopen(file.c_str(), "rb"));
    if (!opened) {
        decoded.problem = "cannot be opened";
        return decoded;
    }
    std::vector<png_bytep> rows;
    if (!readRows(opened.get(), decoded, rows)) {
        decoded.problem = "libpng cannot read it";
    }
    return decoded;
}
