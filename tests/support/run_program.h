// Running a built program as its own process, as a script would, and taking
// what it wrote.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ProgramRun {
    // The exit status; -1 when the program could not be started, ended by a
    // signal, or did not end within the time allowed (it is then killed).
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Changes to the environment the program gets: a variable set to a value,
// or removed (no value).
using EnvironmentChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Runs `program` with `arguments` in `folder`, standard input empty, and
// waits at most `seconds` for it to end.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::filesystem::path& folder, int seconds = 60,
                      const EnvironmentChanges& environment = {});
