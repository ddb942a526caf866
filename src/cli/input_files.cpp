#include "cli/input_files.h"

#include <algorithm>

#include "cli/plus3dos_header.h"
#include "files/whole_file.h"
#include "platform/files.h"

namespace {

constexpr std::int64_t HeaderedScreenSize = Plus3HeaderSize + ScreenSize;

// Why nothing can be read under a name whose fileSize() is `size`; empty
// when a file is there.
std::string missingFileProblem(std::int64_t size) {
    if (size == NoSuchFile) {
        return "no such file";
    }
    if (size == IsFolder) {
        return "is a folder";
    }
    return {};
}

// The `size` bytes of the file, or "cannot be read".
SizedInput readAll(const std::string& path, std::int64_t size) {
    SizedInput input;
    input.bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && !readWholeFile(path, input.bytes.data(), size)) {
        input.bytes.clear();
        input.problem = "cannot be read";
    }
    return input;
}

std::string byteCount(std::int64_t size) {
    return std::to_string(size) + " bytes";
}

}  // namespace

ScreenInput readScreenInput(const std::string& path) {
    ScreenInput input;
    const std::int64_t size = fileSize(path);
    input.problem = missingFileProblem(size);
    if (!input.problem.empty()) {
        return input;
    }
    if (size != ScreenSize && size != HeaderedScreenSize) {
        input.problem = "not a screen file: " + byteCount(size) +
                        " (a screen is 6912 bytes, or 7040 with a +3DOS header)";
        return input;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!readWholeFile(path, bytes.data(), size)) {
        input.problem = "cannot be read";
        return input;
    }
    if (size == HeaderedScreenSize) {
        const std::string headerProblem = plus3HeaderProblem(bytes.data(), size);
        if (!headerProblem.empty()) {
            input.problem = "not a screen file: " + byteCount(size) + ", " + headerProblem;
            return input;
        }
        input.header.assign(bytes.begin(), bytes.begin() + Plus3HeaderSize);
    }
    std::copy(bytes.end() - ScreenSize, bytes.end(), input.image.begin());
    return input;
}

SizedInput readSizedInput(const std::string& path, std::int64_t size, const std::string& kind) {
    SizedInput input;
    const std::int64_t actualSize = fileSize(path);
    input.problem = missingFileProblem(actualSize);
    if (!input.problem.empty()) {
        return input;
    }
    if (actualSize != size) {
        input.problem = "not " + kind + ": " + byteCount(actualSize) + " (" + kind + " is " +
                        byteCount(size) + ")";
        return input;
    }
    return readAll(path, size);
}

SizedInput readWholeInput(const std::string& path, std::int64_t largest, const std::string& kind) {
    SizedInput input;
    const std::int64_t size = fileSize(path);
    input.problem = missingFileProblem(size);
    if (!input.problem.empty()) {
        return input;
    }
    if (size > largest) {
        input.problem = "too large for " + kind + ": " + byteCount(size) + " (at most " +
                        byteCount(largest) + " are read)";
        return input;
    }
    return readAll(path, size);
}
