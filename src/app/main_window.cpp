#include "app/main_window.h"

#include "platform/gadgets.h"
#include "platform/window.h"

namespace {

constexpr int MenuBar = 0;
constexpr std::uint32_t WindowFlags = WindowTitleBar | WindowSystemMenu | WindowSizable;
// A bordered canvas that keeps the pointer while a button pressed on it is held.
constexpr int PaneFlags = CanvasBorder | CanvasClipPointer;

void buildMenus() {
    addMenuTitle("File");
    addMenuItem(OpenItem, "Open..\tCtrl+O");
    addMenuItem(SaveItem, "Save\tCtrl+S");
    addMenuSeparator();
    addMenuItem(QuitItem, "Quit\tCtrl+Q");
    addMenuTitle("Operations");
    addMenuItem(OptimizeItem, "Optimize");
    addMenuItem(InvertItem, "Invert");
    addMenuItem(SaveSplitItem, "Save picture+attributes");
}

}  // namespace

void buildMainWindow() {
    static_assert(WindowFlags == 0xCC0000);
    if (openWindow(MainWindow, 381, 118, 1073, 510, "New window ( 0 )", WindowFlags) == 0) {
        return;
    }
    if (createMenuBar(MenuBar, nativeWindowHandle(MainWindow)) != 0) {
        buildMenus();
    }
    createCanvas(MonoPane, 0, 20, 512, 384, PaneFlags);
    createCanvas(ColourPane, 530, 20, 512, 384, PaneFlags);
    createCheckBox(CorrectModeBox, 10, 0, 270, 20, "Correct Mode");
    createCheckBox(GridBox, 280, 0, 270, 20, "Grid");
}
