// Numbered files and the file-size query.
//
// A file is opened or created under a small file number, read or written in
// blocks, and closed. Writes are buffered; closeFile() writes the rest out.
// Names reach the operating system byte for byte. No service changes the
// current directory; a name without a folder is in the current directory.
#pragma once

#include <cstdint>
#include <string>

constexpr std::int64_t NoSuchFile = -1;
constexpr std::int64_t IsFolder = -2;

// The size in bytes; -1 for an empty name or nothing there; -2 for a folder,
// written with or without trailing slashes.
std::int64_t fileSize(const std::string& name);

// Creates the file, or truncates an existing one to length 0, open for
// writing and reading. A number in use is closed first. Nonzero on success;
// on failure 0 and the number is free.
int createFile(int number, const std::string& name);

// Opens an existing file for reading from its start. Nonzero on success.
int openFileForReading(int number, const std::string& name);

// Bytes written: 0 when the number is not open, the address null or the
// length not positive. A failure to write out buffered data is remembered
// and reported by closeFile().
std::int64_t writeBlock(int number, const void* data, std::int64_t length);

// Bytes read, fewer at the end of the file; 0 and memory untouched when the
// number is not open.
std::int64_t readBlock(int number, void* data, std::int64_t length);

// Writes out buffered data, closes the file and frees the number. True when
// everything written under this number reached the file (also true for a
// number that is not open, which is left alone).
bool closeFile(int number);

// closeFile() for every open number; true when all of them succeeded.
bool closeAllFiles();
