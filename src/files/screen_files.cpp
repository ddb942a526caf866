#include "files/screen_files.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "display/panes.h"
#include "files/current_file.h"
#include "files/split_names.h"
#include "files/whole_file.h"
#include "platform/files.h"
#include "platform/requesters.h"
#include "screen/layout.h"
#include "screen/screen_buffer.h"

namespace {

void showError(const std::string& text) {
    messageBox("Error", text, MessageBoxOk);
}

}  // namespace

void openScreenFile() {
    const std::string path =
        openFileRequester("Please choose file to load", "",
                          "All files (*.*)|*.*|ZX Spectrum screens (*.scr)|*.scr;*.bat", 0);
    if (path.empty()) {
        messageBox("Information", "The requester was canceled.", MessageBoxOk);
        return;
    }
    loadScreenFile(path);
}

void loadScreenFile(const std::string& path) {
    if (fileSize(path) != ScreenSize) {
        showError("this is not ZX Spectrum picture!");
        return;
    }
    // Read aside first: a file that fails part way must not leave half of it on screen.
    std::array<std::uint8_t, ScreenSize> loaded{};
    if (!readWholeFile(path, loaded.data(), ScreenSize)) {
        showError("error reading file!");
        return;
    }
    std::copy(loaded.begin(), loaded.end(), ScreenBuffer);
    renderPanes(-1, -1);
    CurrentFileName = path;
}

void saveScreenFile() {
    if (!writeWholeFile(CurrentFileName, ScreenBuffer, ScreenSize)) {
        showError("error saving file!");
    }
}

void saveSplitFiles() {
    if (CurrentFileName.empty()) {
        showError("load screen first!");
        return;
    }
    const bool bitmapSaved =
        writeWholeFile(splitBitmapName(CurrentFileName), ScreenBuffer, BitmapSize);
    const bool attributesSaved = writeWholeFile(splitAttributeName(CurrentFileName),
                                                ScreenBuffer + AttributeStart, AttributeSize);
    if (!bitmapSaved || !attributesSaved) {
        showError("error saving file!");
    }
}
