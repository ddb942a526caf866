#include "program_driver.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <ostream>

#include "app/main_window.h"
#include "app/program.h"
#include "platform/event_queue.h"
#include "platform/qt_access.h"

std::ostream& operator<<(std::ostream& out, const ShownMessage& message) {
    return out << '"' << message.title << "\": \"" << message.text << '"';
}

DialogAnswerer::DialogAnswerer() : timer_(std::make_unique<QTimer>()) {
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { answer(); });
    timer_->start(5);
}

DialogAnswerer::~DialogAnswerer() = default;

void DialogAnswerer::answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages_.push_back({box->windowTitle().toStdString(), box->text().toStdString()});
        box->accept();
        return;
    }
    if (auto* requester = qobject_cast<QFileDialog*>(modal)) {
        requesterTitles_.push_back(requester->windowTitle().toStdString());
        if (requesterAnswers_.empty() || requesterAnswers_.front().empty()) {
            requester->reject();
        } else {
            requester->selectFile(QString::fromStdString(requesterAnswers_.front()));
            QMetaObject::invokeMethod(requester, "accept");  // the dialog's own checks run
        }
        if (!requesterAnswers_.empty()) {
            requesterAnswers_.pop_front();
        }
        return;
    }
    ADD_FAILURE() << "unexpected modal widget " << modal->metaObject()->className();
    modal->close();
}

bool serveEvents() {
    QCoreApplication::processEvents();
    while (!eventQueueEmpty()) {
        if (!runLoopTurn()) {
            return false;
        }
    }
    return true;
}

void chooseMenuItem(const QString& label) {
    for (QAction* title : windowWidget(MainWindow)->menuBar()->actions()) {
        if (title->menu() == nullptr) {
            continue;
        }
        for (QAction* item : title->menu()->actions()) {
            if (item->text().section(QLatin1Char('\t'), 0, 0) == label) {
                item->trigger();
                return;
            }
        }
    }
    ADD_FAILURE() << "no menu item " << label.toStdString();
}

QWidget* pane(int gadget) {
    return gadgetWidget(gadget);
}

QImage panePicture(int gadget) {
    return canvasPicture(gadget);
}

void movePointerOnto(int gadget, QPoint position) {
    // A move to where the pointer already is moves nothing, so the first
    // step lands one pixel beside the target, inside the pane.
    const QPoint beside(position.x() > 0 ? position.x() - 1 : position.x() + 1, position.y());
    QTest::mouseMove(pane(gadget), beside);
    QTest::mouseMove(pane(gadget), position);
}

void clickPane(int gadget, QPoint position) {
    QTest::mousePress(pane(gadget), Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseRelease(pane(gadget), Qt::LeftButton, Qt::NoModifier, position);
}

void dropFiles(QWidget* target, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    data.setUrls(urls);
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

void pressOnMainWindow(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* window = windowWidget(MainWindow);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, key, modifiers);
}

std::string windowTitleText() {
    return windowWidget(MainWindow)->windowTitle().toStdString();
}

std::vector<std::uint8_t> sampleScreen() {
    std::vector<std::uint8_t> screen(6912);
    for (std::size_t i = 0; i < screen.size(); ++i) {
        screen[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 255);
    }
    return screen;
}

void ProgramTest::SetUp() {
    ASSERT_TRUE(startProgram());
    // Shortcuts work only while the window is the active one.
    ASSERT_TRUE(QTest::qWaitForWindowActive(windowWidget(MainWindow)));
    dialogs_ = std::make_unique<DialogAnswerer>();
}

void ProgramTest::TearDown() {
    dialogs_.reset();
    endProgram();
}
