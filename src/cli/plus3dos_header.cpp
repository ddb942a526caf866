#include "cli/plus3dos_header.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view Signature = "PLUS3DOS";
constexpr std::uint8_t EndOfFileMark = 0x1A;
constexpr int FileLengthOffset = 11;
constexpr int ChecksumOffset = 127;

bool hasSignature(const std::uint8_t* header) {
    return std::equal(Signature.begin(), Signature.end(), header) &&
           header[Signature.size()] == EndOfFileMark;
}

std::uint8_t checksumOf(const std::uint8_t* header) {
    unsigned sum = 0;
    for (int i = 0; i < ChecksumOffset; ++i) {
        sum += header[i];
    }
    return static_cast<std::uint8_t>(sum);
}

std::uint32_t recordedFileLength(const std::uint8_t* header) {
    std::uint32_t length = 0;
    for (int i = 3; i >= 0; --i) {
        length = (length << 8) | header[FileLengthOffset + i];
    }
    return length;
}

}  // namespace

std::string plus3HeaderProblem(const std::uint8_t* header, std::int64_t fileLength) {
    if (!hasSignature(header)) {
        return "no +3DOS header";
    }
    if (checksumOf(header) != header[ChecksumOffset]) {
        return "the +3DOS header's checksum is wrong";
    }
    const std::uint32_t recorded = recordedFileLength(header);
    if (recorded != fileLength) {
        return "the +3DOS header gives a file length of " + std::to_string(recorded) + " bytes";
    }
    return {};
}
