// The drawable area of a canvas (internal to the services layer): it shows
// the canvas's picture and turns pointer, wheel and focus activity into
// canvas events on the event queue.
#pragma once

#include <QPoint>
#include <QWidget>

#include "platform/drawing.h"
#include "platform/event_queue.h"

class CanvasArea final : public QWidget {
  public:
    // `picture` is the canvas's picture, which outlives this widget; a
    // picture that could not be made (0) shows white.
    CanvasArea(int gadget, int window, int flags, DrawingTarget picture, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // A press of one button, the second press of a double click included.
    void buttonPressed(const QMouseEvent& event, bool secondOfDoubleClick);

    // The event's data record. The position is the event's own, in pixels of
    // this area, kept inside it while the pointer is confined.
    CanvasEventData pointerData(const QMouseEvent& event);

    // While confined, a pointer that got outside is put back where the
    // platform lets a program move it (on X11; offscreen there is no pointer).
    void keepPointerInside(const QMouseEvent& event) const;

    void raise(int type, const CanvasEventData& data) const;

    int gadget_;
    int window_;
    int flags_;
    DrawingTarget picture_;
    bool tracked_ = false;   // the pointer has moved over the area since it entered
    bool confined_ = false;  // a button pressed here is held, with CanvasClipPointer
    CanvasEventData last_;   // data of the last pointer event, for those without a position
};
