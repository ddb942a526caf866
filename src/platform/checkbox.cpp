// Checkboxes: native QCheckBoxes that report every toggle by the user.

#include <QCheckBox>
#include <algorithm>
#include <memory>

#include "platform/event_queue.h"
#include "platform/gadget_registry.h"
#include "platform/gadgets.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace {

constexpr int ClickNotification = 0;

// The whole rectangle of the gadget takes clicks, label and the space after
// it included, as a user of a desktop check box expects; Qt's own box takes
// them only on the box and the text.
class WholeAreaCheckBox final : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }
};

class CheckBox final : public Gadget {
  public:
    CheckBox(int number, int window, QCheckBox* box) : Gadget(number, window, box), box_(box) {}

    int state() const override {
        switch (box_->checkState()) {
            case Qt::Checked:
                return 1;
            case Qt::PartiallyChecked:
                return -1;
            default:
                return 0;
        }
    }

  private:
    QCheckBox* box_;  // the gadget's widget; the record goes when it does
};

// A click or the space bar toggles the box; like a menu command the event
// is never merged with another.
void reportClick(int gadget, int window) {
    PlatformEvent event;
    event.code = GadgetEvent;
    event.object = gadget;
    event.window = window;
    event.type = ClickNotification;
    queueEvent(std::move(event), Collapse::Never);
}

}  // namespace

int createCheckBox(int gadget, int x, int y, int width, int height, const std::string& label) {
    QWidget* parent = gadgetParent();
    if (parent == nullptr || gadget < 0) {
        return 0;
    }
    const int window = gadgetParentWindow();
    auto* box = new WholeAreaCheckBox(QString::fromLocal8Bit(label), parent);
    box->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    QObject::connect(box, &QCheckBox::clicked, box,
                     [gadget, window] { reportClick(gadget, window); });
    registerGadget(std::make_unique<CheckBox>(gadget, window, box));
    box->show();
    return 1;
}
