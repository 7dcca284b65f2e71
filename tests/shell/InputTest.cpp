// Ordinary habits cost no point: a stray wheel notch, keys typed fast after a click, keys typed
// after the focus rule has moved the focus, a size typed digit by digit, the table's own keys.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>

#include "shell/RadioGroup.h"
#include "shell/StringGrid.h"
#include "table/PointTable.h"
#include "tests/shell/ShellFixture.h"

namespace zelkora {

namespace {

class InputTest : public ShellTest {
  protected:
    // A wheel notch over control, delivered as the window system delivers it: to the window,
    // at the pointer's place.
    void wheel(QWidget* control, int notches) {
        QWindow* window = form_->windowHandle();
        const QPointF at = control->mapTo(form_.get(), control->rect().center());
        QWheelEvent event(at, form_->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window, &event);
    }

    // Keys queued together before the window handles any of them, as when the user types
    // faster than the window answers; each goes to whatever holds the focus when its turn comes.
    void typeAtOnce(const QString& text) {
        for (const QChar c : text) {
            const int key = c.toUpper().unicode();  // Qt's code of a digit, letter, sign, space
            QCoreApplication::postEvent(form_->windowHandle(),
                                        new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, c));
            QCoreApplication::postEvent(form_->windowHandle(),
                                        new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, c));
        }
        settle();
    }

    // Lets the focus rule tick, quickly.
    void tick() {
        form_->Timer1->setInterval(10);
        QTest::qWait(40);
    }
};

// Only a focused selector takes the wheel; the last case shows the wheel does reach it.
TEST_F(InputTest, WheelOverAnUnfocusedSelectorChangesNothing) {
    struct Case {
        const char* name;
        std::function<QWidget*(TmainForm&)> control;
    };
    const Case cases[] = {
        {"map selector", [](TmainForm& f) { return f.cbMap; }},
        {"marker type", [](TmainForm& f) { return f.rgType->button(4); }},
        {"slider", [](TmainForm& f) { return f.ScrollBar1; }},
        {"size field", [](TmainForm& f) { return f.Edit3; }},
    };
    TmainForm& form = open();
    form.edX->setText(QStringLiteral("48.5"));
    form.edY->setText(QStringLiteral("135.25"));
    QTest::mouseClick(form.bInsertOne, Qt::LeftButton);
    const auto state = [&] {
        return QStringList{form.cbMap->currentText(), QString::number(form.rgType->ItemIndex()),
                           QString::number(form.ScrollBar1->value()), form.Edit3->text(),
                           QString::number(form.pntSize)} +
               cells();
    };
    const QStringList before = state();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.edX->setFocus();
        wheel(c.control(form), 1);
        wheel(c.control(form), -2);
        EXPECT_EQ(state(), before);
        EXPECT_TRUE(form.edX->hasFocus()) << "the wheel took the focus";
    }
    form.ScrollBar1->setFocus();
    wheel(form.ScrollBar1, -1);
    EXPECT_NE(form.ScrollBar1->value(), 42);
    form.cbMap->setFocus();
    wheel(form.cbMap, 1);
    EXPECT_EQ(form.cbMap->currentText(), QStringLiteral("Вьетнам"));
}

