#include "files/png_writing.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <optional>

namespace {

using Colour = std::array<std::uint16_t, 4>;

Colour colourAt(const Picture& picture, int x, int y) {
    const std::uint16_t* p = picture.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// Packs samples of `depth` bits, most significant first, into bytes.
class RowPacker {
  public:
    explicit RowPacker(int depth) : depth_(depth) {}
    void add(std::uint16_t value) {
        if (depth_ == 16) {
            row_.push_back(static_cast<png_byte>(value >> 8));
            row_.push_back(static_cast<png_byte>(value & 0xFF));
            return;
        }
        const int sample = depth_ == 8 ? value >> 8 : value >> (16 - depth_);
        bits_ = (bits_ << depth_) | sample;
        used_ += depth_;
        if (used_ == 8) {
            row_.push_back(static_cast<png_byte>(bits_));
            bits_ = 0;
            used_ = 0;
        }
    }
    std::vector<png_byte> finish() {
        if (used_ > 0) {
            row_.push_back(static_cast<png_byte>(bits_ << (8 - used_)));
        }
        return row_;
    }

  private:
    int depth_;
    int bits_ = 0;
    int used_ = 0;
    std::vector<png_byte> row_;
};

}  // namespace

void Picture::set(int x, int y, std::uint16_t r, std::uint16_t g, std::uint16_t b,
                  std::uint16_t a) {
    std::uint16_t* p = rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = a;
}

Picture blankPicture(int width, int height) {
    Picture picture{width, height, {}};
    picture.rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
    for (std::size_t i = 3; i < picture.rgba.size(); i += 4) {
        picture.rgba[i] = 65535;
    }
    return picture;
}

Picture enlarged(const Picture& picture, int scale) {
    Picture big = blankPicture(picture.width * scale, picture.height * scale);
    for (int y = 0; y < big.height; ++y) {
        for (int x = 0; x < big.width; ++x) {
            const std::uint16_t* p = picture.at(x / scale, y / scale);
            big.set(x, y, p[0], p[1], p[2], p[3]);
        }
    }
    return big;
}

Bytes pngFile(const Picture& picture, const PngFormat& format) {
    std::vector<Colour> palette;
    std::vector<std::vector<png_byte>> rows;
    std::optional<Colour> transparent;
    for (int y = 0; y < picture.height && !transparent; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (colourAt(picture, x, y)[3] != 65535) {
                transparent = colourAt(picture, x, y);
                break;
            }
        }
    }
    for (int y = 0; y < picture.height; ++y) {
        RowPacker packer(format.bitDepth);
        for (int x = 0; x < picture.width; ++x) {
            const Colour c = colourAt(picture, x, y);
            switch (format.kind) {
                case PngKind::Palette: {
                    auto found = std::find(palette.begin(), palette.end(), c);
                    if (found == palette.end()) {
                        palette.push_back(c);
                        found = palette.end() - 1;
                    }
                    // The palette index, as a sample of the bit depth.
                    const int index = static_cast<int>(found - palette.begin());
                    packer.add(format.bitDepth == 8
                                   ? static_cast<std::uint16_t>(index << 8)
                                   : static_cast<std::uint16_t>(index << (16 - format.bitDepth)));
                    break;
                }
                case PngKind::Grey:
                case PngKind::GreyTrns:
                    packer.add(c[0]);
                    break;
                case PngKind::GreyAlpha:
                    packer.add(c[0]);
                    packer.add(c[3]);
                    break;
                case PngKind::Rgb:
                case PngKind::RgbTrns:
                    packer.add(c[0]);
                    packer.add(c[1]);
                    packer.add(c[2]);
                    break;
                case PngKind::Rgba:
                    packer.add(c[0]);
                    packer.add(c[1]);
                    packer.add(c[2]);
                    packer.add(c[3]);
                    break;
            }
        }
        rows.push_back(packer.finish());
    }

    // Everything with a destructor exists before libpng may jump back to setjmp().
    Bytes file;
    std::vector<png_color> entries;
    std::vector<png_byte> alphas;
    std::vector<png_bytep> rowPointers;
    rowPointers.reserve(rows.size());
    for (auto& row : rows) {
        rowPointers.push_back(row.data());
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng could not write the picture";
        return {};
    }
    png_set_write_fn(png, &file, appendBytes, noFlush);
    int colourType = PNG_COLOR_TYPE_RGB;
    switch (format.kind) {
        case PngKind::Palette:
            colourType = PNG_COLOR_TYPE_PALETTE;
            break;
        case PngKind::Grey:
        case PngKind::GreyTrns:
            colourType = PNG_COLOR_TYPE_GRAY;
            break;
        case PngKind::GreyAlpha:
            colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
            break;
        case PngKind::Rgb:
        case PngKind::RgbTrns:
            colourType = PNG_COLOR_TYPE_RGB;
            break;
        case PngKind::Rgba:
            colourType = PNG_COLOR_TYPE_RGB_ALPHA;
            break;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), format.bitDepth, colourType,
                 format.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_16 transparentColour{};
    if (format.kind == PngKind::Palette) {
        for (const Colour& c : palette) {
            entries.push_back(png_color{static_cast<png_byte>(c[0] >> 8),
                                        static_cast<png_byte>(c[1] >> 8),
                                        static_cast<png_byte>(c[2] >> 8)});
            alphas.push_back(static_cast<png_byte>(c[3] >> 8));
        }
        png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
        if (std::any_of(alphas.begin(), alphas.end(), [](png_byte a) { return a != 255; })) {
            png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
        }
    }
    if ((format.kind == PngKind::GreyTrns || format.kind == PngKind::RgbTrns) && transparent) {
        const int shift = 16 - format.bitDepth;
        transparentColour.gray = static_cast<png_uint_16>((*transparent)[0] >> shift);
        transparentColour.red = static_cast<png_uint_16>((*transparent)[0] >> shift);
        transparentColour.green = static_cast<png_uint_16>((*transparent)[1] >> shift);
        transparentColour.blue = static_cast<png_uint_16>((*transparent)[2] >> shift);
        png_set_tRNS(png, info, nullptr, 0, &transparentColour);
    }
    png_write_info(png, info);
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}
