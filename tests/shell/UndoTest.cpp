// Every change of the table is one undo step, and undoing a map switch brings back its map.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <functional>

#include "mapimage/DataPaths.h"
#include "shell/PictureView.h"
#include "shell/RadioGroup.h"
#include "shell/StringGrid.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "table/TableFile.h"
#include "tests/shell/ShellFixture.h"

namespace zelkora {

namespace {

class UndoTest : public ShellTest {
  protected:
    // The window with a point in column 0 (row 1) and one in column 4 (rows 1 and 2).
    TmainForm& openWithPoints() {
        TmainForm& form = open();
        addPoint(0, "48.5", "135.25");
        addPoint(4, "46.5", "115");
        addPoint(4, "50", "140");
        return form;
    }

    void addPoint(int type, const char* lat, const char* lon) {
        form_->rgType->setItemIndex(type);
        form_->edX->setText(QString::fromLatin1(lat));
        form_->edY->setText(QString::fromLatin1(lon));
        QTest::mouseClick(form_->bInsertOne, Qt::LeftButton);
    }

    // What undo must bring back: the table, the map and its constants, the markers.
    struct State {
        QStringList cells;
        int map;
        Tpar par;
        int points;
        int mapWidth;
    };
    State state() const {
        return {cells(), form_->cbMap->currentIndex(), form_->PAR, form_->points.num,
                form_->a.Width()};
    }
    // Redo is compared without the markers: the point count of a change is whatever its own
    // refresh drew, while undo and redo always draw anew.
    static void expectState(const State& got, const State& want, bool markers = true) {
        EXPECT_EQ(got.cells, want.cells);
        EXPECT_EQ(got.map, want.map);
        EXPECT_EQ(got.par, want.par);
        EXPECT_EQ(got.mapWidth, want.mapWidth);
        if (markers) {
            EXPECT_EQ(got.points, want.points);
        }
    }
};

TEST_F(UndoTest, EveryChangeOfTheTableUndoesAndRedoes) {
    struct Case {
        const char* name;
        std::function<void(TmainForm&)> change;
    };
    const Case cases[] = {
        {"a typed cell",
         [this](TmainForm&) {
             typeIntoCell(3, 1, QStringLiteral("48.5, 135.25"));
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
             settle();
         }},
        {"the paste button",
         [](TmainForm& form) {
             QGuiApplication::clipboard()->setText(QStringLiteral("43 146\n53,1 158,2\n"));
             form.rgType->setItemIndex(4);
             QTest::mouseClick(form.bInsertPoints, Qt::LeftButton);
         }},
        {"a paste with a line that gives no point",
         [](TmainForm& form) {
             QGuiApplication::clipboard()->setText(QStringLiteral("43 146\n1.2.3 4\n5 6\n"));
             QTest::mouseClick(form.bInsertPoints, Qt::LeftButton);
         }},
        {"the one-point entry", [this](TmainForm&) { addPoint(8, "46.5", "115"); }},
        {"a table opened",
         [this](TmainForm& form) {
             PointTable table;
             table.setShape(3, 5);
             table.setCell(1, 1, QStringLiteral("44, 132"));
             tableName_ = path(QStringLiteral("small.points"));
             SaveStringGrid(table, tableName_);
             QTest::mouseClick(form.bOpenProject, Qt::LeftButton);
         }},
        {"a map switch",
         [](TmainForm& form) {
             form.cbMap->setFocus();
             QTest::keyClick(form.cbMap, Qt::Key_Up);
         }},
        {"a new map", [](TmainForm& form) { QTest::mouseClick(form.bNewMap, Qt::LeftButton); }},
        {"cells cleared",
         [this](TmainForm&) {
             clickCell(4, 1);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ShiftModifier);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
         }},
        {"an import with its map",
         [](TmainForm& form) {
             form.changeTable(
                 QStringLiteral("Импорт"),
                 [](PointTable& table) {
                     table.replaceAll(9, 4, std::vector<QString>(36, QStringLiteral("10, 105")));
                 },
                 kMapVietnam);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors_.clear();
        TmainForm& form = openWithPoints();
        const State before = state();
        const int steps = form.undoStack().count();
        c.change(form);
        const State after = state();
        ASSERT_NE(after.cells, before.cells);
        EXPECT_EQ(form.undoStack().count(), steps + 1);

        QTest::keyClick(form.StringGrid1, Qt::Key_Z, Qt::ControlModifier);
        expectState(state(), before);
        QTest::keyClick(form.StringGrid1, Qt::Key_Y, Qt::ControlModifier);
        expectState(state(), after, false);
        // The table's context menu does the same.
        form.acUndo->trigger();
        expectState(state(), before);
        QTest::keyClick(form.StringGrid1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        expectState(state(), after, false);
    }
}

// A map switch that is undone brings back the map's own picture, not only its table.
TEST_F(UndoTest, UndoneMapSwitchShowsItsMapAgain) {
    TmainForm& form = openWithPoints();
    const TPngImage farEast = form.Image1->picture();
    form.cbMap->setFocus();
    QTest::keyClick(form.cbMap, Qt::Key_Up);
    ASSERT_EQ(form.a.Width(), 200);
    EXPECT_EQ(form.acUndo->text(), QStringLiteral("Отменить: Смена карты"));
    form.acUndo->trigger();
    EXPECT_EQ(form.cbMap->currentText(), QStringLiteral("Дальний Восток"));
    EXPECT_EQ(form.Image1->picture(), farEast);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

TEST_F(UndoTest, KeepsAHundredSteps) {
    TmainForm& form = open();
    const QStringList empty = cells();
    for (int i = 0; i < 100; ++i) {
        addPoint(i % 9, "48.5", "135.25");
    }
    for (int i = 0; i < 100; ++i) {
        form.acUndo->trigger();
    }
    EXPECT_EQ(cells(), empty);
    EXPECT_FALSE(form.acUndo->isEnabled());
    EXPECT_EQ(form.points.num, 0);
}

}  // namespace

}  // namespace zelkora
