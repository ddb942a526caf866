// PNG files as bytes in memory, through libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A picture as 8-bit red, green and blue bytes, three a pixel, row by row
// from the top, with no padding: `bytes` holds width x height x 3 of them.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// The PNG file of the image: 8-bit RGB, no alpha, not interlaced. Empty when
// the image is empty or inconsistent, or libpng fails.
std::vector<std::uint8_t> encodePng(const RgbImage& image);

// Pixels of one picture row as decodePng() hands them on: `count` pixels of
// four bytes (red, green, blue, alpha) at `rgba`, the first in column
// `firstX`, each next one `stepX` columns further (1, except in the passes
// of an interlaced picture).
struct PngPixelRun {
    int y = 0;
    int firstX = 0;
    int stepX = 1;
    int count = 0;
    const std::uint8_t* rgba = nullptr;
};

// Called with the picture's width and height once its header is read; a
// reason it returns refuses the picture before any pixel is decoded.
using PngSizeCheck = std::function<std::string(int width, int height)>;
// Takes each run of decoded pixels; false stops the decoding.
using PngPixelSink = std::function<bool(const PngPixelRun&)>;

// Decodes the PNG file in memory, whatever its colour type, bit depth and
// interlacing, to 8-bit RGBA with the samples the file holds: no gamma or
// colour-space conversion; palette and grey become RGB, a tRNS chunk alpha
// (255 elsewhere); samples of 1, 2 and 4 bits are scaled to 8 (a 2-bit 1 is
// 85), 16-bit samples are rounded to the nearest 8-bit value, except alpha,
// which is 255 only when fully opaque (a 16-bit alpha of 65534 gives 254).
// Every pixel reaches `sink` once, a row at a time in the file's order (an
// interlaced picture in its seven passes), so the memory taken is that of a
// row whatever the picture's size. Chunks other than IHDR, PLTE, tRNS, IDAT
// and IEND are skipped unread.
// Empty when the picture was decoded, or the sink stopped it; else why not:
// "not a PNG picture", the size check's reason, or "damaged PNG picture: "
// and libpng's message.
std::string decodePng(const std::uint8_t* data, std::size_t size, const PngSizeCheck& checkSize,
                      const PngPixelSink& sink);
