// The batch companion's commands, each run over the files of a request.
//
// A file that fails is reported on its own line and the command goes on with
// the next one. Outputs go through writeWholeFile(), so each is written whole
// or not at all, and an output that is the same file as an input is refused
// (only --in-place writes over inputs).
#pragma once

#include "cli/command_line.h"

constexpr int ExitSuccess = 0;
constexpr int ExitFileFailure = 1;
constexpr int ExitUsageError = 2;

// ExitSuccess, or ExitFileFailure when any file failed.
int runRequest(const Request& request);
