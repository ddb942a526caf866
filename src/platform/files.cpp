// Numbered files over POSIX descriptors, each with a 4096-byte buffer that
// either collects data to write or holds data read ahead.

#include "platform/files.h"

#include "platform/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr std::size_t BufferSize = 4096;

// File numbers are small; a larger one is refused rather than growing the
// table to match it.
constexpr int MaxFileNumbers = 4096;

// One system call moves at most this much, well inside ssize_t.
constexpr std::size_t LargestTransfer = std::size_t{1} << 30;

enum class BufferUse { Idle, Writing, Reading };

// A file being written under a temporary name, to be renamed over its target.
struct PendingReplacement {
    std::string temporaryPath;
    std::string targetPath;
    // False for a file that did not exist before.
    bool replacesAFile = true;
};

struct OpenFile {
    int descriptor = -1;
    BufferUse use = BufferUse::Idle;
    // Writing: bytes collected. Reading: bytes read ahead.
    std::size_t fill = 0;
    // Reading: the next byte of the read-ahead to hand out.
    std::size_t position = 0;
    // Set once any data handed to writeBlock() failed to reach the file.
    bool writeFailed = false;
    // Set for a file made by createReplacement() that goes through a
    // temporary file; closing completes the replacement.
    std::optional<PendingReplacement> replacement;
    std::array<std::uint8_t, BufferSize> buffer{};
};

// Indexed by file number; grows on demand, an empty slot is a free number.
std::vector<std::unique_ptr<OpenFile>> openFiles;

OpenFile* fileAt(int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= openFiles.size()) {
        return nullptr;
    }
    return openFiles[static_cast<std::size_t>(number)].get();
}

// Writes the bytes, resuming after interruptions and short writes; the count
// written, fewer than `length` only when the system refused the rest.
std::size_t writeAll(int descriptor, const std::uint8_t* data, std::size_t length) {
    std::size_t total = 0;
    while (total < length) {
        const ssize_t written =
            ::write(descriptor, data + total, std::min(length - total, LargestTransfer));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;
        }
        total += static_cast<std::size_t>(written);
    }
    return total;
}

