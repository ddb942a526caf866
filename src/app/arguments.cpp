#include "app/arguments.h"

#include <cstdio>

namespace {

constexpr const char* ProgramName = "scrfix";

constexpr const char* HelpText = R"(Usage: scrfix [FILE]
Views and fixes a ZX Spectrum screen file (6912 bytes: the 6144-byte bitmap
followed by 768 attribute bytes) in a window: the bare bitmap on the left, the
colour picture on the right.

With FILE, the window opens with that screen loaded, exactly as if the file had
been dropped on a pane: a file that is not a screen is refused in a message box
and the window stays empty. FILE may also be a file:// URL on this computer.
Only the first FILE is loaded. Without FILE the window opens empty.

The program reads no settings and leaves nothing behind between runs.

Options:
  --help        show this text
  --version     show the version
  --            every later argument is a file name, even one starting with -

Exit status:
  0  the window was closed or Quit was chosen
  1  the window could not be opened (no display, for instance)
  2  the command line is wrong: an option other than those above
)";

}  // namespace

StartArguments readStartArguments(const std::vector<std::string>& arguments) {
    StartArguments read;
    bool onlyFiles = false;
    for (const std::string& argument : arguments) {
        const bool option = !onlyFiles && argument.size() > 1 && argument.front() == '-';
        if (!option) {
            if (!read.file) {
                read.file = argument;
            }
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "--help" || argument == "--version") {
            read.action = argument == "--help" ? StartAction::ShowHelp : StartAction::ShowVersion;
            read.problem.clear();
            return read;
        } else if (read.action != StartAction::UsageError) {
            read.action = StartAction::UsageError;
            read.problem = "unknown option '" + argument + "'";
        }
    }
    return read;
}

int answerWithoutWindow(const StartArguments& arguments) {
    switch (arguments.action) {
        case StartAction::ShowHelp:
            std::fputs(HelpText, stdout);
            return 0;
        case StartAction::ShowVersion:
            std::printf("%s %s\n", ProgramName, SCRFIX_VERSION);
            return 0;
        default:
            std::fprintf(stderr, "%s: %s (see %s --help)\n", ProgramName, arguments.problem.c_str(),
                         ProgramName);
            return 2;
    }
}
