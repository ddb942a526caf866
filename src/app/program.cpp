#include "app/program.h"

#include <cstdio>

#include "app/arguments.h"
#include "app/main_window.h"
#include "app/pane_interaction.h"
#include "display/panes.h"
#include "files/current_file.h"
#include "files/screen_files.h"
#include "platform/file_url.h"
#include "platform/gadgets.h"
#include "platform/memory.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/window.h"
#include "screen/layout.h"
#include "screen/operations.h"
#include "screen/screen_buffer.h"

int CurrentEventCode = 0;

namespace {

void reportStartFailure(const char* reason) {
    std::fprintf(stderr, "scrfix: %s\n", reason);
}

void releaseScreenBuffer() {
    freeMemory(ScreenBuffer);
    ScreenBuffer = nullptr;
}

void enableDropAndShortcuts() {
    acceptDropOnGadget(MonoPane, DropFormatFiles, DropActionCopy);
    acceptDropOnGadget(ColourPane, DropFormatFiles, DropActionCopy);
    bindShortcut(MainWindow, OpenShortcut, OpenItem);
    bindShortcut(MainWindow, SaveShortcut, SaveItem);
    bindShortcut(MainWindow, QuitShortcut, QuitItem);
}

void runMenuCommand(int item) {
    switch (item) {
        case OpenItem:
            openScreenFile();
            break;
        case SaveItem:
            saveScreenFile();
            break;
        case QuitItem:
            CurrentEventCode = CloseWindowEvent;
            break;
        case OptimizeItem:
            optimizeScreen(ScreenBuffer);
            renderPanes(-1, -1);
            break;
        case InvertItem:
            invertScreen(ScreenBuffer);
            renderPanes(-1, -1);
            break;
        case SaveSplitItem:
            saveSplitFiles();
            break;
        default:
            break;
    }
}

// Only the first of the dropped files is loaded; the rest are ignored.
void loadFirstDroppedFile() {
    loadScreenFile(stringField(droppedFiles(), 1, "\n"));
}

}  // namespace

bool startProgram() {
    CurrentEventCode = 0;
    if (!initServices()) {
        reportStartFailure("cannot start the graphical interface");
        return false;
    }
    ScreenBuffer = allocateMemory(ScreenSize);
    if (ScreenBuffer == nullptr) {
        reportStartFailure("not enough memory for the screen image");
        shutdownServices();
        return false;
    }
    CurrentFileName = "";
    buildMainWindow();
    if (nativeWindowHandle(MainWindow) == 0) {
        reportStartFailure("cannot open the main window");
        releaseScreenBuffer();
        shutdownServices();
        return false;
    }
    enableDropAndShortcuts();
    return true;
}

void loadStartFile(const std::string& argument) {
    loadScreenFile(localFileOfArgument(argument));
}

bool runLoopTurn() {
    // Separate tests in this order: Quit changes the code before the last one.
    CurrentEventCode = waitEvent();
    if (CurrentEventCode == MenuEvent) {
        runMenuCommand(eventMenuItem());
    }
    if (CurrentEventCode == GadgetDropEvent) {
        loadFirstDroppedFile();
    }
    if (CurrentEventCode == GadgetEvent) {
        const int gadget = eventGadgetNumber();
        if (gadget == GridBox) {
            renderPanes(-1, -1);
        } else if (gadget == MonoPane || gadget == ColourPane) {
            handlePaneEvent();
        }
    }
    return CurrentEventCode != CloseWindowEvent;
}

void endProgram() {
    releaseScreenBuffer();
    shutdownServices();
}

int runProgram(const std::vector<std::string>& arguments) {
    const StartArguments start = readStartArguments(arguments);
    if (start.action != StartAction::OpenWindow) {
        return answerWithoutWindow(start);
    }
    if (!startProgram()) {
        return 1;
    }
    if (start.file) {
        loadStartFile(*start.file);
    }
    while (runLoopTurn()) {
    }
    endProgram();
    return 0;
}