// Keys typed right after a click, all queued before the first is handled, all arrive in
// order: a click on the current cell opens it at once, a click on another cell chooses it.
TEST_F(InputTest, KeysRightAfterAClickAllArrive) {
    struct Case {
        const char* name;
        int col, row;
    };
    const Case cases[] = {{"the current cell", 2, 3}, {"another cell", 5, 1}};
    TmainForm& form = open();
    StringGrid& grid = *form.StringGrid1;
    clickCell(2, 3);
    QTest::keyClick(&grid, Qt::Key_Escape);
    ASSERT_EQ(grid.currentIndex(), grid.model()->index(3, 2));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = QStringLiteral("11.11, 111.11");
        clickCell(c.col, c.row);
        typeAtOnce(text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        settle();
        EXPECT_EQ(grid.table().cell(c.col, c.row), text);
        clickCell(c.col, c.row);  // the next case starts from this cell
    }
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

// Once the focus rule has moved the focus, a key meant for the control before edits no cell;
// a cell the user chooses takes keys again.
TEST_F(InputTest, FocusRuleThenKeysChangesNoCell) {
    struct Case {
        const char* name;
        std::function<void(TmainForm&)> before;
        const char* keys;
    };
    const Case cases[] = {
        {"a layer box, then Space", [](TmainForm& f) { QTest::mouseClick(f.ch2, Qt::LeftButton); },
         " "},
        {"a new map, then digits",
         [](TmainForm& f) { QTest::mouseClick(f.bNewMap, Qt::LeftButton); }, "128"},
        {"the one-point button, then a point",
         [](TmainForm& f) { QTest::mouseClick(f.bInsertOne, Qt::LeftButton); }, "1, 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TmainForm& form = open();
        c.before(form);
        const QStringList before = cells();
        const bool layer = form.ch2->isChecked();
        tick();
        ASSERT_TRUE(form.StringGrid1->hasFocus());
        typeAtOnce(QString::fromLatin1(c.keys));
        EXPECT_FALSE(form.StringGrid1->EditorMode());
        EXPECT_EQ(cells(), before);
        EXPECT_EQ(form.ch2->isChecked(), layer);

        // An arrow key chooses a cell: typing edits it.
        QTest::keyClick(form.StringGrid1, Qt::Key_Down);
        typeAtOnce(QStringLiteral("7"));
        EXPECT_TRUE(form.StringGrid1->EditorMode());
    }
}

// The size field keeps the focus while the user types in it, and a number is clamped to the
// minimum only when the edit ends.
TEST_F(InputTest, SizeFieldTakesWhatIsTyped) {
    struct Case {
        const char* typed;
        std::function<void(TmainForm&)> end;
        const char* field;
        int size;
    };
    const auto enter = [](TmainForm& f) { QTest::keyClick(f.Edit3, Qt::Key_Return); };
    const auto leave = [](TmainForm& f) { f.edX->setFocus(); };
    const auto stay = [](TmainForm&) {};
    const Case cases[] = {
        {"45", stay, "45", 45}, {"100", stay, "100", 100}, {"5", stay, "5", 60},
        {"5", enter, "10", 10}, {"", leave, "10", 10},     {"500", stay, "128", 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TmainForm& form = open();
        form.Edit3->setFocus();
        form.Edit3->selectAll();
        QTest::keyClick(form.Edit3, Qt::Key_Delete);
        QTest::keyClicks(form.Edit3, QString::fromLatin1(c.typed));
        tick();
        EXPECT_TRUE(form.Edit3->hasFocus()) << "the focus rule took the field's focus";
        c.end(form);
        EXPECT_EQ(form.Edit3->text(), QString::fromLatin1(c.field));
        EXPECT_EQ(form.pntSize, c.size);
    }
}

TEST_F(InputTest, TableKeysClearCopyAndPaste) {
    TmainForm& form = open();
    PointTable& table = form.StringGrid1->table();
    for (int row = 1; row <= 3; ++row) {
        table.setCell(0, row, QStringLiteral("4%1, 13%1").arg(row));
        table.setCell(1, row, QStringLiteral("5%1, 14%1").arg(row));
    }
    clickCell(0, 1);
    QTest::mouseClick(form.StringGrid1->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      form.StringGrid1->visualRect(table.index(2, 1)).center());

    // Ctrl+C: the selected rectangle, tab-separated.
    QTest::keyClick(form.StringGrid1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("41, 131\t51, 141\n42, 132\t52, 142\n"));

    // Delete: the four cells at once, one undo step, which selects them again; Backspace the
    // same.
    for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
        QTest::keyClick(form.StringGrid1, key);
        EXPECT_EQ(table.cell(0, 1), QString());
        EXPECT_EQ(table.cell(1, 2), QString());
        EXPECT_EQ(table.cell(0, 3), QStringLiteral("43, 133"));
        EXPECT_EQ(form.points.num, 2);
        QTest::keyClick(form.StringGrid1, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(table.cell(1, 2), QStringLiteral("52, 142"));
        EXPECT_EQ(form.points.num, 5) << "41, 131 lies off the fixture's map";
    }

    // Ctrl+V: into the current cell's column, below its last point, whatever type is chosen.
    QGuiApplication::clipboard()->setText(QStringLiteral("43 146\n53,1 158,2\n"));
    clickCell(1, 1);
    QTest::keyClick(form.StringGrid1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(table.cell(1, 4), QStringLiteral("43.000000, 146.000000"));
    EXPECT_EQ(table.cell(1, 5), QStringLiteral("53.100000, 158.200000"));
    EXPECT_EQ(form.points.num, 7);

    // After the focus rule, neither key changes the table.
    QTest::mouseClick(form.cbRedPoint, Qt::LeftButton);
    tick();
    const QStringList before = cells();
    QTest::keyClick(form.StringGrid1, Qt::Key_Delete);
    QTest::keyClick(form.StringGrid1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cells(), before);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
}

}  // namespace

}  // namespace zelkora
