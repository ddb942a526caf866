// The canvas gadget's record (internal to the services layer): its picture,
// owned by the drawing service, and the drawable area that shows it.
#pragma once

#include <QPointer>
#include <QSize>
#include <cstdint>

#include "platform/drawing.h"
#include "platform/gadget_registry.h"

class CanvasArea;

class Canvas final : public Gadget {
  public:
    // `frame` is the outer control; the drawable area of drawableSize is
    // created inside it, and a white picture of that size.
    Canvas(int number, int window, int flags, QWidget* frame, QSize drawableSize);
    ~Canvas() override;

    QWidget* inputWidget() const override;
    std::int32_t attribute(int attribute) const override;

    // 0 when the picture could not be made.
    DrawingTarget picture() const { return picture_; }

  private:
    DrawingTarget picture_ = 0;
    QPointer<CanvasArea> area_;
};
