// Checks that only the sanitizers can see: a write into freed memory does
// not change anything a test could read, so in a default build these fail
// only by crashing. `make test PRESET=sanitize` runs them under
// AddressSanitizer, which reports such a write at once. They carry the CTest
// label "sanitizer" (ctest -L sanitizer).

#include <gtest/gtest.h>

#include "platform/drawing.h"
#include "platform/images.h"

namespace {

TEST(SanitizerOnly, PrimitivesAfterThePictureBeingDrawnOnWasFreedWriteNowhere) {
    ASSERT_NE(createImage(1, 4, 4), 0);
    ASSERT_NE(startDrawing(imageOutput(1)), 0);
    freeImage(1);
    // These would write into freed memory if the drawing had survived.
    drawBox(0, 0, 4, 4, rgb(1, 2, 3));
    drawLine(0, 0, 3, 3, rgb(1, 2, 3));
    drawLine(0, 1, 3, 1, rgb(1, 2, 3));
    stopDrawing();
    SUCCEED();
}

}  // namespace
