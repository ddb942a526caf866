// The figures `info` reports about a screen image.
#pragma once

#include <cstdint>

struct ScreenSummary {
    // Different attribute bytes among the 768 cells, flash included.
    int distinctAttributes = 0;
    // Cells whose ink and paper are the same colour index: a single colour.
    int inkEqualsPaperCells = 0;
    int brightCells = 0;
    int flashCells = 0;
    // Cells that Optimize would re-encode in this image.
    int optimizeFlips = 0;
};

ScreenSummary summarizeScreen(const std::uint8_t* image);
