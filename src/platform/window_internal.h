// What the window module offers the gadget module (internal to the services layer).
#pragma once

class QWidget;

// The client area, below the menu bar, of the window opened last: gadgets are
// created in it. Null when no window is open.
QWidget* gadgetParent();

// The number of that window; -1 when none is open.
int gadgetParentWindow();
