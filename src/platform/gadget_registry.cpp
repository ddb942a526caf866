// The gadget registry: every gadget's record under its number.

#include "platform/gadget_registry.h"

#include <QObject>
#include <QWidget>
#include <map>
#include <utility>

#include "platform/event_queue.h"
#include "platform/teardown.h"

namespace {

std::map<int, std::unique_ptr<Gadget>> gadgets;

// The window destroyed a gadget's control with itself: the record goes, and
// nothing may touch the control any more.
void controlDestroyed(int number, const QObject* control) {
    const auto it = gadgets.find(number);
    if (it == gadgets.end() || it->second->widget() != control) {
        return;
    }
    it->second->forgetWidget();
    removeGadget(number);
}

}  // namespace

Gadget::Gadget(int number, int window, QWidget* widget)
    : number_(number), window_(window), widget_(widget) {}

Gadget::~Gadget() {
    QObject::disconnect(destroyedConnection_);
    delete widget_;
}

void registerGadget(std::unique_ptr<Gadget> gadget) {
    const int number = gadget->number();
    removeGadget(number);
    QWidget* control = gadget->widget();
    gadget->setDestroyedConnection(QObject::connect(
        control, &QObject::destroyed, [number, control] { controlDestroyed(number, control); }));
    gadgets.emplace(number, std::move(gadget));
}

Gadget* findGadget(int number) {
    const auto it = gadgets.find(number);
    return it == gadgets.end() ? nullptr : it->second.get();
}

void forEachGadget(const std::function<void(Gadget&)>& visit) {
    for (auto& [number, gadget] : gadgets) {
        visit(*gadget);
    }
}

void removeGadget(int number) {
    const auto it = gadgets.find(number);
    if (it == gadgets.end()) {
        return;
    }
    // Out of the registry before the control dies, so that nothing its
    // destruction sets off can find a half-destroyed record.
    std::unique_ptr<Gadget> gadget = std::move(it->second);
    gadgets.erase(it);
    discardQueuedEventsOfGadget(number);
    gadget.reset();
}

void shutdownGadgets() {
    while (!gadgets.empty()) {
        removeGadget(gadgets.begin()->first);
    }
}
