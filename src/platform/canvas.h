// The canvas gadget's record (internal to the services layer): the picture,
// its drawing target and the drawable area that shows it.
#pragma once

#include <QImage>
#include <QPointer>
#include <cstdint>

#include "platform/drawing_targets.h"
#include "platform/gadget_registry.h"

class CanvasArea;

class Canvas final : public Gadget, public DrawingSurface {
  public:
    // `frame` is the outer control; the drawable area of drawableSize is
    // created inside it, with the picture, white.
    Canvas(int number, int window, int flags, QWidget* frame, QSize drawableSize);
    ~Canvas() override;

    QWidget* inputWidget() const override;
    std::int32_t attribute(int attribute) const override;

    // Null when the picture could not be made.
    QImage* picture() override;

    // Repaints the drawable area from the picture before returning.
    void drawingEnded() override;

    DrawingTarget target() const { return target_; }

  private:
    QImage picture_;  // declared before the area, which shows it
    QPointer<CanvasArea> area_;
    DrawingTarget target_ = 0;
};
