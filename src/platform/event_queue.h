// The layer's event queue and the current event (internal to the services layer).
//
// Every handler of native activity appends events here; waitEvent() serves
// them oldest first. One thread only: no locking.
#pragma once

#include <optional>
#include <string>

// What a canvas event carries: pointer position in drawable-area pixels,
// buttons held (left 1, right 2, middle 4), modifiers (Shift 1, Alt 2,
// Control 4) and wheel steps.
struct CanvasEventData {
    int pointerX = 0;
    int pointerY = 0;
    int buttons = 0;
    int modifiers = 0;
    int wheelSteps = 0;
};

// What a drop carries: the accepted format, the effect granted, the pointer
// position in the target's coordinates and the dropped files, "\n"-joined.
struct DropRecord {
    int format = 0;
    int effect = 0;
    int x = 0;
    int y = 0;
    std::string files;
};

struct PlatformEvent {
    int code = 0;
    int object = 0;  // menu item or gadget number
    int window = 0;
    int type = -1;  // -1 when the event carries none
    std::optional<CanvasEventData> canvas;
    std::optional<DropRecord> drop;
};

enum class Collapse { IfSameAsNewest, Never };

// Appends an event. With Collapse::IfSameAsNewest an event whose code, object,
// window and type equal those of the newest queued entry is merged into it;
// the entry then carries the newer canvas data, so a burst of pointer
// movements is served at the pointer's latest position.
void queueEvent(PlatformEvent event, Collapse collapse = Collapse::IfSameAsNewest);

bool eventQueueEmpty();

// Makes the oldest queued event current and returns its code. Queue must not be empty.
int takeNextEvent();

// Releases what the current event holds; it then carries no type and no data.
void clearCurrentEvent();

const PlatformEvent& currentEvent();

// Drops queued events of a window (window closed) or of a gadget (gadget closed).
void discardQueuedEventsOfWindow(int window);
void discardQueuedEventsOfGadget(int gadget);

// Empties the queue and clears the current event.
void resetEventQueue();
