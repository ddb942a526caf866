// Windows, menus, keyboard shortcuts and the event queue.
//
// Windows are known by small numbers chosen by the caller. Input reaches the
// program as event codes fetched one at a time by waitEvent().
#pragma once

#include <cstdint>
#include <string>

// Event codes returned by waitEvent().
constexpr int GadgetEvent = 13100;
constexpr int MenuEvent = 13101;
constexpr int GadgetDropEvent = 13106;
constexpr int CloseWindowEvent = 16;

// Window flags; the program passes their union, 0xCC0000.
constexpr std::uint32_t WindowTitleBar = 0xC00000;
constexpr std::uint32_t WindowSystemMenu = 0x80000;
constexpr std::uint32_t WindowSizable = 0x40000;

// Shortcut codes: bits 0-15 a virtual-key code ('A'..'Z' for letters) plus modifiers.
constexpr std::uint32_t ShortcutShift = 0x10000;
constexpr std::uint32_t ShortcutControl = 0x20000;
constexpr std::uint32_t ShortcutAlt = 0x40000;

using NativeWindow = std::uintptr_t;

// Opens window `number` with its outer top-left corner at (x, y) and a client
// area of width x height (without menu bar), shown at once. Gadgets created
// afterwards go into it. Nonzero when open, 0 when not.
int openWindow(int number, int x, int y, int width, int height, const std::string& title,
               std::uint32_t flags);

// The native window of an open window, 0 if there is none.
NativeWindow nativeWindowHandle(int number);

// Creates an empty menu bar for a native window; nonzero on success. Its
// height is taken from the window's client area.
int createMenuBar(int menuNumber, NativeWindow window);

// Adds a drop-down menu and makes it the current one.
void addMenuTitle(const std::string& title);

// Adds a command item to the current drop-down. Text after a TAB is shown
// right-aligned as the shortcut hint; it is display only.
void addMenuItem(int itemId, const std::string& label);

void addMenuSeparator();

// Binds a chord to window `window`: pressing it while the window is active
// gives a MenuEvent with item `eventNumber`. Rebinding a chord replaces its
// event number. Does nothing for a window that is not open.
void bindShortcut(int window, std::uint32_t shortcut, int eventNumber);

// Does nothing for a window that is not open.
void setWindowTitle(int window, const std::string& text);

// Blocks in the native event wait until an event is there and returns its
// code. The event's details stay readable through the accessors until the
// next call.
int waitEvent();

// Object number of the current event: the item of a MenuEvent, the gadget of
// a GadgetEvent or GadgetDropEvent (both accessors read the same field).
int eventMenuItem();
int eventGadgetNumber();

// Type of the current event: -1 for none (a MenuEvent), 0 for a checkbox
// click, a canvas event type for a canvas event.
int eventType();
