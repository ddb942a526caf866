// Replacing a file whole or not at all (internal to the file service).
//
// The new contents go to a hidden temporary file in the target's own folder,
// so that renaming it over the target stays on one filesystem and is atomic:
// a reader, or a program killed part way, sees either the old file whole or
// the new one whole, never a mixture. Killed before the rename, the program
// leaves at most the temporary file behind, never a damaged target.
#pragma once

#include <string>

// How a target can be written.
enum class WriteMethod {
    // Through a temporary file renamed over the target.
    Replace,
    // Truncated and written in place: a device or a FIFO (never replaced by
    // a regular file), a file with several hard links (which must keep
    // sharing it), or a file whose owner a new file cannot be given.
    InPlace,
    // Not at all: the target may not be written, or cannot be reached.
    Refuse,
};

// Where the data goes: the file behind any symbolic links, whether it
// exists, and what a replacement must keep of it.
struct ReplacementTarget {
    WriteMethod method = WriteMethod::Refuse;
    // The file itself: symbolic links are followed, so a link stays a link
    // and the file it leads to is replaced.
    std::string path;
    bool exists = false;
    unsigned int permissions = 0;
    unsigned int owner = 0;
    unsigned int group = 0;
};

// A temporary file ready to take the new contents.
struct TemporaryFile {
    // -1 when none could be made.
    int descriptor = -1;
    std::string path;
    // Set when none could be made because the folder does not allow a new
    // file (or the target's owner could not be kept): writing in place may
    // still work.
    bool inPlaceMayWork = false;
};

// Follows `name` through symbolic links and decides how to write it.
ReplacementTarget examineTarget(const std::string& name);

// Makes a new temporary file beside the target, open for reading and
// writing, with the target's permission bits and owner (or, for a new file,
// 0666 less the umask, as any new file).
TemporaryFile createTemporaryBeside(const ReplacementTarget& target);

// Puts the temporary file in place of the target when `dataComplete`: the
// descriptor is closed and the file renamed over the target. When it
// `replacesAFile`, the data is first flushed to the disk and the folder
// afterwards, so that the old file is only ever replaced by a whole new one,
// even across a power cut; a new file has nothing to lose and skips both,
// which take milliseconds. The descriptor is closed in every case. True
// only when every step worked; otherwise the temporary file is removed and
// the target is as it was.
bool completeReplacement(int descriptor, const std::string& temporaryPath,
                         const std::string& targetPath, bool dataComplete, bool replacesAFile);
