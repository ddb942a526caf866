// Replacing a file through a temporary file and a rename, over POSIX.

#include "platform/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// As many links as the system itself follows before it gives up.
constexpr int MostLinksFollowed = 40;

// Attempts at a temporary name before giving up: only names already taken
// (by another program saving the same file at the same moment) cause a retry.
constexpr int TemporaryNameAttempts = 100;

// Enough of the target's name to recognise it, leaving room for the rest of
// the temporary name within the 255 bytes a name may have.
constexpr std::size_t LongestNamePart = 200;

// "" for a name in the current folder, else everything up to the last "/".
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string namePartOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The text of a symbolic link, byte for byte; false when it cannot be read.
bool readLink(const std::string& path, std::string& text) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return false;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            text.assign(buffer.data(), static_cast<std::size_t>(length));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The path of the file that `name` leads to through symbolic links; a
// relative link counts from the link's own folder. False for a loop or a
// link that cannot be read.
bool followLinks(const std::string& name, std::string& path) {
    path = name;
    for (int hop = 0; hop < MostLinksFollowed; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return true;
        }
        std::string link;
        if (!readLink(path, link) || link.empty()) {
            return false;
        }
        // A relative link counts from the link's own folder.
        path = link.front() == '/' ? link : folderOf(path).append(link);
    }
    return false;
}

// Opening for writing, without truncating, is the one sure test that the
// file may be written: it covers permission bits, access lists, read-only
// mounts and immutable files alike.
bool mayBeWritten(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    ::close(descriptor);
    return true;
}

int openNewFile(const std::string& path) {
    int descriptor;
    do {
        descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

// A hidden name beside the target: "." + the target's name + "." + a random
// part + ".tmp".
std::string temporaryNameFor(const std::string& targetPath) {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char Digits[] = "0123456789abcdef";
    std::uint64_t random = generator();
    std::string unique;
    for (int digit = 0; digit < 12; ++digit, random >>= 4) {
        unique.push_back(Digits[random & 15]);
    }
    const std::string name = namePartOf(targetPath).substr(0, LongestNamePart);
    return folderOf(targetPath) + "." + name + "." + unique + ".tmp";
}

// Gives the new file the target's owner, then its permission bits (in this
// order: a change of owner may clear the set-user-ID and set-group-ID bits).
bool takeOverAttributes(int descriptor, const ReplacementTarget& target) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        return false;
    }
    if ((status.st_uid != target.owner || status.st_gid != target.group) &&
        ::fchown(descriptor, target.owner, target.group) != 0) {
        return false;
    }
    return ::fchmod(descriptor, static_cast<mode_t>(target.permissions)) == 0;
}

// Makes the rename itself durable; a failure here leaves either the old or
// the new file in place, both whole, so it is not reported.
void flushFolder(const std::string& targetPath) {
    const std::string folder = folderOf(targetPath);
    const int descriptor =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

bool flushToDisk(int descriptor) {
    int result;
    do {
        result = ::fsync(descriptor);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

}  // namespace

ReplacementTarget examineTarget(const std::string& name) {
    ReplacementTarget target;
    if (!followLinks(name, target.path) || namePartOf(target.path).empty()) {
        return target;
    }
    struct stat status {};
    if (::lstat(target.path.c_str(), &status) != 0) {
        // Nothing there yet: a new file, made like any other.
        target.method = errno == ENOENT ? WriteMethod::Replace : WriteMethod::Refuse;
        return target;
    }
    target.exists = true;
    if (!S_ISREG(status.st_mode) || status.st_nlink > 1) {
        target.method = WriteMethod::InPlace;
        return target;
    }
    if (!mayBeWritten(target.path)) {
        return target;
    }
    target.method = WriteMethod::Replace;
    target.permissions = status.st_mode & 07777;
    target.owner = status.st_uid;
    target.group = status.st_gid;
    return target;
}

TemporaryFile createTemporaryBeside(const ReplacementTarget& target) {
    TemporaryFile temporary;
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
        temporary.path = temporaryNameFor(target.path);
        temporary.descriptor = openNewFile(temporary.path);
        if (temporary.descriptor >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (temporary.descriptor < 0) {
        temporary.inPlaceMayWork = errno == EACCES || errno == EPERM;
        return temporary;
    }
    if (target.exists && !takeOverAttributes(temporary.descriptor, target)) {
        ::close(temporary.descriptor);
        ::unlink(temporary.path.c_str());
        temporary.descriptor = -1;
        temporary.inPlaceMayWork = true;
    }
    return temporary;
}

bool completeReplacement(int descriptor, const std::string& temporaryPath,
                         const std::string& targetPath, bool dataComplete, bool replacesAFile) {
    const bool flushed = dataComplete && (!replacesAFile || flushToDisk(descriptor));
    // Not retried after EINTR: the descriptor is released by then.
    const bool closed = ::close(descriptor) == 0;
    if (!flushed || !closed || ::rename(temporaryPath.c_str(), targetPath.c_str()) != 0) {
        ::unlink(temporaryPath.c_str());
        return false;
    }
    if (replacesAFile) {
        flushFolder(targetPath);
    }
    return true;
}
