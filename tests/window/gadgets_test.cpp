#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <memory>
#include <ostream>
#include <string>

#include "services_fixture.h"

namespace {

class GadgetsTest : public ServicesTest {
  protected:
    void SetUp() override {
        ServicesTest::SetUp();
        ASSERT_NE(openProgramLayout(), nullptr);
    }
};

QCheckBox* checkBox(int gadget) {
    return qobject_cast<QCheckBox*>(gadgetWidget(gadget));
}

// A click on the box itself (the widget is wider than its box and label).
void clickBox(int gadget) {
    QCheckBox* box = checkBox(gadget);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

TEST_F(GadgetsTest, ACheckboxClickIsAGadgetEventOfTypeZeroAndTheStateFollowsIt) {
    EXPECT_EQ(gadgetState(SecondBox), 0);
    clickBox(SecondBox);
    ASSERT_EQ(nextQueuedEvent(), GadgetEvent);
    EXPECT_EQ(eventGadgetNumber(), SecondBox);
    EXPECT_EQ(eventType(), 0);
    EXPECT_EQ(gadgetState(SecondBox), 1);

    clickBox(SecondBox);
    ASSERT_EQ(nextQueuedEvent(), GadgetEvent);
    EXPECT_EQ(gadgetState(SecondBox), 0);
    EXPECT_EQ(nextQueuedEvent(), std::nullopt);
}

TEST_F(GadgetsTest, TwoQuickClicksAreTwoEvents) {
    clickBox(FirstBox);
    clickBox(FirstBox);
    EXPECT_EQ(serveQueuedEvents().size(), 2u);
}

TEST_F(GadgetsTest, TheSpaceBarTogglesTheFocusedCheckbox) {
    checkBox(FirstBox)->setFocus();
    QTest::keyClick(checkBox(FirstBox), Qt::Key_Space);
    ASSERT_EQ(nextQueuedEvent(), GadgetEvent);
    EXPECT_EQ(eventGadgetNumber(), FirstBox);
    EXPECT_EQ(eventType(), 0);
    EXPECT_EQ(gadgetState(FirstBox), 1);
}

TEST_F(GadgetsTest, StatesAreOneZeroAndMinusOneAndZeroForGadgetsWithout) {
    checkBox(FirstBox)->setTristate(true);
    checkBox(FirstBox)->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(gadgetState(FirstBox), -1);
    checkBox(FirstBox)->setCheckState(Qt::Checked);
    EXPECT_EQ(gadgetState(FirstBox), 1);
    EXPECT_EQ(gadgetState(LeftPane), 0);
    EXPECT_EQ(gadgetState(99), 0);
    EXPECT_EQ(gadgetAttribute(FirstBox, CanvasImageAttribute), 0);
}

TEST_F(GadgetsTest, GadgetsNeedAnOpenWindow) {
    shutdownServices();
    ASSERT_TRUE(initServices());
    EXPECT_EQ(createCanvas(0, 0, 0, 10, 10, 0), 0);
    EXPECT_EQ(createCheckBox(2, 0, 0, 10, 10, "x"), 0);
    EXPECT_EQ(gadgetWidget(0), nullptr);
}

// A drag of files onto a widget, as the window system delivers it.
class Drag {
  public:
    Drag(const QList<QUrl>& urls, Qt::DropActions offered) : offered_(offered) {
        data_.setUrls(urls);
    }

    // Whether the widget, or a parent that Qt passes the drag on to, takes it.
    bool enter(QWidget* widget) {
        QDragEnterEvent event(QPoint(5, 5), offered_, &data_, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
        effect_ = event.dropAction();
        return event.isAccepted();
    }

    bool drop(QWidget* widget) {
        QDropEvent event(QPointF(5, 5), offered_, &data_, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
        return event.isAccepted();
    }

    Qt::DropAction effect() const { return effect_; }

  private:
    QMimeData data_;
    Qt::DropActions offered_;
    Qt::DropAction effect_ = Qt::IgnoreAction;
};

QUrl localFile(const std::string& bytes) {
    return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(bytes)));
}

const QList<QUrl> threeFiles{localFile("/tmp/first.scr"), localFile("/tmp/with space.scr"),
                             localFile("/tmp/\xc3\xa9t\xc3\xa9.scr")};

TEST_F(GadgetsTest, ThreeFilesDroppedOnAPaneArriveInOrderJoinedByLineFeeds) {
    acceptDropOnGadget(LeftPane, DropFormatFiles, DropActionCopy);
    Drag drag(threeFiles, Qt::CopyAction | Qt::MoveAction);
    ASSERT_TRUE(drag.enter(gadgetWidget(LeftPane)));
    EXPECT_EQ(drag.effect(), Qt::CopyAction);
    ASSERT_TRUE(drag.drop(gadgetWidget(LeftPane)));

    ASSERT_EQ(nextQueuedEvent(), GadgetDropEvent);
    EXPECT_EQ(eventGadgetNumber(), LeftPane);
    EXPECT_EQ(droppedFiles(), "/tmp/first.scr\n/tmp/with space.scr\n/tmp/\xc3\xa9t\xc3\xa9.scr");
    EXPECT_EQ(nextQueuedEvent(), std::nullopt);
}

TEST_F(GadgetsTest, AddressesThatAreNotLocalFilesAreLeftOut) {
    acceptDropOnGadget(RightPane, DropFormatFiles, DropActionCopy);
    Drag drag({QUrl("https://example.org/a.scr"), localFile("/tmp/b.scr")}, Qt::CopyAction);
    ASSERT_TRUE(drag.enter(gadgetWidget(RightPane)));
    ASSERT_TRUE(drag.drop(gadgetWidget(RightPane)));
    ASSERT_EQ(nextQueuedEvent(), GadgetDropEvent);
    EXPECT_EQ(droppedFiles(), "/tmp/b.scr");

    Drag remote({QUrl("https://example.org/a.scr")}, Qt::CopyAction);
    EXPECT_FALSE(remote.enter(gadgetWidget(RightPane)));
}

struct Refusal {
    const char* name;
    int acceptingGadget;  // the pane drop is enabled on
    int actions;          // its actions
    int target;           // where the files are dropped
    Qt::DropActions offered;
};

void PrintTo(const Refusal& c, std::ostream* out) {
    *out << c.name;
}

class DropRefusal : public GadgetsTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(DropRefusal, RefusesTheDragAndRaisesNothing) {
    const Refusal& r = GetParam();
    acceptDropOnGadget(r.acceptingGadget, DropFormatFiles, DropActionCopy);
    acceptDropOnGadget(r.acceptingGadget, DropFormatFiles, r.actions);
    QWidget* target = r.target < 0 ? windowWidget(0)->centralWidget() : gadgetWidget(r.target);
    Drag drag(threeFiles, r.offered);
    EXPECT_FALSE(drag.enter(target));
    EXPECT_FALSE(drag.drop(target));
    EXPECT_EQ(nextQueuedEvent(), std::nullopt);
}

const Refusal refusals[] = {
    {"OnACheckbox", LeftPane, DropActionCopy, SecondBox, Qt::CopyAction},
    {"OnTheWindowBackground", LeftPane, DropActionCopy, -1, Qt::CopyAction},
    {"OnAPaneThatDoesNotAcceptDrops", LeftPane, DropActionCopy, RightPane, Qt::CopyAction},
    {"WhenTheSourceOffersNoCopy", LeftPane, DropActionCopy, LeftPane, Qt::MoveAction},
    {"AfterTheFormatWasRemoved", LeftPane, 0, LeftPane, Qt::CopyAction},
};

INSTANTIATE_TEST_SUITE_P(Cases, DropRefusal, ::testing::ValuesIn(refusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GadgetsTest, DroppedFilesIsEmptyOutsideADropEvent) {
    EXPECT_EQ(droppedFiles(), "");
    clickBox(FirstBox);
    ASSERT_EQ(nextQueuedEvent(), GadgetEvent);
    EXPECT_EQ(droppedFiles(), "");

    acceptDropOnGadget(LeftPane, DropFormatFiles, DropActionCopy);
    Drag drag(threeFiles, Qt::CopyAction);
    ASSERT_TRUE(drag.enter(gadgetWidget(LeftPane)));
    ASSERT_TRUE(drag.drop(gadgetWidget(LeftPane)));
    clickBox(FirstBox);
    ASSERT_EQ(nextQueuedEvent(), GadgetDropEvent);
    EXPECT_NE(droppedFiles(), "");
    ASSERT_EQ(nextQueuedEvent(), GadgetEvent);  // the drop record went with its event
    EXPECT_EQ(droppedFiles(), "");
}

TEST_F(GadgetsTest, AcceptingDropOnAnUnusedNumberOrWithFormatZeroDoesNothing) {
    acceptDropOnGadget(99, DropFormatFiles, DropActionCopy);
    acceptDropOnGadget(LeftPane, 0, DropActionCopy);
    Drag drag(threeFiles, Qt::CopyAction);
    EXPECT_FALSE(drag.enter(gadgetWidget(LeftPane)));
}

}  // namespace
