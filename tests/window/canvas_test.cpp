#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "platform/drawing.h"
#include "services_fixture.h"

#include <ostream>

namespace {

using ::testing::ElementsAre;

QWidget* pane(int gadget) {
    return gadgetWidget(gadget);
}

// Moves the pointer onto a pane and serves what that raised, so that the
// pane is tracked and the next action starts from a known state.
void enterPane(int gadget, QPoint position) {
    QTest::mouseMove(pane(gadget), position);
    serveQueuedEvents();
}

// The pane picture as the screen shows it right now, without letting Qt
// process anything first.
QImage shownPicture(int gadget) {
    QWidget* area = pane(gadget);
    QWindow* window = area->window()->windowHandle();
    const QPoint origin = area->mapTo(area->window(), QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), origin.x(), origin.y(), area->width(), area->height())
        .toImage();
}

class CanvasTest : public ServicesTest {
  protected:
    void SetUp() override {
        ServicesTest::SetUp();
        ASSERT_NE(openProgramLayout(), nullptr);
    }
};

TEST_F(CanvasTest, ABorderedCanvasHasAWhitePictureFourPixelsSmallerInsideItsEdge) {
    const QImage picture = canvasPicture(LeftPane);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(508, 380));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(507, 379), qRgb(255, 255, 255));
    // The drawable area starts inside the 2-pixel edge of the pane at (0, 20).
    QWidget* client = windowWidget(0)->centralWidget();
    EXPECT_EQ(pane(LeftPane)->mapTo(client, QPoint(0, 0)), QPoint(2, 22));
    EXPECT_EQ(pane(LeftPane)->size(), QSize(508, 380));
}

TEST_F(CanvasTest, ACanvasWithoutBorderIsDrawableToItsEdgeAndNeverSmallerThanOnePixel) {
    ASSERT_NE(createCanvas(7, 0, 0, 30, 10, 0), 0);
    EXPECT_EQ(canvasPicture(7).size(), QSize(30, 10));
    ASSERT_NE(createCanvas(8, 0, 0, 3, 0, CanvasBorder), 0);
    EXPECT_EQ(canvasPicture(8).size(), QSize(1, 1));
}

TEST_F(CanvasTest, TheFirstMovementIsAnEnterAndTheNextOnesAreMovesAtTheirPositions) {
    QTest::mouseMove(pane(LeftPane), QPoint(37, 45));
    QTest::mouseMove(pane(LeftPane), QPoint(100, 200));
    const std::vector<Served> served = serveQueuedEvents();
    ASSERT_EQ(served.size(), 2u);
    EXPECT_EQ(served[0].code, GadgetEvent);
    EXPECT_EQ(served[0].object, LeftPane);
    EXPECT_EQ(served[0].type, MouseEnter);
    EXPECT_EQ(served[0].pointerX, 37);
    EXPECT_EQ(served[0].pointerY, 45);
    EXPECT_EQ(served[1].type, MouseMove);
    EXPECT_EQ(served[1].pointerX, 100);
    EXPECT_EQ(served[1].pointerY, 200);
}

TEST_F(CanvasTest, LeavingAndComingBackGivesLeaveThenEnterAgain) {
    enterPane(LeftPane, QPoint(10, 10));
    // Into the gap between the panes, then back.
    QTest::mouseMove(windowWidget(0)->centralWidget(), QPoint(520, 200));
    QTest::mouseMove(pane(LeftPane), QPoint(20, 10));
    EXPECT_THAT(typesOf(serveQueuedEvents()), ElementsAre(MouseLeave, MouseEnter));
}

TEST_F(CanvasTest, MovingFromOnePaneToTheOtherLeavesTheFirstAndEntersTheSecond) {
    enterPane(LeftPane, QPoint(10, 10));
    QTest::mouseMove(pane(RightPane), QPoint(10, 10));
    const std::vector<Served> served = serveQueuedEvents();
    ASSERT_EQ(served.size(), 2u);
    EXPECT_EQ(served[0].object, LeftPane);
    EXPECT_EQ(served[0].type, MouseLeave);
    EXPECT_EQ(served[1].object, RightPane);
    EXPECT_EQ(served[1].type, MouseEnter);
}

