// The window program's command line.
//
// The first argument that is not an option names a screen file to load once
// the window is up, exactly as a drop of that one file would; later ones are
// ignored, as the files after the first of a drop are. "--help" or
// "--version" anywhere before "--" asks for that text and nothing else, and
// no window is opened. "--" makes every later argument a file name; a lone
// "-" is a file name too. Any other argument starting with "-" is an error.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class StartAction { OpenWindow, ShowHelp, ShowVersion, UsageError };

struct StartArguments {
    StartAction action = StartAction::OpenWindow;
    // The file (or file:// URL) to load, exactly as given; none without one.
    std::optional<std::string> file;
    // Why the command line is wrong, when action is UsageError.
    std::string problem;
};

// `arguments` are the program's arguments without the program name.
StartArguments readStartArguments(const std::vector<std::string>& arguments);

// Prints the help text or the version line on standard output, or the
// problem and a pointer to --help on standard error, and returns the exit
// code for it: 0 for help and version, 2 for a usage error.
int answerWithoutWindow(const StartArguments& arguments);
