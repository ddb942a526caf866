// Set-up and tear-down of the whole services layer.
#pragma once

// Must come before any other service. Creates the GUI application without
// handing it the process's command line (environment settings such as
// QT_QPA_PLATFORM still apply). Returns false when no GUI can be started
// (for instance no display), in which case no window service works.
bool initServices();

// Closes every open file, ends drop support, closes every window with its
// gadgets, menus, shortcuts and queued events, and releases the drawing state.
// Returns false when a file still open could not be written out completely.
bool shutdownServices();
