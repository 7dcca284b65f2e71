// What the window keeps for the user: the question before a changed table is lost on close, the
// title that names the table's file and says it changed, and the settings remembered between
// runs.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include "mapimage/DataPaths.h"
#include "shell/StringGrid.h"
#include "shell/WrapCheckBox.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "table/TableFile.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

class WindowStateTest : public ShellTest {
  protected:
    // A cell typed below the last one of column 0.
    static void addPoint(TmainForm& form, const char* cell) {
        form.changeTable(QStringLiteral("Ввод в ячейку"), [cell](PointTable& t) {
            int row = 1;
            while (!t.cell(0, row).isEmpty()) {
                ++row;
            }
            t.setCell(0, row, QString::fromLatin1(cell));
        });
    }

    static QSettings settings() {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zelkora"),
                         QStringLiteral("zelkora"));
    }
};

// Отмена keeps the window open with its table; Нет closes it and writes nothing; Да saves the
// table through the save dialog (a cancelled dialog keeps the window open) or, once it has a
// file, to that file. The title names the file and marks a change with an asterisk.
TEST_F(WindowStateTest, ClosingAChangedTableAsksWhetherToSaveIt) {
    TmainForm& form = open();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zelkora v0.2"));
    addPoint(form, "48.5, 135.25");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Новая таблица* — Zelkora v0.2"));

    saveAnswer_ = TmainForm::SaveAnswer::Cancel;
    EXPECT_FALSE(form.close());
    EXPECT_EQ(saveQuestions_, 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.StringGrid1->table().cell(0, 1), QStringLiteral("48.5, 135.25"));

    // Да with the save dialog cancelled: nothing is saved, the window stays.
    saveAnswer_ = TmainForm::SaveAnswer::Save;
    tableName_.clear();
    EXPECT_FALSE(form.close());
    EXPECT_EQ(saveQuestions_, 2);
    EXPECT_TRUE(form.isVisible());

    // Да with a name: the table is saved there and the window closes.
    tableName_ = path(QStringLiteral("saved.points"));
    EXPECT_TRUE(form.close());
    EXPECT_EQ(saveQuestions_, 3);
    EXPECT_FALSE(form.isVisible());
    PointTable saved;
    LoadStringGrid(saved, tableName_);
    EXPECT_EQ(saved.cell(0, 1), QStringLiteral("48.5, 135.25"));

    // The table opened again has its file: Да writes to it without the dialog.
    TmainForm& again = open();
    tableName_ = path(QStringLiteral("saved.points"));
    QTest::mouseClick(again.bOpenProject, Qt::LeftButton);
    EXPECT_EQ(again.windowTitle(), QStringLiteral("saved.points — Zelkora v0.2"));
    EXPECT_TRUE(again.close()) << "an unchanged table asks nothing";
    EXPECT_EQ(saveQuestions_, 3);

    TmainForm& third = open();
    QTest::mouseClick(third.bOpenProject, Qt::LeftButton);
    addPoint(third, "50, 140");
    EXPECT_EQ(third.windowTitle(), QStringLiteral("saved.points* — Zelkora v0.2"));
    tableName_ = path(QStringLiteral("elsewhere.points"));
    saveAnswer_ = TmainForm::SaveAnswer::Save;
    EXPECT_TRUE(third.close());
    EXPECT_EQ(saveQuestions_, 4);
    EXPECT_FALSE(QFile::exists(tableName_));
    LoadStringGrid(saved, path(QStringLiteral("saved.points")));
    EXPECT_EQ(saved.cell(0, 2), QStringLiteral("50, 140"));

    // Нет: closed, nothing written.
    TmainForm& fourth = open();
    addPoint(fourth, "51, 141");
    saveAnswer_ = TmainForm::SaveAnswer::Discard;
    EXPECT_TRUE(fourth.close());
    EXPECT_EQ(saveQuestions_, 5);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("elsewhere.points"))));
}

// "Changed" is measured against the table last saved or opened: undoing back to it, or a step
// that only switches the map, is no change; an empty table asks nothing.
TEST_F(WindowStateTest, ChangedMeansOtherCellsThanWhenSaved) {
    TmainForm& form = open();
    EXPECT_TRUE(form.close()) << "an empty table asks nothing";
    EXPECT_EQ(saveQuestions_, 0);

    TmainForm& again = open();
    addPoint(again, "48.5, 135.25");
    tableName_ = path(QStringLiteral("t.points"));
    QTest::mouseClick(again.bSeveProject, Qt::LeftButton);
    EXPECT_FALSE(again.tableChanged());
    EXPECT_EQ(again.windowTitle(), QStringLiteral("t.points — Zelkora v0.2"));
    addPoint(again, "50, 140");
    EXPECT_TRUE(again.tableChanged());
    const_cast<QUndoStack&>(again.undoStack()).undo();
    EXPECT_FALSE(again.tableChanged());
    EXPECT_EQ(again.windowTitle(), QStringLiteral("t.points — Zelkora v0.2"));
    // A switch of the map that keeps the table changes no cell.
    again.changeTable(
        QStringLiteral("map"), [](PointTable&) {}, kMapVietnam);
    EXPECT_EQ(again.cbMap->currentIndex(), kMapVietnam);
    EXPECT_FALSE(again.tableChanged());
    EXPECT_TRUE(again.close());
    EXPECT_EQ(saveQuestions_, 0);
}

