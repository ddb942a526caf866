// The pictures the drawing service can draw on (internal to the services
// layer): canvases and off-screen images register theirs here and get the
// DrawingTarget number that names it.
#pragma once

#include "platform/drawing.h"

class QImage;

// A picture owner. The picture is 32 bits per pixel, 0xFFRRGGBB
// (QImage::Format_RGB32).
class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    // Null when there is no picture to draw on.
    virtual QImage* picture() = 0;

    // A drawing on the picture has ended: a canvas shows the new picture at
    // once, an off-screen image does nothing.
    virtual void drawingEnded() {}
};

// Registers a surface and returns its target, a nonzero number never given
// out twice. The surface must call removeDrawingTarget before it goes away.
DrawingTarget addDrawingTarget(DrawingSurface& surface);

// Forgets the target. A drawing in progress on it ends at once, without
// drawingEnded(), so that no primitive can write into a picture that is gone.
void removeDrawingTarget(DrawingTarget target);

// Null if the target is 0 or not registered.
DrawingSurface* findDrawingSurface(DrawingTarget target);

// What the drawing module does when a target is removed (defined there).
void abandonDrawingOn(DrawingTarget target);
