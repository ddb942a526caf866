// Where the batch companion's results go, and what they may not replace.
//
// Every output is written whole or not at all. No output may be one of the
// run's input files (only --in-place writes over inputs), and no file is
// written twice in one run: two inputs whose results would get the same name
// must not leave only the second, silently.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

class OutputFiles {
  public:
    // `inputs`: every input file of the run, looked up once.
    explicit OutputFiles(const std::vector<std::string>& inputs);

    // Writes the bytes to `output`; a refusal or failure is reported on its
    // own line. True when the file was written.
    bool writeFile(const std::string& output, const std::uint8_t* data, std::int64_t length);

    // Replaces the input file `input` with its result (--in-place).
    bool replaceInput(const std::string& input, const std::uint8_t* data, std::int64_t length);

  private:
    std::set<FileIdentity> inputs_;
    std::set<FileIdentity> written_;
};

// `name` inside `folder`; just `name` when the folder is empty (the current folder).
std::string inFolder(const std::string& folder, const std::string& name);

// True for the empty text (the current folder) and an existing folder; any
// other is reported.
bool isUsableFolder(const std::string& folder);
