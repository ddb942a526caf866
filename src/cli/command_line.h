// Reading the batch companion's command line into a request.
//
// The first argument names the command; options may come anywhere after it,
// and "--" makes every later argument an operand. "--help" or "--version"
// anywhere before "--" asks for that text and nothing else. A token that
// starts with "-" followed by a digit is an operand, so that a negative
// cell column is reported as out of range rather than as an option.
#pragma once

#include <string>
#include <vector>

enum class Command { Info, Optimize, Invert, Flip, Split, Join, Png, Extract, FromPng };

struct PngOptions {
    bool mono = false;
    int scale = 1;
    bool grid = false;
    // The highlighted cell; -1, -1 for none.
    int column = -1;
    int row = -1;
};

struct Request {
    Command command = Command::Info;
    // The input files in command-line order (join: the bitmap, then the attributes).
    std::vector<std::string> inputs;
    // -o; empty when not given.
    std::string output;
    bool inPlace = false;
    // -d of split, png, extract and from-png: the folder for the outputs;
    // empty for the current folder.
    std::string folder;
    // The cell that flip re-encodes.
    int column = 0;
    int row = 0;
    PngOptions png;
};

enum class Action { Run, ShowHelp, ShowVersion, UsageError };

struct CommandLine {
    Action action = Action::UsageError;
    // Meaningful when action is Run.
    Request request;
    // Why the command line cannot be run, when action is UsageError.
    std::string problem;
};

// `arguments` are the program's arguments without the program name.
CommandLine readCommandLine(const std::vector<std::string>& arguments);