TEST_F(CanvasTest, APressGivesTheDownTypeThenTheClickTypeAndTheReleaseTheUpType) {
    enterPane(LeftPane, QPoint(50, 60));
    QTest::mouseClick(pane(LeftPane), Qt::LeftButton, {}, QPoint(50, 60));
    QTest::mouseClick(pane(LeftPane), Qt::RightButton, {}, QPoint(50, 60));
    QTest::mouseClick(pane(LeftPane), Qt::MiddleButton, {}, QPoint(50, 60));
    const std::vector<Served> served = serveQueuedEvents();
    EXPECT_THAT(typesOf(served),
                ElementsAre(LeftButtonDown, LeftClick, LeftButtonUp, RightButtonDown, RightClick,
                            RightButtonUp, MiddleButtonDown, MiddleButtonUp));
    ASSERT_FALSE(served.empty());
    EXPECT_EQ(served[0].pointerX, 50);
    EXPECT_EQ(served[0].pointerY, 60);
}

TEST_F(CanvasTest, TheSecondPressOfADoubleClickIsADownFollowedByADoubleClick) {
    enterPane(LeftPane, QPoint(50, 60));
    QTest::mouseDClick(pane(LeftPane), Qt::LeftButton, {}, QPoint(50, 60));
    QTest::mouseRelease(pane(LeftPane), Qt::LeftButton, {}, QPoint(50, 60));
    EXPECT_THAT(typesOf(serveQueuedEvents()),
                ElementsAre(LeftButtonDown, LeftClick, LeftButtonUp, LeftButtonDown,
                            LeftDoubleClick, LeftButtonUp));
}

// While a button pressed on a pane is held, the pointer goes beyond its right
// edge and past the left edge of the other pane.
struct ClipCase {
    const char* name;
    int flags;
    int gadget;
    QPoint outside;         // in the pane's drawable-area pixels
    QPoint reportedInside;  // what a confined pane reports
};

void PrintTo(const ClipCase& c, std::ostream* out) {
    *out << c.name;
}

class PointerClipping : public ServicesTest, public ::testing::WithParamInterface<ClipCase> {};

