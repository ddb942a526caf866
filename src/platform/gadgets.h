// Canvas, checkbox and file-drop gadgets inside the window opened last.
//
// Gadgets are known by small numbers chosen by the caller. Positions are in
// the window's client coordinates below the menu bar.
#pragma once

#include <cstdint>
#include <string>

#include "platform/drawing.h"

// Canvas flags.
constexpr int CanvasBorder = 1;       // sunken 2-pixel edge; drawable area 4 pixels smaller
constexpr int CanvasClipPointer = 2;  // pointer confined while a button pressed on it is held
constexpr int CanvasKeyboard = 4;     // takes the keyboard focus: Tab order, and when clicked
constexpr int CanvasFocusFrame = 8;   // a dotted frame 2 pixels inside the edge while focused

// Canvas event types, as eventType() gives them for a canvas GadgetEvent.
constexpr int MouseEnter = 0x10001;
constexpr int MouseLeave = 0x10002;
constexpr int MouseMove = 0x10003;
constexpr int LeftButtonDown = 0x10004;
constexpr int LeftButtonUp = 0x10005;
constexpr int RightButtonDown = 0x10006;
constexpr int RightButtonUp = 0x10007;
constexpr int MiddleButtonDown = 0x10008;
constexpr int MiddleButtonUp = 0x10009;
constexpr int WheelTurn = 0x1000A;
constexpr int FocusGained = 14000;
constexpr int FocusLost = 14001;
constexpr int LeftClick = 0;
constexpr int RightClick = 1;
constexpr int LeftDoubleClick = 2;
constexpr int RightDoubleClick = 3;

// Canvas attributes for gadgetAttribute(). The numbers between and after
// them (5, 7, 9 and up) name nothing and give 0.
constexpr int CanvasImageAttribute = 1;  // the picture's drawing target
constexpr int PointerX = 2;
constexpr int PointerY = 3;
constexpr int ButtonsHeld = 4;
constexpr int Modifiers = 6;
constexpr int WheelSteps = 8;

// Drop formats and actions.
constexpr int DropFormatFiles = 15;
constexpr int DropActionCopy = 1;

// A canvas keeps a persistent picture of its drawable size, white at first,
// and shows it on every repaint. Nonzero on success.
int createCanvas(int gadget, int x, int y, int width, int height, int flags);

// The drawing target of a canvas's picture; 0 if the gadget is not a canvas
// or its picture could not be made.
DrawingTarget canvasOutput(int gadget);

// A native check box with its label, unchecked at first. Nonzero on success.
int createCheckBox(int gadget, int x, int y, int width, int height, const std::string& label);

// Checked 1, unchecked 0, indeterminate -1; 0 for a gadget without a state.
int gadgetState(int gadget);

// The attribute's value; the pointer attributes only for the current event's
// own canvas, 0 whenever an attribute does not apply.
std::int32_t gadgetAttribute(int gadget, int attribute);

// Lets files be dropped on the gadget with the given actions (0 removes the format).
void acceptDropOnGadget(int gadget, int format, int actions);

// The dropped files of the current event, full paths joined by "\n"; "" outside a drop.
std::string droppedFiles();
