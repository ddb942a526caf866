#include "files/png_file.h"

#include <png.h>
#include <zlib.h>

#include <cstddef>
#include <cstdio>
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

namespace {

constexpr std::size_t SignatureSize = 8;
constexpr int Rgba16Bytes = 8;

// The file's bytes and libpng's first error message; plain data, as it is
// reached from libpng's callbacks across its long jumps.
struct ReadSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
    char message[256];
};

void readBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
    if (length > source->size - source->position) {
        png_error(png, "the file ends early");
    }
    std::memcpy(out, source->data + source->position, length);
    source->position += length;
}

void keepError(png_structp png, png_const_charp message) {
    auto* source = static_cast<ReadSource*>(png_get_error_ptr(png));
    if (source->message[0] == '\0') {
        std::snprintf(source->message, sizeof source->message, "%s", message);
    }
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// libpng's read and info structures, destroyed with their owner.
class PngReader {
  public:
    explicit PngReader(ReadSource& source) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, keepError, ignoreWarning);
        if (png_ != nullptr) {
            info_ = png_create_info_struct(png_);
            png_set_read_fn(png_, &source, readBytes);
        }
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool ready() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// The steps below each return to their own setjmp() when libpng fails; no
// object with a destructor is made between a setjmp() and a libpng call.

bool readHeader(png_structp png, png_infop info, int& width, int& height, bool& interlaced) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    // Only the chunks that make the pixels are read.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    width = static_cast<int>(png_get_image_width(png, info));
    height = static_cast<int>(png_get_image_height(png, info));
    interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    return true;
}

// Every picture becomes 16-bit RGBA, which holds every sample exactly.
bool prepareRows(png_structp png, png_infop info, std::size_t& rowBytes) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_expand_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != 4 || png_get_bit_depth(png, info) != 16) {
        png_error(png, "unexpected sample format");
    }
    rowBytes = png_get_rowbytes(png, info);
    return true;
}

int sample16(const png_byte* sample) {
    return (sample[0] << 8) | sample[1];
}

// 16-bit RGBA, big-endian as libpng gives it, to 8-bit RGBA: colour rounded,
// alpha rounded down so that only 65535 gives 255.
void narrow(const png_byte* wide, int count, std::uint8_t* rgba) {
    const std::size_t samples = std::size_t{4} * static_cast<std::size_t>(count);
    for (std::size_t i = 0; i < samples; ++i) {
        const int value = sample16(wide + 2 * i);
        const bool alpha = i % 4 == 3;
        rgba[i] =
            static_cast<std::uint8_t>(alpha ? value * 255 / 65535 : (value * 255 + 32767) / 65535);
    }
}

struct Pass {
    int firstRow;
    int rowStep;
    int firstColumn;
    int columnStep;
};

Pass passOf(bool interlaced, int pass) {
    if (!interlaced) {
        return Pass{0, 1, 0, 1};
    }
    return Pass{PNG_PASS_START_ROW(pass), 1 << PNG_PASS_ROW_SHIFT(pass), PNG_PASS_START_COL(pass),
                1 << PNG_PASS_COL_SHIFT(pass)};
}

// 0 when the pass holds no pixel: libpng skips such a pass.
int passCount(int size, int first, int step) {
    return size > first ? (size - first + step - 1) / step : 0;
}

bool readPixels(png_structp png, int width, int height, bool interlaced, png_byte* row,
                std::uint8_t* rgba, const PngPixelSink& sink) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    const int passes = interlaced ? PNG_INTERLACE_ADAM7_PASSES : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const Pass p = passOf(interlaced, pass);
        const int rows = passCount(height, p.firstRow, p.rowStep);
        const int columns = passCount(width, p.firstColumn, p.columnStep);
        if (rows == 0 || columns == 0) {
            continue;
        }
        for (int r = 0; r < rows; ++r) {
            png_read_row(png, row, nullptr);
            narrow(row, columns, rgba);
            const PngPixelRun run{p.firstRow + r * p.rowStep, p.firstColumn, p.columnStep, columns,
                                  rgba};
            if (!sink(run)) {
                return true;
            }
        }
    }
    return true;
}

std::string damaged(const ReadSource& source) {
    return std::string("damaged PNG picture: ") +
           (source.message[0] != '\0' ? source.message : "libpng failed");
}

}  // namespace

std::string decodePng(const std::uint8_t* data, std::size_t size, const PngSizeCheck& checkSize,
                      const PngPixelSink& sink) {
    if (size < SignatureSize || png_sig_cmp(data, 0, SignatureSize) != 0) {
        return "not a PNG picture";
    }
    ReadSource source{data, size, 0, {}};
    PngReader reader(source);
    if (!reader.ready()) {
        return "the picture cannot be decoded: out of memory";
    }
    int width = 0;
    int height = 0;
    bool interlaced = false;
    if (!readHeader(reader.png(), reader.info(), width, height, interlaced)) {
        return damaged(source);
    }
    std::string refusal = checkSize(width, height);
    if (!refusal.empty()) {
        return refusal;
    }
    std::size_t rowBytes = 0;
    if (!prepareRows(reader.png(), reader.info(), rowBytes) ||
        rowBytes < static_cast<std::size_t>(width) * Rgba16Bytes) {
        return damaged(source);
    }
    std::vector<png_byte> row(rowBytes);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * 4);
    if (!readPixels(reader.png(), width, height, interlaced, row.data(), rgba.data(), sink)) {
        return damaged(source);
    }
    return {};
}
