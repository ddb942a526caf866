// Start-up, the event loop and shut-down of the program.
#pragma once

#include <string>
#include <vector>

// The code of the event being served; Quit sets it to CloseWindowEvent.
extern int CurrentEventCode;

// Starts the services, allocates the zero-filled screen image, empties the
// current file name, builds the main window, lets files be dropped on both
// panes and binds Ctrl+O, Ctrl+S and Ctrl+Q. On a failure it prints one line
// on standard error, undoes what it did and returns false.
bool startProgram();

// Loads the file that the command line named, exactly as a drop of that one
// file would (the same size test, refusals and redraw); a file:// URL is taken
// as the local file it names. Called after startProgram() and before the loop.
void loadStartFile(const std::string& argument);

// Waits for one event and serves it. False once the event code is
// CloseWindowEvent (the close box or Quit): the loop is over.
bool runLoopTurn();

// Frees the screen image and shuts the services down.
void endProgram();

// The whole run, `arguments` being the command line without the program's
// name (see app/arguments.h): 0 after the window was closed or Quit, 1 when
// start-up failed; for --help, --version or a wrong command line the answer
// of answerWithoutWindow(), without starting anything.
int runProgram(const std::vector<std::string>& arguments);
