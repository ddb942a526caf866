// Modal message boxes and the open-file requester.
#pragma once

#include <string>

constexpr int MessageBoxOk = 0;  // one OK button, no icon

// Shows a modal box with the title and text and one OK button, whatever the
// flags; returns the button pressed (1 for OK).
int messageBox(const std::string& title, const std::string& text, int flags);

// A modal open-file dialog. `pattern` alternates descriptions and filters
// separated by "|"; a filter holds masks separated by ";" ("*.*" means every
// file). Entry `patternIndex` (from 0) is preselected. `defaultFile` is split
// into the starting folder and the preset name. Returns the chosen file's
// full path, or "" when cancelled. The current directory is never changed.
std::string openFileRequester(const std::string& title, const std::string& defaultFile,
                              const std::string& pattern, int patternIndex);
