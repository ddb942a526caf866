#include "cli/commands.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/input_files.h"
#include "cli/messages.h"
#include "cli/png_export.h"
#include "cli/screen_summary.h"
#include "files/split_names.h"
#include "files/whole_file.h"
#include "platform/files.h"
#include "screen/layout.h"
#include "screen/operations.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using ScreenEdit = std::function<void(std::uint8_t* image)>;

// Writes the bytes to `output` unless it is the same file as one of `inputs`.
bool writeOutput(const std::string& output, const std::vector<std::string>& inputs,
                 const std::uint8_t* data, std::int64_t length) {
    for (const std::string& input : inputs) {
        if (isSameFile(output, input)) {
            reportFileFailure(output, "is also an input file (only --in-place writes over inputs)");
            return false;
        }
    }
    if (!writeWholeFile(output, data, length)) {
        reportFileFailure(output, "cannot be written");
        return false;
    }
    return true;
}

// The screen as its file holds it: the +3DOS header it came with, if any, then the image.
Bytes fileBytes(const ScreenInput& screen) {
    Bytes bytes = screen.header;
    bytes.insert(bytes.end(), screen.image.begin(), screen.image.end());
    return bytes;
}

bool readScreen(const std::string& path, ScreenInput& screen) {
    screen = readScreenInput(path);
    if (!screen.problem.empty()) {
        reportFileFailure(path, screen.problem);
        return false;
    }
    return true;
}

bool describeScreen(const std::string& path) {
    ScreenInput screen;
    if (!readScreen(path, screen)) {
        return false;
    }
    printScreenInfo(path, !screen.header.empty(), summarizeScreen(screen.image.data()));
    return true;
}

// Edits the screen in `path` and writes it to `output`, or back to `path` when in place.
bool editScreen(const std::string& path, const Request& request, const ScreenEdit& edit) {
    ScreenInput screen;
    if (!readScreen(path, screen)) {
        return false;
    }
    edit(screen.image.data());
    const Bytes bytes = fileBytes(screen);
    const auto length = static_cast<std::int64_t>(bytes.size());
    if (request.inPlace) {
        if (!writeWholeFile(path, bytes.data(), length)) {
            reportFileFailure(path, "cannot be written");
            return false;
        }
        return true;
    }
    return writeOutput(request.output, request.inputs, bytes.data(), length);
}

ScreenEdit editOf(const Request& request) {
    switch (request.command) {
        case Command::Optimize:
            return optimizeScreen;
        case Command::Invert:
            return invertScreen;
        default:
            return [column = request.column, row = request.row](std::uint8_t* image) {
                flipCell(image, column, row);
            };
    }
}

// `name` inside `folder`; just `name` when the folder is empty (the current folder).
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

bool splitScreen(const std::string& path, const std::string& folder) {
    ScreenInput screen;
    if (!readScreen(path, screen) || !isUsableFolder(folder)) {
        return false;
    }
    const std::uint8_t* image = screen.image.data();
    // Both files are attempted, like the window program's split save.
    const bool bitmapWritten =
        writeOutput(inFolder(folder, splitBitmapName(path)), {path}, image, BitmapSize);
    const bool attributesWritten = writeOutput(inFolder(folder, splitAttributeName(path)), {path},
                                               image + AttributeStart, AttributeSize);
    return bitmapWritten && attributesWritten;
}

bool readPart(const std::string& path, std::int64_t size, const std::string& kind, Bytes& bytes) {
    SizedInput part = readSizedInput(path, size, kind);
    if (!part.problem.empty()) {
        reportFileFailure(path, part.problem);
        return false;
    }
    bytes = std::move(part.bytes);
    return true;
}

bool joinScreen(const Request& request) {
    Bytes bitmap;
    Bytes attributes;
    const bool bitmapRead = readPart(request.inputs[0], BitmapSize, "a bitmap file", bitmap);
    const bool attributesRead =
        readPart(request.inputs[1], AttributeSize, "an attribute file", attributes);
    if (!bitmapRead || !attributesRead) {
        return false;
    }
    Bytes screen = std::move(bitmap);
    screen.insert(screen.end(), attributes.begin(), attributes.end());
    return writeOutput(request.output, request.inputs, screen.data(), ScreenSize);
}

bool exportPng(const Request& request) {
    const std::string& path = request.inputs[0];
    ScreenInput screen;
    if (!readScreen(path, screen)) {
        return false;
    }
    const std::string output = request.output.empty() ? defaultPngName(path) : request.output;
    const Bytes png = screenPng(screen.image.data(), request.png);
    if (png.empty()) {
        reportFileFailure(output, "the picture could not be made");
        return false;
    }
    return writeOutput(output, request.inputs, png.data(), static_cast<std::int64_t>(png.size()));
}

// Runs `step` on every input, whatever the earlier ones gave; true when all succeeded.
bool forEachInput(const Request& request, const std::function<bool(const std::string&)>& step) {
    bool allSucceeded = true;
    for (const std::string& path : request.inputs) {
        allSucceeded = step(path) && allSucceeded;
    }
    return allSucceeded;
}

bool runCommand(const Request& request) {
    switch (request.command) {
        case Command::Info:
            return forEachInput(request, describeScreen);
        case Command::Optimize:
        case Command::Invert:
        case Command::Flip: {
            const ScreenEdit edit = editOf(request);
            return forEachInput(
                request, [&](const std::string& path) { return editScreen(path, request, edit); });
        }
        case Command::Split:
            return splitScreen(request.inputs[0], request.folder);
        case Command::Join:
            return joinScreen(request);
        case Command::Png:
            return exportPng(request);
    }
    return false;
}

}  // namespace

int runRequest(const Request& request) {
    return runCommand(request) ? ExitSuccess : ExitFileFailure;
}
