// Arbitrary bytes as a picture for from-png: the decoder and the conversion
// never crash; a picture gives a screen or a reason, never both, and a
// screen has no flash and no cell whose ink equals its paper. The decoder
// is also run on its own, taking pictures of any size up to 64 x 64, so
// that mutated headers reach every colour type, depth and interlacing: each
// pixel comes once, inside the picture.
//
// Seeds: pictures written by the tests' PNG writer (tests/files/png_writing.h).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "contract.h"
#include "files/png_file.h"
#include "files/png_screen.h"
#include "screen/layout.h"

namespace {

constexpr int LargestSide = 64;

void checkDecoding(const std::uint8_t* data, std::size_t size) {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> visits;
    const std::string problem = decodePng(
        data, size,
        [&](int w, int h) -> std::string {
            if (w < 1 || h < 1 || w > LargestSide || h > LargestSide) {
                return "too large";
            }
            width = w;
            height = h;
            visits.assign(static_cast<std::size_t>(w) * h, 0);
            return {};
        },
        [&](const PngPixelRun& run) {
            require(run.y >= 0 && run.y < height && run.count > 0 && run.stepX > 0,
                    "a run lies in the picture's rows");
            for (int i = 0; i < run.count; ++i) {
                const int x = run.firstX + i * run.stepX;
                require(x >= 0 && x < width, "a pixel lies in the picture's columns");
                std::uint8_t& seen = visits[static_cast<std::size_t>(run.y) * width + x];
                require(seen == 0, "each pixel comes once");
                seen = 1;
            }
            return true;
        });
    if (problem.empty()) {
        for (std::uint8_t seen : visits) {
            require(seen == 1, "a decoded picture gives every pixel");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkDecoding(data, size);
    const PictureScreen screen = screenFromPng(data, size);
    if (!screen.problem.empty()) {
        for (std::uint8_t byte : screen.image) {
            require(byte == 0, "a refused picture gives no screen");
        }
        return 0;
    }
    for (int offset = AttributeStart; offset < ScreenSize; ++offset) {
        const std::uint8_t attribute = screen.image[offset];
        require(!attributeFlash(attribute), "nothing flashes");
        require(attributeInk(attribute) != attributePaper(attribute), "ink differs from paper");
    }
    return 0;
}