TEST_P(PointerClipping, PositionsStayInsideOnlyWhileAButtonPressedOnAConfiningPaneIsHeld) {
    const ClipCase& c = GetParam();
    ASSERT_NE(openProgramLayout(c.flags), nullptr);
    enterPane(c.gadget, QPoint(100, 100));
    QTest::mousePress(pane(c.gadget), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(pane(c.gadget), c.outside);
    QTest::mouseRelease(pane(c.gadget), Qt::LeftButton, {}, c.outside);
    const std::vector<Served> served = serveQueuedEvents();
    ASSERT_EQ(typesOf(served),
              (std::vector<int>{LeftButtonDown, LeftClick, MouseMove, LeftButtonUp, MouseLeave}));
    const bool confining = (c.flags & CanvasClipPointer) != 0;
    const QPoint expected = confining ? c.reportedInside : c.outside;
    for (const std::size_t i : {2u, 3u}) {
        EXPECT_EQ(QPoint(served[i].pointerX, served[i].pointerY), expected) << "event " << i;
    }
}

const ClipCase clipCases[] = {
    {"ConfinedPastTheRightEdge", PaneFlags, LeftPane, QPoint(560, 390), QPoint(507, 379)},
    {"ConfinedPastTheLeftEdge", PaneFlags, RightPane, QPoint(-20, 5), QPoint(0, 5)},
    {"UnconfinedPastTheRightEdge", CanvasBorder, LeftPane, QPoint(560, 390), QPoint()},
};

INSTANTIATE_TEST_SUITE_P(Cases, PointerClipping, ::testing::ValuesIn(clipCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CanvasTest, PointerAttributesAreGivenOnlyForTheCurrentEventsOwnCanvas) {
    QTest::mouseMove(pane(LeftPane), QPoint(37, 45));
    ASSERT_EQ(nextQueuedEvent(), GadgetEvent);
    EXPECT_EQ(gadgetAttribute(LeftPane, PointerX), 37);
    EXPECT_EQ(gadgetAttribute(LeftPane, PointerY), 45);
    EXPECT_EQ(gadgetAttribute(RightPane, PointerX), 0);
    EXPECT_EQ(gadgetAttribute(FirstBox, PointerX), 0);
    EXPECT_EQ(gadgetAttribute(99, PointerX), 0);

    windowWidget(0)->menuBar()->actions().first()->menu()->actions().first()->trigger();
    ASSERT_EQ(nextQueuedEvent(), MenuEvent);
    EXPECT_EQ(gadgetAttribute(LeftPane, PointerX), 0);
    EXPECT_EQ(gadgetAttribute(LeftPane, PointerY), 0);
}

// Qt may deliver many movements inside one wait; they are served as one
// enter and one move at the latest position, so the program ends up at the
// cell under the pointer.
TEST_F(CanvasTest, ABurstOfMovementsIsServedAtTheLatestPosition) {
    QWidget* area = pane(LeftPane);
    for (int i = 0; i < 200; ++i) {
        const QPointF at(1 + i * 2, 1 + i);
        QCoreApplication::postEvent(
            area, new QMouseEvent(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton,
                                  Qt::NoButton, Qt::NoModifier));
    }
    ASSERT_EQ(waitEvent(), GadgetEvent);  // Qt delivers the whole burst inside this wait
    EXPECT_EQ(eventType(), MouseEnter);
    const std::vector<Served> rest = serveQueuedEvents();
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].type, MouseMove);
    EXPECT_EQ(rest[0].pointerX, 399);
    EXPECT_EQ(rest[0].pointerY, 200);
}

TEST_F(CanvasTest, ABurstOfRealPointerMovementsEndsAtTheLatestPosition) {
    for (int i = 0; i < 50; ++i) {
        QTest::mouseMove(pane(RightPane), QPoint(3 + 7 * i, 2 + 5 * i));
    }
    const std::vector<Served> served = serveQueuedEvents();
    ASSERT_FALSE(served.empty());
    EXPECT_EQ(served.back().type, MouseMove);
    EXPECT_EQ(served.back().pointerX, 3 + 7 * 49);
    EXPECT_EQ(served.back().pointerY, 2 + 5 * 49);
}

TEST_F(CanvasTest, StopDrawingShowsTheNewPictureBeforeItReturns) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(windowWidget(0)));
    QCoreApplication::processEvents();  // the first paint is done
    ASSERT_NE(startDrawing(canvasOutput(LeftPane)), 0);
    drawBox(0, 0, 512, 384, rgb(0, 0, 255));  // reaches past the picture: only 508 x 380 kept
    drawLine(0, 10, 600, 10, rgb(255, 0, 0));
    stopDrawing();
    const QImage shown = shownPicture(LeftPane);
    ASSERT_EQ(shown.size(), QSize(508, 380));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(507, 379), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(507, 10), qRgb(255, 0, 0));
    EXPECT_EQ(canvasPicture(LeftPane), shown.convertToFormat(QImage::Format_RGB32));
}

// The regions of the paint events a widget gets, in order.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    std::vector<QRegion> regions;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            regions.push_back(static_cast<QPaintEvent*>(event)->region());
        }
        return false;
    }
};

QRegion unionOf(const std::vector<QRegion>& regions) {
    QRegion all;
    for (const QRegion& region : regions) {
        all += region;
    }
    return all;
}

