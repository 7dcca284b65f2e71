// The map follows the points: points put into a table that held none take the map most of them
// fall on, in the same undo step, and the report says so; points that mostly fall on the other
// map of a table that holds points are offered that map, which the report's button switches to
// with the table kept, as one undo step.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUndoStack>

#include "mapimage/DataPaths.h"
#include "shell/ImportDialog.h"
#include "shell/OccurrenceFiles.h"
#include "shell/ReportBox.h"
#include "shell/StringGrid.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

// Three points on the fixture's small picture of Vietnam, and one on its Far East.
const char* const kVietnamPoints[] = {"9.000000, 102.500000", "9.500000, 103.000000",
                                      "10.000000, 102.500000"};
const char* const kFarEastPoint = "48.500000, 135.250000";

class MapChoiceTest : public ShellTest {
  protected:
    ReportBox* reportBox() const { return form_->findChild<ReportBox*>(); }
    const PointTable& table() const { return form_->StringGrid1->table(); }

    void paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::mouseClick(form_->bInsertPoints, Qt::LeftButton);
    }

    static QString lines() {
        QStringList all;
        for (const char* point : kVietnamPoints) {
            all << QLatin1String(point);
        }
        return all.join(QLatin1Char('\n')) + QLatin1Char('\n') + QLatin1String(kFarEastPoint);
    }
};

// An import into the empty table at start: the dialog offers Vietnam, where three of the four
// points lie (the fourth lies on the Far East and stays; a fifth, on neither map, is left out);
// the import and the switch are one step.
TEST_F(MapChoiceTest, AnImportIntoAnEmptyTableTakesTheMapOfMostOfItsPoints) {
    TmainForm& form = open();
    ASSERT_EQ(form.cbMap->currentIndex(), kMapFarEast);
    const QString csv = path(QStringLiteral("both.csv"));
    writeBytes(csv, ("species,lat,lon\nA," + QString::fromLatin1(kVietnamPoints[0]) + "\nB," +
                     kVietnamPoints[1] + "\nA," + kVietnamPoints[2] + "\nC," + kFarEastPoint +
                     "\nD,-33.9,18.4\n")
                        .toUtf8());
    OccurrenceFiles::Hooks hooks;
    hooks.importDialog = [](ImportDialog& dialog) {
        EXPECT_EQ(dialog.chosenMap(), kMapVietnam);
        EXPECT_EQ(dialog.cbMap->currentText(), QStringLiteral("Вьетнам — на ней 3 из 4 точек"))
            << "of the four that go in";
        EXPECT_TRUE(dialog.rbDrop->isChecked());
        EXPECT_EQ(dialog.rbDrop->text(), QStringLiteral("Не вставлять точки вне обеих карт (1)"));
        EXPECT_TRUE(dialog.commandLine().endsWith(QStringLiteral("--off-map drop")))
            << dialog.commandLine().toStdString();
        return true;
    };
    form.occurrenceFiles->setHooks(hooks);
    const int steps = form.undoStack().count();
    form.occurrenceFiles->openFiles({csv});
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();

    EXPECT_EQ(form.cbMap->currentIndex(), kMapVietnam);
    EXPECT_EQ(form.PAR, PAR_map[kMapVietnam]);
    EXPECT_EQ(form.undoStack().count(), steps + 1);
    EXPECT_EQ(table().cell(0, 1), QLatin1String(kVietnamPoints[0]));
    EXPECT_EQ(table().cell(0, 2), QLatin1String(kVietnamPoints[2]));
    EXPECT_EQ(table().cell(1, 1), QLatin1String(kVietnamPoints[1]));
    EXPECT_EQ(table().cell(2, 1), QLatin1String(kFarEastPoint)) << "kept for the other map";
    EXPECT_EQ(table().cell(3, 0), markerTypeNames()[3])
        << "the group wholly off both maps takes no column";
    EXPECT_EQ(form.points.num, 3);
    ASSERT_TRUE(reportBox());
    EXPECT_EQ(reportBox()->adviceText(),
              QStringLiteral("Выбрана карта «Вьетнам»: на ней 3 из 4 точек."));
    EXPECT_FALSE(reportBox()->adviceButton()->isVisible());
    EXPECT_TRUE(reportBox()->detailsText().contains(
        QStringLiteral("Точки вне обеих карт не вставлены: 1.")));

    form.acUndo->trigger();
    EXPECT_EQ(form.cbMap->currentIndex(), kMapFarEast);
    EXPECT_EQ(table().cell(0, 1), QString());
}

