#include "files/whole_file.h"

#include "platform/files.h"

namespace {

// The one file number every file operation of the program uses.
constexpr int FileNumber = 0;

}  // namespace

bool readWholeFile(const std::string& name, std::uint8_t* data, std::int64_t length) {
    if (openFileForReading(FileNumber, name) == 0) {
        return false;
    }
    const bool complete = readBlock(FileNumber, data, length) == length;
    closeFile(FileNumber);
    return complete;
}

bool writeWholeFile(const std::string& name, const std::uint8_t* data, std::int64_t length) {
    // Refused before anything is created: the file would be replaced by an empty one.
    if (length < 0 || (data == nullptr && length > 0)) {
        return false;
    }
    if (createReplacement(FileNumber, name) == 0) {
        return false;
    }
    const bool complete = writeBlock(FileNumber, data, length) == length;
    // Closing writes out the buffered rest: its failure is a failed save too.
    const bool closed = closeFile(FileNumber);
    return complete && closed;
}
