// The program's one window: its numbers, menus, panes and checkboxes.
#pragma once

#include <cstdint>

#include "display/panes.h"

constexpr int MainWindow = 0;

// Menu item ids; each keyboard shortcut raises the item it is bound to.
constexpr int OpenItem = 0;
constexpr int SaveItem = 1;
constexpr int QuitItem = 2;
constexpr int OptimizeItem = 3;
constexpr int InvertItem = 4;
constexpr int SaveSplitItem = 5;

// Gadget numbers: the two panes and the Grid box (0, 1 and 3) are the
// renderer's, in display/panes.h; the Correct Mode box is the window's own.
constexpr int CorrectModeBox = 2;

// Ctrl+O, Ctrl+S and Ctrl+Q as shortcut codes.
constexpr std::uint32_t OpenShortcut = 0x2004F;
constexpr std::uint32_t SaveShortcut = 0x20053;
constexpr std::uint32_t QuitShortcut = 0x20051;

// Opens window 0 with its menu bar, the two 512 x 384 panes and the two
// checkboxes. When the window cannot be opened nothing else is created; when
// only the menu bar fails, the gadgets are still created.
void buildMainWindow();
