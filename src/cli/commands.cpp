#include "cli/commands.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/imported_screens.h"
#include "cli/input_files.h"
#include "cli/messages.h"
#include "cli/outputs.h"
#include "cli/png_export.h"
#include "cli/screen_summary.h"
#include "files/png_screen.h"
#include "files/snapshot_tape_screens.h"
#include "files/split_names.h"
#include "screen/layout.h"
#include "screen/operations.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using ScreenEdit = std::function<void(std::uint8_t* image)>;

// No snapshot, tape or picture comes near this; a larger file is not read.
constexpr std::int64_t LargestImport = std::int64_t{64} << 20;

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

// Edits the screen in `path` and writes it to the output, or back to `path` when in place.
bool editScreen(const std::string& path, const Request& request, const ScreenEdit& edit,
                OutputFiles& outputs) {
    ScreenInput screen;
    if (!readScreen(path, screen)) {
        return false;
    }
    edit(screen.image.data());
    const Bytes bytes = fileBytes(screen);
    const auto length = static_cast<std::int64_t>(bytes.size());
    if (request.inPlace) {
        return outputs.replaceInput(path, bytes.data(), length);
    }
    return outputs.writeFile(request.output, bytes.data(), length);
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

bool splitScreen(const std::string& path, const std::string& folder, OutputFiles& outputs) {
    ScreenInput screen;
    if (!readScreen(path, screen) || !isUsableFolder(folder)) {
        return false;
    }
    const std::uint8_t* image = screen.image.data();
    // Both files are attempted, like the window program's split save.
    const bool bitmapWritten =
        outputs.writeFile(inFolder(folder, splitBitmapName(path)), image, BitmapSize);
    const bool attributesWritten = outputs.writeFile(inFolder(folder, splitAttributeName(path)),
                                                     image + AttributeStart, AttributeSize);
    return bitmapWritten && attributesWritten;
}

// The bytes of an input that was read, or its problem reported.
bool takeInput(const std::string& path, SizedInput input, Bytes& bytes) {
    if (!input.problem.empty()) {
        reportFileFailure(path, input.problem);
        return false;
    }
    bytes = std::move(input.bytes);
    return true;
}

bool readPart(const std::string& path, std::int64_t size, const std::string& kind, Bytes& bytes) {
    return takeInput(path, readSizedInput(path, size, kind), bytes);
}

bool joinScreen(const Request& request, OutputFiles& outputs) {
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
    return outputs.writeFile(request.output, screen.data(), ScreenSize);
}

bool exportPng(const std::string& path, const Request& request, OutputFiles& outputs) {
    ScreenInput screen;
    if (!readScreen(path, screen)) {
        return false;
    }
    const std::string output =
        request.output.empty() ? inFolder(request.folder, defaultPngName(path)) : request.output;
    const Bytes png = screenPng(screen.image.data(), request.png);
    if (png.empty()) {
        reportFileFailure(output, "the picture could not be made");
        return false;
    }
    return outputs.writeFile(output, png.data(), static_cast<std::int64_t>(png.size()));
}

bool readImport(const std::string& path, const std::string& kind, Bytes& bytes) {
    return takeInput(path, readWholeInput(path, LargestImport, kind), bytes);
}

// Writes every screen a snapshot or tape holds: NAME.scr, NAME-2.scr, ...
bool extractScreens(const std::string& path, const Request& request, OutputFiles& outputs) {
    Bytes bytes;
    if (!readImport(path, "a snapshot or tape", bytes)) {
        return false;
    }
    const SpectrumScreens found = screensInSpectrumFile(bytes.data(), bytes.size(), path);
    if (!found.problem.empty()) {
        reportFileFailure(path, found.problem);
        return false;
    }
    const std::string name = request.output.empty()
                                 ? inFolder(request.folder, extractedScreenName(path))
                                 : request.output;
    bool allWritten = true;
    for (std::size_t i = 0; i < found.screens.size(); ++i) {
        const std::string output = i == 0 ? name : numberedName(name, static_cast<int>(i + 1));
        allWritten = outputs.writeFile(output, found.screens[i].data(), ScreenSize) && allWritten;
    }
    return allWritten;
}

bool screenFromPicture(const std::string& path, const Request& request, OutputFiles& outputs) {
    Bytes bytes;
    if (!readImport(path, "a PNG picture", bytes)) {
        return false;
    }
    const PictureScreen screen = screenFromPng(bytes.data(), bytes.size());
    if (!screen.problem.empty()) {
        reportFileFailure(path, screen.problem);
        return false;
    }
    const std::string output =
        request.output.empty() ? inFolder(request.folder, pictureScreenName(path)) : request.output;
    return outputs.writeFile(output, screen.image.data(), ScreenSize);
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
    OutputFiles outputs(request.inputs);
    switch (request.command) {
        case Command::Info:
            return forEachInput(request, describeScreen);
        case Command::Optimize:
        case Command::Invert:
        case Command::Flip: {
            const ScreenEdit edit = editOf(request);
            return forEachInput(request, [&](const std::string& path) {
                return editScreen(path, request, edit, outputs);
            });
        }
        case Command::Split:
            return splitScreen(request.inputs[0], request.folder, outputs);
        case Command::Join:
            return joinScreen(request, outputs);
        case Command::Png:
            // A folder that cannot take the pictures fails the run before any input is read.
            return isUsableFolder(request.folder) &&
                   forEachInput(request, [&](const std::string& path) {
                       return exportPng(path, request, outputs);
                   });
        case Command::Extract:
            return isUsableFolder(request.folder) &&
                   forEachInput(request, [&](const std::string& path) {
                       return extractScreens(path, request, outputs);
                   });
        case Command::FromPng:
            return isUsableFolder(request.folder) &&
                   forEachInput(request, [&](const std::string& path) {
                       return screenFromPicture(path, request, outputs);
                   });
    }
    return false;
}

}  // namespace

int runRequest(const Request& request) {
    return runCommand(request) ? ExitSuccess : ExitFileFailure;
}
