// Start-up, the event loop and shut-down of the program.
#pragma once

// The code of the event being served; Quit sets it to CloseWindowEvent.
extern int CurrentEventCode;

// Starts the services, allocates the zero-filled screen image, empties the
// current file name, builds the main window, lets files be dropped on both
// panes and binds Ctrl+O, Ctrl+S and Ctrl+Q. On a failure it prints one line
// on standard error, undoes what it did and returns false.
bool startProgram();

// Waits for one event and serves it. False once the event code is
// CloseWindowEvent (the close box or Quit): the loop is over.
bool runLoopTurn();

// Frees the screen image and shuts the services down.
void endProgram();

// The whole run: 0 after the window was closed or Quit, 1 when start-up failed.
int runProgram();
