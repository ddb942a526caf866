#include "platform/requesters.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QFileDialog>
#include <QListView>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <set>
#include <string>

#include "services_fixture.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

const std::string ProgramPattern = "All files (*.*)|*.*|ZX Spectrum screens (*.scr)|*.scr;*.bat";

// Runs `inspect` on the modal dialog as soon as it is open. The dialog must
// be closed by `inspect`; if it is not there the test fails instead of hanging.
void whenDialogOpens(const std::function<void(QWidget*)>& inspect) {
    auto attempts = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [inspect, attempts, poll] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog != nullptr && dialog->isVisible()) {
            inspect(dialog);
        } else if (++*attempts < 500) {
            QTimer::singleShot(10, *poll);
        } else {
            ADD_FAILURE() << "no dialog appeared";
        }
    };
    QTimer::singleShot(0, *poll);
}

class RequestersTest : public ServicesTest, protected ScratchFolder {
  protected:
    RequestersTest() : ScratchFolder("requester") {}

    void SetUp() override {
        ServicesTest::SetUp();
        ASSERT_NE(openActiveWindow(0), nullptr);
        for (const char* name : {"noext", "picture.scr", "notes.txt"}) {
            std::ofstream(folder() / name) << "x";
        }
    }
};

TEST_F(RequestersTest, AMessageBoxShowsTitleAndTextWithOneOkButtonAndNoIcon) {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    qsizetype buttons = 0;
    whenDialogOpens([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(messageBox("Error", "this is not ZX Spectrum picture!", MessageBoxOk), 1);
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(text, "this is not ZX Spectrum picture!");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, 1);
}

TEST_F(RequestersTest, TheRequesterReturnsTheChosenFullPathAndKeepsTheCurrentDirectory) {
    const fs::path before = fs::current_path();
    const fs::path chosen = folder() / "picture.scr";
    whenDialogOpens([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        files->selectFile(QString::fromStdString(chosen.string()));
        static_cast<QDialog*>(files)->accept();  // as the Open button does
    });
    EXPECT_EQ(openFileRequester("Please choose file to load", "", ProgramPattern, 0),
              chosen.string());
    EXPECT_EQ(fs::current_path(), before);
}

TEST_F(RequestersTest, CancellingTheRequesterReturnsTheEmptyText) {
    QString title;
    whenDialogOpens([&](QWidget* dialog) {
        title = dialog->windowTitle();
        qobject_cast<QDialog*>(dialog)->reject();
    });
    EXPECT_EQ(openFileRequester("Please choose file to load", "", ProgramPattern, 0), "");
    EXPECT_EQ(title, "Please choose file to load");
}

// The names the dialog lists as choosable in its starting folder, once it
// has read the folder.
std::set<std::string> choosableNames(QFileDialog& dialog, std::size_t atLeast) {
    auto* view = dialog.findChild<QListView*>("listView");
    std::set<std::string> names;
    for (int attempt = 0; view != nullptr && attempt < 300 && names.size() < atLeast; ++attempt) {
        QTest::qWait(10);
        names.clear();
        const QModelIndex root = view->rootIndex();
        QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(root); ++row) {
            const QModelIndex item = model->index(row, 0, root);
            if ((model->flags(item) & Qt::ItemIsEnabled) != 0) {
                names.insert(item.data().toString().toStdString());
            }
        }
    }
    return names;
}

struct FilterCase {
    const char* name;
    int patternIndex;
    std::set<std::string> shown;
};

void PrintTo(const FilterCase& c, std::ostream* out) {
    *out << c.name;
}

class RequesterFilters : public RequestersTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(RequesterFilters, ShowTheFilesTheirMasksMatch) {
    const FilterCase& c = GetParam();
    std::set<std::string> shown;
    QString preset;
    whenDialogOpens([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        shown = choosableNames(*files, c.shown.size());
        preset = files->selectedFiles().value(0);
        files->reject();
    });
    openFileRequester("t", (folder() / "picture.scr").string(), ProgramPattern, c.patternIndex);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(preset.toStdString(), (folder() / "picture.scr").string());
}

const FilterCase filterCases[] = {
    {"AllFilesIncludeNamesWithoutADot", 0, {"noext", "picture.scr", "notes.txt"}},
    {"ScreensOnly", 1, {"picture.scr"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RequesterFilters, ::testing::ValuesIn(filterCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
