// Canvases: a frame with an optional sunken edge around a drawable area that
// shows a persistent picture.

#include "platform/canvas.h"

#include <QFrame>
#include <QRegion>
#include <algorithm>

#include "platform/canvas_area.h"
#include "platform/event_queue.h"
#include "platform/gadgets.h"
#include "platform/picture_image.h"
#include "platform/pictures.h"
#include "platform/qt_access.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace {

constexpr int BorderWidth = 2;  // the sunken edge on each side

QSize drawableSizeOf(int width, int height, int flags) {
    const int inset = (flags & CanvasBorder) != 0 ? 2 * BorderWidth : 0;
    return {std::max(width - inset, 1), std::max(height - inset, 1)};
}

}  // namespace

Canvas::Canvas(int number, int window, int flags, QWidget* frame, QSize drawableSize)
    : Gadget(number, window, frame),
      picture_(createPicture(drawableSize.width(), drawableSize.height(),
                             ChangeReport::DifferentFromLastEnd)) {
    const int inset = (flags & CanvasBorder) != 0 ? BorderWidth : 0;
    area_ = new CanvasArea(number, window, flags, picture_, frame);
    area_->setGeometry(inset, inset, drawableSize.width(), drawableSize.height());
    // What a drawing changed is shown at once, before the drawing call
    // returns; only that goes to the window system.
    setDrawingEndedHandler(picture_, [area = area_](const std::vector<PictureArea>& changed) {
        if (area.isNull() || changed.empty()) {
            return;
        }
        QRegion region;
        for (const PictureArea& part : changed) {
            region += QRect(part.x, part.y, part.width, part.height);
        }
        area->repaint(region);
    });
}

Canvas::~Canvas() {
    delete area_.data();  // before the picture it shows
    freePicture(picture_);
}

QWidget* Canvas::inputWidget() const {
    return area_.data();
}

std::int32_t Canvas::attribute(int attribute) const {
    if (attribute == CanvasImageAttribute) {
        return static_cast<std::int32_t>(picture_);
    }
    // The other attributes describe the current event, and only if it is this canvas's own.
    const PlatformEvent& event = currentEvent();
    if (event.code != GadgetEvent || event.object != number() || !event.canvas) {
        return 0;
    }
    const CanvasEventData& data = *event.canvas;
    switch (attribute) {
        case PointerX:
            return data.pointerX;
        case PointerY:
            return data.pointerY;
        case ButtonsHeld:
            return data.buttons;
        case Modifiers:
            return data.modifiers;
        case WheelSteps:
            return data.wheelSteps;
        default:
            return 0;
    }
}

int createCanvas(int gadget, int x, int y, int width, int height, int flags) {
    QWidget* parent = gadgetParent();
    if (parent == nullptr || gadget < 0) {
        return 0;
    }
    auto* frame = new QFrame(parent);
    if ((flags & CanvasBorder) != 0) {
        frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);  // a 2-pixel sunken edge
    }
    frame->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    const QSize drawable = drawableSizeOf(width, height, flags);
    registerGadget(std::make_unique<Canvas>(gadget, gadgetParentWindow(), flags, frame, drawable));
    frame->show();
    return 1;
}

DrawingTarget canvasOutput(int gadget) {
    const Canvas* canvas = findGadgetOf<Canvas>(gadget);
    return canvas == nullptr ? 0 : canvas->picture();
}

QImage canvasPicture(int gadget) {
    return imageOfPicture(canvasOutput(gadget));
}
