#include "cli/screen_summary.h"

#include <algorithm>
#include <array>
#include <bitset>

#include "screen/layout.h"
#include "screen/operations.h"

namespace {

// Optimize is run on a copy; a re-encoded cell is told by its first bitmap
// byte, which a flip always changes (no byte equals 255 minus itself).
int countOptimizeFlips(const std::uint8_t* image) {
    std::array<std::uint8_t, ScreenSize> optimized{};
    std::copy(image, image + ScreenSize, optimized.begin());
    optimizeScreen(optimized.data());
    int flips = 0;
    for (int cy = 0; cy < CellRows; ++cy) {
        for (int cx = 0; cx < CellColumns; ++cx) {
            const int offset = cellRowOffset(cx, cy, 0);
            flips += optimized[offset] != image[offset] ? 1 : 0;
        }
    }
    return flips;
}

}  // namespace

ScreenSummary summarizeScreen(const std::uint8_t* image) {
    ScreenSummary summary;
    std::bitset<256> seen;
    for (int offset = AttributeStart; offset < ScreenSize; ++offset) {
        const std::uint8_t attribute = image[offset];
        seen.set(attribute);
        summary.inkEqualsPaperCells += attributeInk(attribute) == attributePaper(attribute);
        summary.brightCells += attributeBright(attribute);
        summary.flashCells += attributeFlash(attribute);
    }
    summary.distinctAttributes = static_cast<int>(seen.count());
    summary.optimizeFlips = countOptimizeFlips(image);
    return summary;
}