// A drawing that changes two small boxes far apart passes just the two
// 16 x 16 tiles they lie in to the window system, not the rectangle around
// them; a drawing that changes nothing passes nothing.
TEST_F(CanvasTest, AfterADrawingOnlyWhatChangedIsPassedToTheWindowSystem) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(windowWidget(0)));
    ASSERT_NE(startDrawing(canvasOutput(LeftPane)), 0);
    drawBox(0, 0, 508, 380, rgb(0, 0, 0));
    stopDrawing();
    QCoreApplication::processEvents();
    PaintRecorder recorder(pane(LeftPane));

    ASSERT_NE(startDrawing(canvasOutput(LeftPane)), 0);
    drawBox(0, 0, 508, 380, rgb(0, 0, 0));  // every pixel written, none changed
    drawBox(20, 3, 2, 2, rgb(255, 255, 255));
    drawBox(500, 370, 3, 1, rgb(255, 255, 255));
    stopDrawing();
    ASSERT_EQ(recorder.regions.size(), 1u);  // shown at once, in one go
    EXPECT_EQ(recorder.regions[0], QRegion(16, 0, 16, 16) + QRegion(496, 368, 12, 12));
    EXPECT_EQ(shownPicture(LeftPane).pixel(21, 4), qRgb(255, 255, 255));

    recorder.regions.clear();
    ASSERT_NE(startDrawing(canvasOutput(LeftPane)), 0);
    drawBox(20, 3, 2, 2, rgb(255, 255, 255));
    stopDrawing();
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.regions.empty());
}

// A pixel drawn over and given its old colour back in the same drawing, as a
// grid line drawn again over its cell, is no change.
TEST_F(CanvasTest, APixelGivenItsOldColourBackInOneDrawingIsNoChange) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(windowWidget(0)));
    ASSERT_NE(startDrawing(canvasOutput(LeftPane)), 0);
    drawLine(0, 32, 507, 32, rgb(0, 0, 255));
    stopDrawing();
    QCoreApplication::processEvents();
    PaintRecorder recorder(pane(LeftPane));
    ASSERT_NE(startDrawing(canvasOutput(LeftPane)), 0);
    drawBox(0, 30, 508, 4, rgb(255, 255, 255));
    drawLine(0, 32, 507, 32, rgb(0, 0, 255));
    drawBox(40, 100, 1, 1, rgb(9, 9, 9));
    stopDrawing();
    ASSERT_EQ(recorder.regions.size(), 1u);
    EXPECT_EQ(recorder.regions[0], QRegion(32, 96, 16, 16));
}

// Covering, exposing, minimising and restoring show the whole picture.
TEST_F(CanvasTest, AnExposeStillShowsTheWholePicture) {
    QMainWindow* window = windowWidget(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_NE(startDrawing(canvasOutput(LeftPane)), 0);
    drawBox(0, 0, 508, 380, rgb(0, 128, 0));
    stopDrawing();
    PaintRecorder recorder(pane(LeftPane));
    window->hide();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QCoreApplication::processEvents();
    EXPECT_EQ(unionOf(recorder.regions), QRegion(0, 0, 508, 380));
    EXPECT_EQ(shownPicture(LeftPane).convertToFormat(QImage::Format_RGB32),
              canvasPicture(LeftPane));
}

TEST_F(CanvasTest, ThePictureKeepsWhatWasDrawnAcrossDrawings) {
    ASSERT_NE(startDrawing(canvasOutput(RightPane)), 0);
    drawBox(5, 5, 1, 1, rgb(1, 2, 3));
    stopDrawing();
    ASSERT_NE(startDrawing(canvasOutput(RightPane)), 0);
    drawBox(6, 5, 1, 1, rgb(4, 5, 6));
    stopDrawing();
    EXPECT_EQ(canvasPicture(RightPane).pixel(5, 5), qRgb(1, 2, 3));
    EXPECT_EQ(canvasPicture(RightPane).pixel(6, 5), qRgb(4, 5, 6));
}

TEST_F(CanvasTest, OnlyACanvasIsADrawingTarget) {
    EXPECT_NE(canvasOutput(LeftPane), canvasOutput(RightPane));
    EXPECT_EQ(canvasOutput(FirstBox), 0u);
    EXPECT_EQ(canvasOutput(99), 0u);
    EXPECT_EQ(startDrawing(canvasOutput(FirstBox)), 0);
}

}  // namespace