// Without the hook the real message box asks, with its three buttons.
TEST_F(WindowStateTest, TheRealQuestionHasItsThreeAnswers) {
    TmainForm::Hooks hooks;
    hooks.dataDir = dataDir();
    hooks.errorBox = [this](const QString& message) { errors_ << message; };
    form_ = std::make_unique<TmainForm>(hooks);
    TmainForm& form = *form_;
    form.show();
    addPoint(form, "48.5, 135.25");
    // Answers the question once it shows, with the button of that caption.
    QStringList buttons;
    QString text;
    const auto answer = [&](const QString& caption) {
        auto* timer = new QTimer(&form);
        QObject::connect(timer, &QTimer::timeout, timer, [&, timer, caption] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible()) {
                    continue;
                }
                timer->stop();
                text = box->text();
                buttons.clear();
                QAbstractButton* chosen = nullptr;
                for (QAbstractButton* button : box->buttons()) {
                    buttons << button->text();
                    chosen = button->text() == caption ? button : chosen;
                }
                ASSERT_TRUE(chosen);
                chosen->click();
                timer->deleteLater();
                return;
            }
        });
        timer->start(10);
    };
    answer(QStringLiteral("Отмена"));
    EXPECT_FALSE(form.close());
    EXPECT_EQ(text, QStringLiteral("Сохранить изменения в таблице?"));
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"Да", "Нет", "Отмена"}));
    EXPECT_TRUE(form.isVisible());

    answer(QStringLiteral("Нет"));
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

// The map, the layers, the high-resolution maps, the marker size and red markers come back in
// the next run; the table does not.
TEST_F(WindowStateTest, SettingsAreRememberedAcrossRuns) {
    TmainForm& form = open();
    QTest::mouseClick(form.ch3, Qt::LeftButton);  // district boundaries on
    QTest::mouseClick(form.ch1, Qt::LeftButton);  // the grid off
    QTest::mouseClick(form.cbRedPoint, Qt::LeftButton);
    form.Edit3->setText(QStringLiteral("90"));
    form.cbMap->setCurrentIndex(kMapVietnam);
    addPoint(form, "10.5, 106.5");
    saveAnswer_ = TmainForm::SaveAnswer::Discard;
    ASSERT_TRUE(form.close());

    TmainForm& again = open();
    EXPECT_EQ(again.cbMap->currentIndex(), kMapVietnam);
    EXPECT_EQ(again.PAR, PAR_map[kMapVietnam]);
    EXPECT_FALSE(again.ch1->isChecked());
    EXPECT_TRUE(again.ch3->isChecked());
    EXPECT_TRUE(again.ch5->isChecked());
    EXPECT_TRUE(again.cbRedPoint->isChecked());
    EXPECT_EQ(again.Edit3->text(), QStringLiteral("90"));
    EXPECT_EQ(again.pntSize, 90);
    EXPECT_FALSE(again.cbHiRes->isChecked());
    EXPECT_EQ(again.StringGrid1->table().cell(0, 1), QString()) << "the table is not remembered";
    EXPECT_EQ(again.undoStack().count(), 0) << "the remembered map is no step to undo";
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

// A value the controls would not take gives the control's start-up value; the others are kept.
TEST_F(WindowStateTest, SettingsThatCannotBeReadFallBackToTheDefaults) {
    struct Case {
        const char* key;
        QVariant value;
    };
    const Case bad[] = {
        {"window/map", 2},
        {"window/map", -1},
        {"window/map", "Вьетнам"},
        {"window/layers", "1101"},
        {"window/layers", "11021"},
        {"window/layers", true},
        {"window/hires", "yes"},
        {"window/hires", 1},
        {"window/markerSize", 9},
        {"window/markerSize", 129},
        {"window/markerSize", "60px"},
        {"window/markerSize", ""},
        {"window/red", "maybe"},
    };
    // High-resolution maps, so that the remembered switch has something to show.
    for (const int map : {kMapVietnam, kMapFarEast}) {
        QDir().mkpath(mapFolderPath(dataDir(), kMapCaptions[map], true));
        filled(400, 600, kVietnam).SaveToFile(baseImagePath(dataDir(), kMapCaptions[map], true));
    }
    for (const Case& c : bad) {
        SCOPED_TRACE(c.key + std::string(" = ") + c.value.toString().toStdString());
        {
            QSettings s = settings();
            s.clear();
            // Every other setting is good and other than its default.
            s.setValue(QStringLiteral("window/map"), 0);
            s.setValue(QStringLiteral("window/layers"), QStringLiteral("00100"));
            s.setValue(QStringLiteral("window/hires"), true);
            s.setValue(QStringLiteral("window/markerSize"), 128);
            s.setValue(QStringLiteral("window/red"), true);
            s.setValue(QLatin1String(c.key), c.value);
        }
        TmainForm& form = open();
        const QString key = QLatin1String(c.key);
        EXPECT_EQ(form.cbMap->currentIndex(), key == "window/map" ? kMapFarEast : kMapVietnam);
        EXPECT_EQ(form.ch3->isChecked(), key != "window/layers");
        EXPECT_EQ(form.ch1->isChecked(), key == "window/layers");
        EXPECT_EQ(form.cbHiRes->isChecked(), key != "window/hires");
        EXPECT_EQ(form.pntSize, key == "window/markerSize" ? 60 : 128);
        EXPECT_EQ(form.cbRedPoint->isChecked(), key != "window/red");
        form_.reset();
    }
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

}  // namespace

}  // namespace zelkora
