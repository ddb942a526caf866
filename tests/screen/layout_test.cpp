#include "screen/layout.h"

#include <gtest/gtest.h>

TEST(BitmapOffset, EveryCellRowAgreesWithThePixelAddress) {
    for (int cy = 0; cy < CellRows; ++cy)
        for (int cx = 0; cx < CellColumns; ++cx)
            for (int r = 0; r < 8; ++r)
                ASSERT_EQ(cellRowOffset(cx, cy, r), bitmapOffset(8 * cx, 8 * cy + r))
                    << cx << "," << cy << "," << r;
}
