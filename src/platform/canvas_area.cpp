#include "platform/canvas_area.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "platform/gadgets.h"
#include "platform/picture_image.h"
#include "platform/window.h"

namespace {

constexpr int WheelStep = 120;  // raw wheel delta of one notch

int buttonBits(Qt::MouseButtons buttons) {
    return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) |
           (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

int modifierBits(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 4 : 0);
}

// The pixel a position lies in; positions may have fractions on scaled screens.
QPoint pixelAt(QPointF position) {
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

QPoint clampedTo(const QRect& area, QPoint point) {
    return {std::clamp(point.x(), area.left(), area.right()),
            std::clamp(point.y(), area.top(), area.bottom())};
}

bool platformMovesPointer() {
    static const bool moves = QGuiApplication::platformName() == QLatin1String("xcb");
    return moves;
}

}  // namespace

CanvasArea::CanvasArea(int gadget, int window, int flags, DrawingTarget picture, QWidget* parent)
    : QWidget(parent), gadget_(gadget), window_(window), flags_(flags), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers every pixel
    setMouseTracking(true);                 // movements without a button held too
    setFocusPolicy((flags & CanvasKeyboard) != 0 ? Qt::StrongFocus : Qt::NoFocus);
}

void CanvasArea::paintEvent(QPaintEvent* event) {
    // Part by part: the two cells a pointer movement changed may lie at
    // opposite corners, and the rectangle around both would be everything.
    QPainter painter(this);
    const QImage picture = imageOfPicture(picture_);
    for (const QRect& part : event->region()) {
        if (picture.isNull()) {
            painter.fillRect(part, Qt::white);
        } else {
            painter.drawImage(part, picture, part);
        }
    }
    if ((flags_ & CanvasFocusFrame) != 0 && hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void CanvasArea::mouseMoveEvent(QMouseEvent* event) {
    const CanvasEventData data = pointerData(*event);
    if (confined_) {
        keepPointerInside(*event);
    }
    // The first movement after the pointer came in announces it, and only that.
    raise(tracked_ ? MouseMove : MouseEnter, data);
    tracked_ = true;
}

void CanvasArea::mousePressEvent(QMouseEvent* event) {
    buttonPressed(*event, false);
}

// Qt gives the second press of a double click as this event instead of a press.
void CanvasArea::mouseDoubleClickEvent(QMouseEvent* event) {
    buttonPressed(*event, true);
}

void CanvasArea::buttonPressed(const QMouseEvent& event, bool secondOfDoubleClick) {
    // Qt keeps sending the pointer here while a button pressed here is held;
    // confinement starts with the first button held.
    if (event.buttons() == event.button() && (flags_ & CanvasClipPointer) != 0) {
        confined_ = true;
    }
    const CanvasEventData data = pointerData(event);
    switch (event.button()) {
        case Qt::LeftButton:
            raise(LeftButtonDown, data);
            raise(secondOfDoubleClick ? LeftDoubleClick : LeftClick, data);
            break;
        case Qt::RightButton:
            raise(RightButtonDown, data);
            raise(secondOfDoubleClick ? RightDoubleClick : RightClick, data);
            break;
        case Qt::MiddleButton:
            raise(MiddleButtonDown, data);
            break;
        default:
            return;
    }
    if ((flags_ & CanvasKeyboard) != 0) {
        setFocus(Qt::MouseFocusReason);
    }
}

void CanvasArea::mouseReleaseEvent(QMouseEvent* event) {
    const CanvasEventData data = pointerData(*event);
    if (event->buttons() == Qt::NoButton) {
        confined_ = false;
    }
    switch (event->button()) {
        case Qt::LeftButton:
            raise(LeftButtonUp, data);
            break;
        case Qt::RightButton:
            raise(RightButtonUp, data);
            break;
        case Qt::MiddleButton:
            raise(MiddleButtonUp, data);
            break;
        default:
            break;
    }
}

void CanvasArea::leaveEvent(QEvent* /*event*/) {
    if (tracked_) {
        tracked_ = false;
        raise(MouseLeave, last_);
    }
}

void CanvasArea::wheelEvent(QWheelEvent* event) {
    CanvasEventData data = last_;
    data.pointerX = pixelAt(event->position()).x();
    data.pointerY = pixelAt(event->position()).y();
    data.buttons = buttonBits(event->buttons());
    data.modifiers = modifierBits(event->modifiers());
    data.wheelSteps = event->angleDelta().y() / WheelStep;
    raise(WheelTurn, data);
}

void CanvasArea::focusInEvent(QFocusEvent* /*event*/) {
    raise(FocusGained, last_);
    update();
}

void CanvasArea::focusOutEvent(QFocusEvent* /*event*/) {
    raise(FocusLost, last_);
    update();
}

CanvasEventData CanvasArea::pointerData(const QMouseEvent& event) {
    QPoint position = pixelAt(event.position());
    if (confined_) {
        position = clampedTo(rect(), position);
    }
    CanvasEventData data;
    data.pointerX = position.x();
    data.pointerY = position.y();
    data.buttons = buttonBits(event.buttons());
    data.modifiers = modifierBits(event.modifiers());
    last_ = data;
    return data;
}

void CanvasArea::keepPointerInside(const QMouseEvent& event) const {
    const QPoint position = pixelAt(event.position());
    if (platformMovesPointer() && !rect().contains(position)) {
        QCursor::setPos(mapToGlobal(clampedTo(rect(), position)));
    }
}

void CanvasArea::raise(int type, const CanvasEventData& data) const {
    PlatformEvent event;
    event.code = GadgetEvent;
    event.object = gadget_;
    event.window = window_;
    event.type = type;
    event.canvas = data;
    queueEvent(std::move(event));
}
