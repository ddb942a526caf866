// Checks that only the sanitizers can see: a write into a freed picture does
// not change anything a test could read, so in a default build these fail
// only by crashing. They carry the CTest label "sanitizer".

#include <gtest/gtest.h>

#include "platform/drawing.h"
#include "services_fixture.h"

namespace {

TEST_F(ServicesTest, SanitizerOnlyACanvasGoingAwayEndsTheDrawingOnItsPicture) {
    ASSERT_NE(ServicesTest::openProgramLayout(), nullptr);
    ASSERT_NE(startDrawing(canvasOutput(LeftPane)), 0);
    shutdownServices();
    drawBox(0, 0, 100, 100, rgb(1, 1, 1));  // would write into a freed picture
    stopDrawing();
    ASSERT_TRUE(initServices());
}

}  // namespace
