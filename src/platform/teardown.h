// Tear-down steps of the modules, run in order by shutdownServices()
// (internal to the services layer).
#pragma once

// Ends drop support on every gadget.
void shutdownDropSupport();

// Destroys every gadget with its picture and registry entry.
void shutdownGadgets();

// Destroys every window with its menu bar and shortcuts.
void shutdownWindows();
