// Running the real program inside a test process: start-up in SetUp, loop
// turns on demand, input through QTest, and modal dialogs answered from a
// timer while the program waits in them.
#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class QImage;
class QWidget;

// What a message box showed.
struct ShownMessage {
    std::string title;
    std::string text;
    friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};
std::ostream& operator<<(std::ostream& out, const ShownMessage& message);

// Watches for modal dialogs: message boxes are recorded and closed with OK;
// each open requester takes the next queued answer (a path to choose, or ""
// to cancel) and is cancelled when none is queued.
class DialogAnswerer {
  public:
    DialogAnswerer();
    ~DialogAnswerer();
    void answerNextRequesterWith(const std::string& path) { requesterAnswers_.push_back(path); }
    const std::vector<ShownMessage>& messages() const { return messages_; }
    void forgetMessages() { messages_.clear(); }
    const std::vector<std::string>& requesterTitles() const { return requesterTitles_; }

  private:
    void answer();
    std::unique_ptr<QTimer> timer_;
    std::deque<std::string> requesterAnswers_;
    std::vector<ShownMessage> messages_;
    std::vector<std::string> requesterTitles_;
};

// Serves every event the program has been given so far, one loop turn each.
// False as soon as a turn ends the loop.
bool serveEvents();

// Chooses a menu item by its label as the user reads it (the text before a TAB).
void chooseMenuItem(const QString& label);

// The drawable area of pane `gadget`, and what it shows.
QWidget* pane(int gadget);
QImage panePicture(int gadget);

// Two movements ending at `position` on a pane: the first one only enters it.
void movePointerOnto(int gadget, QPoint position);
void clickPane(int gadget, QPoint position);

// Files dropped on a widget, as the desktop delivers them.
void dropFiles(QWidget* target, const std::vector<std::string>& paths);

// Presses a key chord on the main window once it is the active window again
// (a closed message box hands the activation back asynchronously).
void pressOnMainWindow(Qt::Key key, Qt::KeyboardModifiers modifiers);

// The main window's title.
std::string windowTitleText();

// A 6912-byte screen with every byte distinct from its neighbours' pattern.
std::vector<std::uint8_t> sampleScreen();

// The program started for each test and ended after it.
class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    DialogAnswerer& dialogs() { return *dialogs_; }

  private:
    std::unique_ptr<DialogAnswerer> dialogs_;
};
