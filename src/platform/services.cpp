#include "platform/services.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QMessageLogContext>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/drawing.h"
#include "platform/event_queue.h"
#include "platform/files.h"
#include "platform/teardown.h"

namespace {

// The command line belongs to the program: Qt gets a fixed one instead,
// so nothing the user types can reach Qt's option parser. Qt keeps references
// to argc and argv for the application's lifetime, hence static storage.
int fixedArgc = 1;
char programName[] = "scrfix";
char* fixedArgv[] = {programName, nullptr};

std::unique_ptr<QApplication> application;

// The program keeps no state between runs, but Qt's own open dialog reads and
// writes the user's "QtProject" settings (its last folder, its view). For the
// session, user settings live in a folder of its own under the system's
// temporary folder, removed with everything in it at shutdown, so the
// requester behaves as usual within a run and nothing reaches $HOME.
std::unique_ptr<QTemporaryDir> settingsFolder;

void keepSettingsForTheSession() {
    settingsFolder = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                     QStringLiteral("/scrfix-session-XXXXXX"));
    // Should no folder be made, settings go under a file, where no folder can
    // be created: they are neither read nor written.
    const QString path =
        settingsFolder->isValid() ? settingsFolder->path() : QStringLiteral("/dev/null");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}

// Qt messages raised while the application starts are held back: when the
// start fails, the user gets one line naming the reason instead of Qt's
// several-line explanation and an abort; when it succeeds, they are passed on.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage> heldMessages;
bool starting = false;
bool handlerInstalled = false;
QtMessageHandler previousHandler = nullptr;

// The most telling line of a failed start: the platform's own complaint
// ("could not connect to display") if it gave one, else the fatal message.
QString startFailureReason(const QString& fatalText) {
    for (auto it = heldMessages.rbegin(); it != heldMessages.rend(); ++it) {
        if (it->type != QtDebugMsg && it->type != QtInfoMsg) {
            return it->text;
        }
    }
    return fatalText.section(QLatin1Char('\n'), 0, 0);
}

void passOn(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (previousHandler != nullptr) {
        previousHandler(type, context, text);
    }
}

// A fatal message means Qt is about to abort; the process ends here instead,
// with one line on stderr and a failure exit code, and without a core dump.
void handleQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const QString reason = starting ? startFailureReason(text) : text;
        std::fprintf(stderr, "scrfix: %s: %s\n",
                     starting ? "cannot start the graphical interface" : "fatal Qt error",
                     reason.toLocal8Bit().constData());
        std::fflush(stderr);
        settingsFolder.reset();
        std::_Exit(EXIT_FAILURE);
    }
    if (starting) {
        heldMessages.push_back({type, QByteArray(context.category), text});
        return;
    }
    passOn(type, context, text);
}

void passOnHeldMessages() {
    for (const HeldMessage& held : heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        passOn(held.type, context, held.text);
    }
    heldMessages.clear();
}

}  // namespace

bool initServices() {
    if (application) {
        return true;
    }
    if (QCoreApplication::instance() != nullptr) {
        return false;  // an application this layer does not own
    }
    // The resource lives in a static library; naming it keeps the linker from dropping it.
    Q_INIT_RESOURCE(scrfix_icon);
    keepSettingsForTheSession();
    previousHandler = qInstallMessageHandler(handleQtMessage);
    handlerInstalled = true;
    starting = true;
    application = std::make_unique<QApplication>(fixedArgc, fixedArgv);
    starting = false;
    passOnHeldMessages();
    QApplication::setQuitOnLastWindowClosed(false);
    resetEventQueue();
    return true;
}

bool shutdownServices() {
    const bool filesWritten = closeAllFiles();
    if (application) {
        shutdownDropSupport();
        shutdownWindows();
        stopDrawing();  // one still in progress can only be on an off-screen image now
    }
    resetEventQueue();
    application.reset();
    settingsFolder.reset();
    if (handlerInstalled) {
        qInstallMessageHandler(previousHandler);
        handlerInstalled = false;
    }
    return filesWritten;
}
