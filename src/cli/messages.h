// Everything the batch companion writes for people to read.
//
// Results go to standard output; failures go to standard error, one line
// each, starting with "scrfix-cli: " and, for a file, the file's name.
#pragma once

#include <string>

struct ScreenSummary;

void printHelp();

// "scrfix-cli " followed by the project's version.
void printVersion();

// A command line that cannot be run, with a pointer to --help.
void reportUsageError(const std::string& problem);

// A file that could not be read, written or used, and why.
void reportFileFailure(const std::string& file, const std::string& reason);

// The `info` line of a screen file; `behindHeader` when it came behind a +3DOS header.
void printScreenInfo(const std::string& file, bool behindHeader, const ScreenSummary& summary);
