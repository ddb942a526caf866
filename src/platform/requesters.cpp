// The message box and the open-file requester as modal Qt dialogs. Both are
// application-modal: every window of the program is blocked while one is open.

#include "platform/requesters.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <string_view>

namespace {

// The program's window in the foreground, or none when another program's
// window is in front (a dialog then has no owner).
QWidget* dialogOwner() {
    return QApplication::activeWindow();
}

// An open dialog that, like the platform's own, accepts a file that does not
// exist yet but not one in a folder that does not exist: the dialog stays open.
class OpenFileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty() && !QFileInfo(chosen.first()).absoluteDir().exists()) {
            return;
        }
        QFileDialog::accept();
    }
};

// One "|"-separated entry pair as a Qt name filter. Qt takes the masks from
// the last "(...)" of the text, so they are appended there; the dialog hides
// that part and shows the description exactly as given. "*.*" stands for
// every file, names without a dot included, which is Qt's "*".
QString nameFilter(const QString& description, const QString& filter) {
    QStringList masks;
    for (const QString& mask : filter.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = mask.trimmed();
        if (!trimmed.isEmpty()) {
            masks << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
        }
    }
    if (masks.isEmpty()) {
        masks << QStringLiteral("*");
    }
    return description + QLatin1String(" (") + masks.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// Descriptions and filters alternate; a description without its filter is dropped.
QStringList nameFilters(const std::string& pattern) {
    const QStringList parts = QString::fromLocal8Bit(pattern).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << nameFilter(parts[i], parts[i + 1]);
    }
    return filters;
}

// A name that could not be a file name in a folder is not offered as the preset.
bool usableFileName(std::string_view name) {
    for (const unsigned char c : name) {
        if (c < 32 ||
            std::string_view("\"\\/:*?<>|").find(static_cast<char>(c)) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

// Splits the default file at its last "/" or "\" into the starting folder and
// the preset name; without either, the whole text is the name.
void presetDefaultFile(QFileDialog& dialog, const std::string& defaultFile) {
    const std::size_t slash = defaultFile.find_last_of("/\\");
    std::string name = defaultFile;
    if (slash != std::string::npos) {
        const std::string folder =
            slash == 0 ? defaultFile.substr(0, 1) : defaultFile.substr(0, slash);
        dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(folder)));
        name = defaultFile.substr(slash + 1);
    }
    if (!name.empty() && usableFileName(name)) {
        dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(name)));
    }
}

}  // namespace

// `flags` is not read: every box has one OK button and no icon, the one style
// the program asks for (MessageBoxOk).
int messageBox(const std::string& title, const std::string& text, int /*flags*/) {
    if (QApplication::instance() == nullptr) {
        return 0;
    }
    QMessageBox box(dialogOwner());
    box.setWindowTitle(QString::fromLocal8Bit(title));
    box.setTextFormat(Qt::PlainText);  // a "<" in a message is just a character
    box.setText(QString::fromLocal8Bit(text));
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return 1;
}

std::string openFileRequester(const std::string& title, const std::string& defaultFile,
                              const std::string& pattern, int patternIndex) {
    if (QApplication::instance() == nullptr) {
        return {};
    }
    // Qt's own dialog behaves the same on every desktop; it never changes the
    // process's current directory.
    OpenFileDialog dialog(dialogOwner(), QString::fromLocal8Bit(title));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = nameFilters(pattern);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(patternIndex, filters.first()));
    }
    presetDefaultFile(dialog, defaultFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}