// A paste into the empty table goes onto the map its points fall on, in one step; its report
// checks the points against that map.
TEST_F(MapChoiceTest, APasteIntoAnEmptyTableTakesTheMapOfMostOfItsPoints) {
    TmainForm& form = open();
    const int steps = form.undoStack().count();
    paste(lines());
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(form.cbMap->currentIndex(), kMapVietnam);
    EXPECT_EQ(form.undoStack().count(), steps + 1);
    EXPECT_EQ(table().cell(0, 4), QLatin1String(kFarEastPoint)) << "a paste keeps every point";
    EXPECT_EQ(form.points.num, 3);
    ASSERT_TRUE(reportBox());
    EXPECT_EQ(reportBox()->adviceText(),
              QStringLiteral("Выбрана карта «Вьетнам»: на ней 3 из 4 точек."));
    EXPECT_TRUE(reportBox()->summaryText().contains(QStringLiteral("Вне карты: 1.")))
        << reportBox()->summaryText().toStdString();

    form.acUndo->trigger();
    EXPECT_EQ(form.cbMap->currentIndex(), kMapFarEast);
    EXPECT_EQ(table().cell(0, 1), QString());
}

// Points pasted into a table that holds points keep the map; the report offers the map most of
// them fall on, and its button switches to it with the table kept, as one step that undo takes
// back. Points that fall where they are shown get no advice.
TEST_F(MapChoiceTest, TheOtherMapIsOfferedAndSwitchedToWithTheTableKept) {
    TmainForm& form = open();
    paste(QLatin1String(kFarEastPoint));
    ASSERT_EQ(form.cbMap->currentIndex(), kMapFarEast);
    EXPECT_FALSE(reportBox()) << "a paste that went well on its own map says nothing";
    paste(QLatin1String(kFarEastPoint));
    EXPECT_FALSE(reportBox());

    QStringList vietnam;
    for (const char* point : kVietnamPoints) {
        vietnam << QLatin1String(point);
    }
    paste(vietnam.join(QLatin1Char('\n')));
    EXPECT_EQ(form.cbMap->currentIndex(), kMapFarEast);
    ASSERT_TRUE(reportBox());
    ASSERT_TRUE(reportBox()->isVisible());
    EXPECT_EQ(reportBox()->adviceText(),
              QStringLiteral("Из 3 точек на карте «Вьетнам» лежат 3, а на карте «Дальний "
                             "Восток» — 0."));
    QPushButton* button = reportBox()->adviceButton();
    ASSERT_TRUE(button->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral("Переключить на карту «Вьетнам»"));

    const QStringList before = cells();
    const int steps = form.undoStack().count();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(form.cbMap->currentIndex(), kMapVietnam);
    EXPECT_EQ(form.PAR, PAR_map[kMapVietnam]);
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(form.points.num, 3);
    EXPECT_EQ(form.undoStack().count(), steps + 1);
    EXPECT_EQ(form.acUndo->text(), QStringLiteral("Отменить: Переключение на карту «Вьетнам»"));
    EXPECT_FALSE(button->isVisible());
    EXPECT_TRUE(reportBox()->adviceText().startsWith(QStringLiteral("Показана карта «Вьетнам»")));

    form.acUndo->trigger();
    EXPECT_EQ(form.cbMap->currentIndex(), kMapFarEast);
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(form.points.num, 2);
}

}  // namespace

}  // namespace zelkora
