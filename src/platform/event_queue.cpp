#include "platform/event_queue.h"

#include <deque>

#include "platform/window.h"

namespace {

std::deque<PlatformEvent> queue;
PlatformEvent current;

bool sameEvent(const PlatformEvent& a, const PlatformEvent& b) {
    return a.code == b.code && a.object == b.object && a.window == b.window && a.type == b.type;
}

bool isGadgetEventOf(const PlatformEvent& event, int gadget) {
    return (event.code == GadgetEvent || event.code == GadgetDropEvent) && event.object == gadget;
}

}  // namespace

void queueEvent(PlatformEvent event, Collapse collapse) {
    if (collapse == Collapse::IfSameAsNewest && !queue.empty() && sameEvent(queue.back(), event)) {
        if (event.canvas) {
            queue.back().canvas = event.canvas;
        }
        return;
    }
    queue.push_back(std::move(event));
}

bool eventQueueEmpty() {
    return queue.empty();
}

int takeNextEvent() {
    current = std::move(queue.front());
    queue.pop_front();
    return current.code;
}

void clearCurrentEvent() {
    current.type = -1;
    current.canvas.reset();
    current.drop.reset();
}

const PlatformEvent& currentEvent() {
    return current;
}

void discardQueuedEventsOfWindow(int window) {
    std::erase_if(queue, [window](const PlatformEvent& e) { return e.window == window; });
}

void discardQueuedEventsOfGadget(int gadget) {
    std::erase_if(queue, [gadget](const PlatformEvent& e) { return isGadgetEventOf(e, gadget); });
}

void resetEventQueue() {
    queue.clear();
    current = PlatformEvent{};
}
