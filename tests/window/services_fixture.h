// A fixture that brings the services layer up for one test and down after
// it, and helpers that read the event stream without blocking.
#pragma once

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/event_queue.h"
#include "platform/gadgets.h"
#include "platform/qt_access.h"
#include "platform/services.h"
#include "platform/window.h"

// The flags the program opens its window with: title bar, close button, sizable.
constexpr std::uint32_t ProgramWindowFlags = WindowTitleBar | WindowSystemMenu | WindowSizable;

// The program's gadget layout: two bordered panes that keep the pointer, two checkboxes.
constexpr int LeftPane = 0;
constexpr int RightPane = 1;
constexpr int FirstBox = 2;
constexpr int SecondBox = 3;
constexpr int PaneFlags = CanvasBorder | CanvasClipPointer;

// One served event as the program sees it through the accessors.
struct Served {
    int code;
    int object;
    int type;
    std::int32_t pointerX;  // the event's own canvas attributes, 0 when none apply
    std::int32_t pointerY;
};

class ServicesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(initServices()); }
    void TearDown() override { shutdownServices(); }

    // Opens a window the size of the program's and waits until it is the
    // active window, which shortcuts and keyboard focus need.
    static QMainWindow* openActiveWindow(int number, std::uint32_t flags = ProgramWindowFlags) {
        if (openWindow(number, 381, 118, 1073, 510, "test window", flags) == 0) {
            return nullptr;
        }
        QMainWindow* window = windowWidget(number);
        if (!QTest::qWaitForWindowActive(window)) {
            return nullptr;
        }
        return window;
    }

    // Window 0 laid out as the program lays out its own, with a menu bar.
    static QMainWindow* openProgramLayout(int paneFlags = PaneFlags) {
        if (openWindow(0, 381, 118, 1073, 510, "test window", ProgramWindowFlags) == 0 ||
            createMenuBar(0, nativeWindowHandle(0)) == 0) {
            return nullptr;
        }
        addMenuTitle("File");
        addMenuItem(0, "Open..\tCtrl+O");
        createCanvas(LeftPane, 0, 20, 512, 384, paneFlags);
        createCanvas(RightPane, 530, 20, 512, 384, paneFlags);
        createCheckBox(FirstBox, 10, 0, 270, 20, "Correct Mode");
        createCheckBox(SecondBox, 280, 0, 270, 20, "Grid");
        QMainWindow* window = windowWidget(0);
        return QTest::qWaitForWindowActive(window) ? window : nullptr;
    }
};

// The next queued event without blocking: a missing event fails the test
// instead of hanging it in the wait.
inline std::optional<int> nextQueuedEvent() {
    if (eventQueueEmpty()) {
        return std::nullopt;
    }
    return waitEvent();
}

// Serves every queued event, oldest first.
inline std::vector<Served> serveQueuedEvents() {
    std::vector<Served> served;
    while (const std::optional<int> code = nextQueuedEvent()) {
        const int gadget = eventGadgetNumber();
        served.push_back({*code, gadget, eventType(), gadgetAttribute(gadget, PointerX),
                          gadgetAttribute(gadget, PointerY)});
    }
    return served;
}

// The types of the served events, in order.
inline std::vector<int> typesOf(const std::vector<Served>& served) {
    std::vector<int> types;
    types.reserve(served.size());
    for (const Served& event : served) {
        types.push_back(event.type);
    }
    return types;
}
