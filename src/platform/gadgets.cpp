// The operations common to every kind of gadget, through its record.

#include "platform/gadgets.h"

#include <QWidget>

#include "platform/gadget_registry.h"
#include "platform/qt_access.h"

int gadgetState(int gadget) {
    const Gadget* record = findGadget(gadget);
    return record == nullptr ? 0 : record->state();
}

std::int32_t gadgetAttribute(int gadget, int attribute) {
    const Gadget* record = findGadget(gadget);
    return record == nullptr ? 0 : record->attribute(attribute);
}

QWidget* gadgetWidget(int gadget) {
    const Gadget* record = findGadget(gadget);
    return record == nullptr ? nullptr : record->inputWidget();
}
