// Numbered off-screen pictures that the drawing service draws on, for work
// without a window (batch export, measurements). They need no initServices()
// and no window system, and live until freeImage(); shutdownServices()
// leaves them alone.
#pragma once

#include "platform/drawing.h"
#include "platform/pictures.h"

// Creates image `number` of width x height pixels, all white, replacing an
// image of that number. Nonzero on success; 0 for a size below 1 or too large
// to hold (the old image under that number is then gone as well).
int createImage(int number, int width, int height);

// The drawing target of the image; 0 if there is no such image.
DrawingTarget imageOutput(int number);

// The image's pixels, 0xFFRRGGBB, for callers that encode or compare them;
// empty (null pixels) if there is no such image.
PictureView imagePixels(int number);

// The colour of one pixel; 0 outside the image or if there is no such image.
ColourValue imagePixel(int number, int x, int y);

// Does nothing for a number not in use. A drawing in progress on it ends.
void freeImage(int number);
