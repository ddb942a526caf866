// The Open, Save and split-save commands over the screen image.
//
// A screen file is the 6912 bytes of the screen image, nothing else; it is
// recognised by its size alone. Split save writes the bitmap (6144 bytes) and
// the attributes (768 bytes) as two files in the current working directory.
// Every failure is reported in a message box; the program then goes on.
#pragma once

#include <string>

// Asks for a file with the open requester and loads it.
void openScreenFile();

// Replaces the screen image with the file at `path`, redraws both panes and
// makes `path` the current file. When the file is not exactly 6912 bytes or
// cannot be read in full, the image, the current file and the panes stay.
void loadScreenFile(const std::string& path);

// Writes the screen image over the current file.
void saveScreenFile();

// Writes "<name>.screen" and "<name>.attr", <name> being the file part of the
// current file's path. Both are attempted even when one fails.
void saveSplitFiles();
