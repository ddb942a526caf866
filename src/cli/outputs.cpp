#include "cli/outputs.h"

#include <optional>

#include "cli/messages.h"
#include "files/whole_file.h"

OutputFiles::OutputFiles(const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        if (const std::optional<FileIdentity> identity = fileIdentity(input)) {
            inputs_.insert(*identity);
        }
    }
}

bool OutputFiles::writeFile(const std::string& output, const std::uint8_t* data,
                            std::int64_t length) {
    if (const std::optional<FileIdentity> existing = fileIdentity(output)) {
        if (inputs_.count(*existing) != 0) {
            reportFileFailure(output, "is also an input file (only --in-place writes over inputs)");
            return false;
        }
        if (written_.count(*existing) != 0) {
            reportFileFailure(output, "was already written in this run by another input");
            return false;
        }
    }
    if (!writeWholeFile(output, data, length)) {
        reportFileFailure(output, "cannot be written");
        return false;
    }
    // The replacement is a new file, so its identity is taken once it is there.
    if (const std::optional<FileIdentity> identity = fileIdentity(output)) {
        written_.insert(*identity);
    }
    return true;
}

bool OutputFiles::replaceInput(const std::string& input, const std::uint8_t* data,
                               std::int64_t length) {
    if (!writeWholeFile(input, data, length)) {
        reportFileFailure(input, "cannot be written");
        return false;
    }
    return true;
}

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool isUsableFolder(const std::string& folder) {
    if (folder.empty()) {
        return true;
    }
    const std::int64_t size = fileSize(folder);
    if (size != IsFolder) {
        reportFileFailure(folder, size == NoSuchFile ? "no such folder" : "is not a folder");
        return false;
    }
    return true;
}
