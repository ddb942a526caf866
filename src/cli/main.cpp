// scrfix-cli: the window program's screen operations for scripts.

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/messages.h"

int main(int argc, char** argv) {
    const CommandLine commandLine =
        readCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (commandLine.action) {
        case Action::ShowHelp:
            printHelp();
            return ExitSuccess;
        case Action::ShowVersion:
            printVersion();
            return ExitSuccess;
        case Action::UsageError:
            reportUsageError(commandLine.problem);
            return ExitUsageError;
        case Action::Run:
            break;
    }
    return runRequest(commandLine.request);
}