// Reads until `length` bytes arrived or the end of the file; the count read.
std::size_t readUpTo(int descriptor, std::uint8_t* data, std::size_t length) {
    std::size_t total = 0;
    while (total < length) {
        const ssize_t got =
            ::read(descriptor, data + total, std::min(length - total, LargestTransfer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return total;
}

// Once a write has failed nothing more is written, so the file never holds
// later data after a gap. The count written.
std::size_t writeOut(OpenFile& file, const std::uint8_t* data, std::size_t length) {
    if (file.writeFailed) {
        return 0;
    }
    const std::size_t written = writeAll(file.descriptor, data, length);
    if (written < length) {
        file.writeFailed = true;
    }
    return written;
}

// Pending writes go to the file; unread read-ahead is given back by moving
// the file position back over it. Afterwards the buffer is empty.
void settleBuffer(OpenFile& file) {
    if (file.use == BufferUse::Writing && file.fill > 0) {
        writeOut(file, file.buffer.data(), file.fill);
    } else if (file.use == BufferUse::Reading && file.position < file.fill) {
        const off_t unread = static_cast<off_t>(file.fill - file.position);
        ::lseek(file.descriptor, -unread, SEEK_CUR);
    }
    file.use = BufferUse::Idle;
    file.fill = 0;
    file.position = 0;
}

// A name holding a zero byte cannot reach the system unchanged.
bool isUsableName(const std::string& name) {
    return !name.empty() && name.find('\0') == std::string::npos;
}

int openDescriptor(const std::string& name, int flags, mode_t mode = 0) {
    int descriptor;
    do {
        descriptor = ::open(name.c_str(), flags | O_CLOEXEC, mode);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

// Opens without waiting for the other end of a FIFO, then makes reads and
// writes blocking again as for any file.
int openWithoutWaiting(const std::string& name, int flags, mode_t mode = 0) {
    const int descriptor = openDescriptor(name, flags | O_NONBLOCK, mode);
    if (descriptor >= 0) {
        const int status = ::fcntl(descriptor, F_GETFL);
        if (status >= 0) {
            ::fcntl(descriptor, F_SETFL, status & ~O_NONBLOCK);
        }
    }
    return descriptor;
}

bool isFolder(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
}

// Not retried after EINTR: Linux has released the descriptor by then, and a
// second close could hit one opened meanwhile. Any error counts as a failure,
// since the data may not have reached the file.
bool closeDescriptor(int descriptor) {
    return ::close(descriptor) == 0;
}

int installFile(int number, int descriptor,
                std::optional<PendingReplacement> replacement = std::nullopt) {
    if (descriptor < 0) {
        return 0;
    }
    if (static_cast<std::size_t>(number) >= openFiles.size()) {
        openFiles.resize(static_cast<std::size_t>(number) + 1);
    }
    auto file = std::make_unique<OpenFile>();
    file->descriptor = descriptor;
    file->replacement = std::move(replacement);
    openFiles[static_cast<std::size_t>(number)] = std::move(file);
    return 1;
}

// Creates or truncates the file itself; the descriptor, or -1.
int openTruncated(const std::string& name) {
    const int descriptor = openWithoutWaiting(name, O_RDWR | O_CREAT | O_TRUNC, 0666);
    if (descriptor >= 0) {
        return descriptor;
    }
    // An existing file that may be written but not read.
    return openWithoutWaiting(name, O_WRONLY | O_TRUNC);
}

bool isValidNumber(int number) {
    return number >= 0 && number < MaxFileNumbers;
}

}  // namespace

std::int64_t fileSize(const std::string& name) {
    if (!isUsableName(name)) {
        return NoSuchFile;
    }
    struct stat status {};
    if (::stat(name.c_str(), &status) != 0) {
        return NoSuchFile;
    }
    if (S_ISDIR(status.st_mode)) {
        return IsFolder;
    }
    return static_cast<std::int64_t>(status.st_size);
}

int createFile(int number, const std::string& name) {
    if (!isValidNumber(number)) {
        return 0;
    }
    closeFile(number);
    if (!isUsableName(name)) {
        return 0;
    }
    return installFile(number, openTruncated(name));
}

int createReplacement(int number, const std::string& name) {
    if (!isValidNumber(number)) {
        return 0;
    }
    closeFile(number);
    if (!isUsableName(name)) {
        return 0;
    }
    const ReplacementTarget target = examineTarget(name);
    if (target.method == WriteMethod::Refuse) {
        return 0;
    }
    if (target.method == WriteMethod::Replace) {
        const TemporaryFile temporary = createTemporaryBeside(target);
        if (temporary.descriptor >= 0) {
            return installFile(number, temporary.descriptor,
                               PendingReplacement{temporary.path, target.path, target.exists});
        }
        if (!temporary.inPlaceMayWork) {
            return 0;
        }
    }
    return installFile(number, openTruncated(target.path));
}

int openFileForReading(int number, const std::string& name) {
    if (!isValidNumber(number)) {
        return 0;
    }
    closeFile(number);
    if (!isUsableName(name)) {
        return 0;
    }
    int descriptor = openWithoutWaiting(name, O_RDONLY);
    if (descriptor >= 0 && isFolder(descriptor)) {
        closeDescriptor(descriptor);
        descriptor = -1;
    }
    return installFile(number, descriptor);
}

std::int64_t writeBlock(int number, const void* data, std::int64_t length) {
    OpenFile* file = fileAt(number);
    if (file == nullptr || data == nullptr || length <= 0) {
        return 0;
    }
    if (file->use == BufferUse::Reading) {
        settleBuffer(*file);
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const auto size = static_cast<std::size_t>(length);
    if (size >= BufferSize - file->fill) {
        settleBuffer(*file);
    }
    if (file->writeFailed) {
        return 0;
    }
    if (size >= BufferSize) {
        return static_cast<std::int64_t>(writeOut(*file, bytes, size));
    }
    std::memcpy(file->buffer.data() + file->fill, bytes, size);
    file->fill += size;
    file->use = BufferUse::Writing;
    return length;
}

std::int64_t readBlock(int number, void* data, std::int64_t length) {
    OpenFile* file = fileAt(number);
    if (file == nullptr || data == nullptr || length <= 0) {
        return 0;
    }
    if (file->use == BufferUse::Writing) {
        settleBuffer(*file);
    }
    auto* bytes = static_cast<std::uint8_t*>(data);
    const auto wanted = static_cast<std::size_t>(length);
    std::size_t done = 0;
    while (done < wanted) {
        if (file->use == BufferUse::Reading && file->position < file->fill) {
            const std::size_t part = std::min(wanted - done, file->fill - file->position);
            std::memcpy(bytes + done, file->buffer.data() + file->position, part);
            file->position += part;
            done += part;
            continue;
        }
        if (wanted - done >= BufferSize) {
            done += readUpTo(file->descriptor, bytes + done, wanted - done);
            break;
        }
        file->fill = readUpTo(file->descriptor, file->buffer.data(), BufferSize);
        file->position = 0;
        file->use = BufferUse::Reading;
        if (file->fill == 0) {
            break;
        }
    }
    return static_cast<std::int64_t>(done);
}

bool closeFile(int number) {
    OpenFile* file = fileAt(number);
    if (file == nullptr) {
        return true;
    }
    settleBuffer(*file);
    bool complete;
    if (file->replacement) {
        complete = completeReplacement(file->descriptor, file->replacement->temporaryPath,
                                       file->replacement->targetPath, !file->writeFailed,
                                       file->replacement->replacesAFile);
    } else {
        const bool closed = closeDescriptor(file->descriptor);
        complete = closed && !file->writeFailed;
    }
    openFiles[static_cast<std::size_t>(number)].reset();
    return complete;
}

bool closeAllFiles() {
    bool complete = true;
    for (std::size_t number = 0; number < openFiles.size(); ++number) {
        complete = closeFile(static_cast<int>(number)) && complete;
    }
    openFiles.clear();
    return complete;
}

std::optional<FileIdentity> fileIdentity(const std::string& name) {
    struct stat status {};
    if (!isUsableName(name) || ::stat(name.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                        static_cast<std::uint64_t>(status.st_ino)};
}

bool isSameFile(const std::string& first, const std::string& second) {
    const std::optional<FileIdentity> firstIdentity = fileIdentity(first);
    return firstIdentity && firstIdentity == fileIdentity(second);
}
