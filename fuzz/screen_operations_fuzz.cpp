// The screen operations on arbitrary images: Invert twice and a cell flipped
// twice give the image back, and Invert, the flip and Optimize never change
// the colour any pixel shows, nor a flash or bright bit.
//
// Input: the last two bytes choose the cell to flip; the rest, repeated as
// often as needed, fills the 6912-byte image, so that a 6914-byte input is
// any image and any cell, and a short one a patterned image.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "contract.h"
#include "screen/layout.h"
#include "screen/operations.h"

namespace {

using Image = std::array<std::uint8_t, ScreenSize>;

// One colour per pixel, row by row, packed as red, green and blue bytes.
// Compared with one memcmp(), not pixel by pixel: libFuzzer traces every
// comparison the code makes, and one per pixel would slow the run many times.
struct Colours {
    std::array<std::uint32_t, ScreenWidth * ScreenHeight> pixels;
    friend bool operator==(const Colours& a, const Colours& b) {
        return std::memcmp(a.pixels.data(), b.pixels.data(), sizeof a.pixels) == 0;
    }
};

std::uint32_t packed(Rgb colour) {
    return std::uint32_t{colour.red} << 16 | std::uint32_t{colour.green} << 8 | colour.blue;
}

Image imageFrom(const std::vector<std::uint8_t>& bytes) {
    Image image{};
    if (!bytes.empty()) {
        for (std::size_t i = 0; i < image.size(); ++i) {
            image[i] = bytes[i % bytes.size()];
        }
    }
    return image;
}

// The colour every pixel shows: ink where its bit is set, paper where it is
// clear, both from the attribute of its cell. This is the checker, not the
// code under test, so it is left without coverage tracing, for speed.
__attribute__((no_sanitize("coverage"))) const Colours& pixelColours(const Image& image,
                                                                     Colours& colours) {
    for (int cy = 0; cy < CellRows; ++cy) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            const std::uint8_t attribute = image[attributeOffset(cx, cy)];
            const std::uint32_t ink = packed(inkColour(attribute));
            const std::uint32_t paper = packed(paperColour(attribute));
            for (int r = 0; r < 8; ++r) {
                const std::uint32_t bits = image[cellRowOffset(cx, cy, r)];
                const std::size_t first =
                    static_cast<std::size_t>((8 * cy + r) * ScreenWidth + 8 * cx);
                for (int x = 0; x < 8; ++x) {
                    const std::uint32_t set = (bits >> (7 - x)) & 1;
                    colours.pixels[first + static_cast<std::size_t>(x)] =
                        set * ink + (1 - set) * paper;
                }
            }
        }
    }
    return colours;
}

// The colours of the image as changed by an operation.
const Colours& coloursAfter(const Image& image) {
    static Colours colours;
    return pixelColours(image, colours);
}

bool sameFlashAndBright(const Image& before, const Image& after) {
    for (int offset = AttributeStart; offset < ScreenSize; ++offset) {
        if ((before[offset] & 0xC0) != (after[offset] & 0xC0)) {
            return false;
        }
    }
    return true;
}

// Whether the bytes of cell (cx, cy), bitmap rows and attribute, are the same.
bool sameCell(const Image& before, const Image& after, int cx, int cy) {
    for (int r = 0; r < 8; ++r) {
        if (before[cellRowOffset(cx, cy, r)] != after[cellRowOffset(cx, cy, r)]) {
            return false;
        }
    }
    return before[attributeOffset(cx, cy)] == after[attributeOffset(cx, cy)];
}

void checkInvert(const Image& original, const Colours& colours) {
    Image image = original;
    invertScreen(image.data());
    require(coloursAfter(image) == colours, "Invert keeps the colour of every pixel");
    require(sameFlashAndBright(original, image), "Invert keeps flash and bright");
    invertScreen(image.data());
    require(image == original, "Invert twice gives the image back");
}

void checkFlip(const Image& original, const Colours& colours, int cx, int cy) {
    Image image = original;
    flipCell(image.data(), cx, cy);
    require(coloursAfter(image) == colours, "a flip keeps the colour of every pixel");
    require(sameFlashAndBright(original, image), "a flip keeps flash and bright");
    for (int row = 0; row < CellRows; ++row) {
        for (int column = 0; column < CellColumns; ++column) {
            if (column != cx || row != cy) {
                require(sameCell(original, image, column, row), "a flip changes only its cell");
            }
        }
    }
    flipCell(image.data(), cx, cy);
    require(image == original, "a cell flipped twice gives the image back");
}

void checkOptimize(const Image& original, const Colours& colours) {
    Image image = original;
    optimizeScreen(image.data());
    require(coloursAfter(image) == colours, "Optimize keeps the colour of every pixel");
    require(sameFlashAndBright(original, image), "Optimize keeps flash and bright");
    for (int row = 0; row < CellRows; ++row) {
        require(sameCell(original, image, 0, row), "Optimize never flips column 0");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int cx = input.ConsumeIntegralInRange(0, CellColumns - 1);
    const int cy = input.ConsumeIntegralInRange(0, CellRows - 1);
    const Image original = imageFrom(input.ConsumeRemainingBytes<std::uint8_t>());
    static Colours colours;
    pixelColours(original, colours);

    checkInvert(original, colours);
    checkFlip(original, colours, cx, cy);
    checkOptimize(original, colours);
    return 0;
}
