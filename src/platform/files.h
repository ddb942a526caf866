// Numbered files and the file-size query.
//
// A file is opened or created under a small file number, read or written in
// blocks, and closed. Writes are buffered; closeFile() writes the rest out.
// Names reach the operating system byte for byte (a name holding a zero
// byte cannot, and fails). No service changes the current directory; a name
// without a folder is in the current directory. File numbers run from 0 to
// 4095; any other number fails like one that is not open.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

constexpr std::int64_t NoSuchFile = -1;
constexpr std::int64_t IsFolder = -2;

// The size in bytes; -1 for an empty name or nothing there; -2 for a folder,
// written with or without trailing slashes ("/" and "//" included). The name
// is looked up as given, so "file/" is -1, as no file opens under it either.
// Nothing is opened: a FIFO or device gives the size the system reports for
// it (0 for most) without waiting.
std::int64_t fileSize(const std::string& name);

// Creates the file, or truncates an existing one to length 0, open for
// writing and reading; an existing file that may be written but not read is
// opened for writing only. A number in use is closed first (its buffered
// data is written out). Nonzero on success; on failure 0 and the number is
// free.
int createFile(int number, const std::string& name);

// Like createFile(), but the file is replaced whole or not at all. What is
// written under the number goes to a new hidden file beside the target
// ("." + its name + a unique ending + ".tmp"); closeFile() flushes it to the
// disk when it replaces an existing file (a new file has nothing to lose
// and is not), gives it the target's permission bits and owner (a new file
// gets 0666 less the umask) and renames it over the target. Should any step fail,
// closeFile() returns false, removes the hidden file and leaves the target
// as it was; a program killed before the rename leaves at most the hidden
// file. A symbolic link stays a link: the file it leads to is replaced.
// Written in place, as by createFile(), are a target that is not a regular
// file (a device, a FIFO: never turned into a regular file), a file with
// several hard links (they keep sharing it), a file whose owner a new file
// cannot be given, and a file whose folder allows no new file while the file
// itself may be written. A target that may not be written fails, as it does
// for createFile(). A number in use is closed first. Nonzero on success; on
// failure 0 and the number is free.
int createReplacement(int number, const std::string& name);

// Opens an existing file (not a folder) for reading from its start. A number
// in use is closed first. Nonzero on success; on failure 0 and the number is
// free.
int openFileForReading(int number, const std::string& name);

// Bytes accepted: 0 when the number is not open, the address null or the
// length not positive. Small blocks are collected in a 4096-byte buffer,
// blocks of 4096 bytes or more go straight to the file. A failure to write
// (a full disk, a removed medium) is remembered: later writes on the number
// return 0, and closeFile() reports it.
std::int64_t writeBlock(int number, const void* data, std::int64_t length);

// Bytes read, fewer at the end of the file; 0 and memory untouched when the
// number is not open. Reads and writes may alternate on one number; each
// continues where the other left off.
std::int64_t readBlock(int number, void* data, std::int64_t length);

// Writes out buffered data, closes the file and frees the number. True when
// everything written under this number reached the file and the close
// succeeded; false otherwise (the number is freed all the same). True for a
// number that is not open, which is left alone.
bool closeFile(int number);

// closeFile() for every open number; true when all of them succeeded.
bool closeAllFiles();

// What tells one existing file from every other on the system, whatever
// name leads to it.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file the name leads to, through symbolic links; none
// when it leads to nothing.
std::optional<FileIdentity> fileIdentity(const std::string& name);

// True when both names lead to one existing file: the same name, two names
// of one file (links, "." and ".." in the path) or a link and its target.
// False when either name leads to nothing.
bool isSameFile(const std::string& first, const std::string& second);
