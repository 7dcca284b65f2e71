// The window's save dialogs, driven as a user drives them: a name typed or clicked in the list
// that is a file already. No dialog may replace it without the user's yes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <ostream>

#include "shell/FileDialogs.h"

namespace zelkora {
namespace {

struct SaveDialogCase {
    const char* name;
    const char* existing;          // the file there already, chosen in the dialog
    std::function<QString()> run;  // opens the dialog; the chosen name, empty when cancelled
};

void PrintTo(const SaveDialogCase& dialog, std::ostream* out) {
    *out << dialog.name;
}

std::vector<SaveDialogCase> saveDialogs() {
    return {
        {"Table", "mine.points", [] { return FileDialogs::saveTableName(nullptr); }},
        {"Picture", "map.png",
         [] {
             const auto target = FileDialogs::savePictureName(nullptr, {});
             return target ? target->fileName : QString();
         }},
        {"Figure", "figure.tif",
         [] {
             const auto target = FileDialogs::saveFigureName(nullptr, {});
             return target ? target->fileName : QString();
         }},
        {"Points", "records.csv",
         [] {
             const auto target = FileDialogs::exportPointsName(nullptr);
             return target ? target->fileName : QString();
         }},
    };
}

QFileDialog* openFileDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

struct Asked {
    bool asked = false;
    QString text;
    bool noByDefault = false;
};

// Chooses `path` in the open save dialog and answers the question about replacing it with
// `answer`; a dialog still open after a "no" is then cancelled.
void chooseExisting(const QString& path, QMessageBox::StandardButton answer, Asked& asked) {
    QTimer::singleShot(0, [path, answer, &asked] {
        QFileDialog* dialog = openFileDialog();
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(0, [answer, &asked] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            asked.asked = true;
            asked.text = box->text();
            asked.noByDefault = box->defaultButton() == box->button(QMessageBox::No);
            box->button(answer)->click();
        });
        dialog->selectFile(path);
        // What the dialog's "Сохранить" does (accept() is not public).
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

class SaveDialogTest : public testing::TestWithParam<SaveDialogCase> {
  protected:
    void SetUp() override {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        path_ = dir_.filePath(QString::fromLatin1(GetParam().existing));
        QFile file(path_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("what the user had");
    }

    QTemporaryDir dir_;
    QString path_;
};

TEST_P(SaveDialogTest, AsksBeforeAFileIsReplacedAndNoKeepsIt) {
    Asked asked;
    chooseExisting(path_, QMessageBox::No, asked);
    EXPECT_TRUE(GetParam().run().isEmpty());
    EXPECT_TRUE(asked.asked);
    EXPECT_TRUE(asked.text.contains(QString::fromLatin1(GetParam().existing)))
        << asked.text.toStdString();
    EXPECT_TRUE(asked.noByDefault);

    chooseExisting(path_, QMessageBox::Yes, asked);
    EXPECT_EQ(GetParam().run(), path_);
}

INSTANTIATE_TEST_SUITE_P(FileDialogs, SaveDialogTest, testing::ValuesIn(saveDialogs()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelkora
