// A drawing-service picture seen as a QImage (internal to the services layer).
#pragma once

#include <QImage>

#include "platform/drawing.h"

// A read-only QImage over the picture's own memory, no copy made; null for a
// target that is 0 or no longer exists. It must not outlive the picture, and
// shows whatever the picture holds when it is painted.
QImage imageOfPicture(DrawingTarget picture);
