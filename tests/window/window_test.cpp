#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>

#include "services_fixture.h"

namespace {

constexpr std::uint32_t ControlO = ShortcutControl | 'O';
constexpr std::uint32_t ControlS = ShortcutControl | 'S';

// The item with the given id's position in the first drop-down.
QAction* firstMenuItem(QMainWindow* window, int index) {
    return window->menuBar()->actions().first()->menu()->actions().at(index);
}

class WindowTest : public ServicesTest {
  protected:
    void SetUp() override {
        ServicesTest::SetUp();
        window_ = openProgramLayout();
        ASSERT_NE(window_, nullptr);
    }
    QMainWindow* window_ = nullptr;
};

TEST_F(WindowTest, TheMenuBarTakesItsHeightFromTheClientAreaAndGadgetsSitBelowIt) {
    EXPECT_EQ(window_->size(), QSize(1073, 510));
    const int barHeight = window_->menuBar()->height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(window_->centralWidget()->geometry().top(), barHeight);
    EXPECT_EQ(gadgetWidget(LeftPane)->mapTo(window_, QPoint(0, 0)), QPoint(2, barHeight + 22));
}

TEST_F(WindowTest, TheWindowHasACloseButtonAndNoMinimiseOrMaximiseButton) {
    const Qt::WindowFlags flags = window_->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(WindowTest, AShortcutGivesTheSameMenuEventAsItsMenuItem) {
    bindShortcut(0, ControlO, 0);
    firstMenuItem(window_, 0)->trigger();
    QTest::keyClick(window_, Qt::Key_O, Qt::ControlModifier);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(nextQueuedEvent(), MenuEvent) << "event " << i;
        EXPECT_EQ(eventMenuItem(), 0);
        EXPECT_EQ(eventGadgetNumber(), 0);
        EXPECT_EQ(eventType(), -1);
    }
    EXPECT_EQ(nextQueuedEvent(), std::nullopt);
}

TEST_F(WindowTest, RebindingAChordReplacesItsEventNumber) {
    bindShortcut(0, ControlS, 1);
    bindShortcut(0, ControlS, 5);
    QTest::keyClick(window_, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(nextQueuedEvent(), MenuEvent);
    EXPECT_EQ(eventMenuItem(), 5);
    EXPECT_EQ(nextQueuedEvent(), std::nullopt);
}

TEST_F(WindowTest, AnUnboundChordOrAWindowThatIsNotOpenGivesNothing) {
    bindShortcut(7, ControlO, 0);
    QTest::keyClick(window_, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(nextQueuedEvent(), std::nullopt);
}

TEST_F(WindowTest, TabAndShiftTabMoveTheFocusBetweenCheckboxesAndRaiseNothing) {
    QWidget* first = gadgetWidget(FirstBox);
    QWidget* second = gadgetWidget(SecondBox);
    first->setFocus();
    ASSERT_TRUE(first->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(second->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(nextQueuedEvent(), std::nullopt);
}

TEST_F(WindowTest, AClosingRequestIsAnEventAndTheWindowStaysOpen) {
    window_->close();
    ASSERT_EQ(nextQueuedEvent(), CloseWindowEvent);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(windowWidget(0), window_);
}

TEST_F(WindowTest, TheTitleChangesOnlyForAnOpenWindowAndGivenText) {
    setWindowTitle(0, "x:1 y:2");
    EXPECT_EQ(window_->windowTitle(), "x:1 y:2");
    setWindowTitle(0, "");
    EXPECT_EQ(window_->windowTitle(), "x:1 y:2");
    setWindowTitle(3, "elsewhere");
    EXPECT_EQ(window_->windowTitle(), "x:1 y:2");
    EXPECT_EQ(windowWidget(3), nullptr);
}

// Identical events raised before the first is served are served as one.
TEST(EventQueue, AnEventIdenticalToTheNewestQueuedOneIsMergedIntoIt) {
    PlatformEvent move;
    move.code = GadgetEvent;
    move.type = 0x10003;
    move.canvas = CanvasEventData{};
    PlatformEvent laterMove = move;
    laterMove.canvas->pointerX = 42;
    PlatformEvent down = move;
    down.type = 0x10004;
    PlatformEvent otherGadget = move;
    otherGadget.object = 1;

    resetEventQueue();
    queueEvent(move);
    queueEvent(laterMove);    // merged: the entry now carries the later position
    queueEvent(down);         // another type
    queueEvent(move);         // not the same as the newest
    queueEvent(otherGadget);  // another gadget
    queueEvent(otherGadget, Collapse::Never);

    std::vector<std::pair<int, int>> served;  // (object, type)
    std::vector<int> positions;
    while (!eventQueueEmpty()) {
        takeNextEvent();
        served.emplace_back(currentEvent().object, currentEvent().type);
        positions.push_back(currentEvent().canvas ? currentEvent().canvas->pointerX : -1);
    }
    resetEventQueue();
    EXPECT_EQ(served, (std::vector<std::pair<int, int>>{
                          {0, 0x10003}, {0, 0x10004}, {0, 0x10003}, {1, 0x10003}, {1, 0x10003}}));
    EXPECT_EQ(positions.front(), 42);
}

TEST_F(WindowTest, ShuttingDownClosesTheWindowWithItsGadgetsAndQueuedEvents) {
    window_->close();
    QTest::mouseClick(gadgetWidget(FirstBox), Qt::LeftButton, {}, QPoint(6, 10));
    ASSERT_FALSE(eventQueueEmpty());
    shutdownServices();
    EXPECT_EQ(windowWidget(0), nullptr);
    EXPECT_EQ(gadgetWidget(LeftPane), nullptr);
    EXPECT_TRUE(eventQueueEmpty());
    ASSERT_TRUE(initServices());
}

}  // namespace
