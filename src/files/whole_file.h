// Moving a whole block of bytes between memory and a named file.
//
// Each call opens the file under file number 0, does its work and closes it
// before returning, so no file stays open between events.
#pragma once

#include <cstdint>
#include <string>

// Reads exactly `length` bytes from the start of the file into `data`. False
// when the file cannot be opened or holds fewer bytes; `data` may then hold
// part of the file, so callers read into a block of their own.
bool readWholeFile(const std::string& name, std::uint8_t* data, std::int64_t length);

// Replaces the file with one holding the `length` bytes at `data`, creating
// it if needed, whole or not at all (see createReplacement()): on failure the
// previous file is left as it was wherever the system allows. True only when
// every byte reached the file.
bool writeWholeFile(const std::string& name, const std::uint8_t* data, std::int64_t length);
