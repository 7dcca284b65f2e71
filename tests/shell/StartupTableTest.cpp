// "zelkora FILE.points": the table named on the command line opens after start-up as the
// open-table button opens the file chosen in its dialog.
#include <QFile>
#include <QPushButton>
#include <QTest>

#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "table/TableFile.h"
#include "tests/shell/ShellFixture.h"

namespace zelkora {

namespace {

class StartupTableTest : public ShellTest {
  protected:
    // A table with a point in column 0 and one in column 8, saved as t.points.
    QString savedTable() {
        PointTable table;
        fillHeaderRow(table);
        table.setCell(0, 1, QStringLiteral("48.5, 135.25"));
        table.setCell(8, 1, QStringLiteral("46.5, 115"));
        const QString name = path(QStringLiteral("t.points"));
        SaveStringGrid(table, name);
        return name;
    }
};

TEST_F(StartupTableTest, NamedTableOpensAndIsDrawnAsByTheButton) {
    const QString name = savedTable();
    TmainForm& form = open();
    const int assemblies = form.assemblies();
    form.openStartupTables({name});
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join('\n').toStdString();
    EXPECT_EQ(form.assemblies(), assemblies + 1);
    EXPECT_EQ(form.points.num, 2);
    const QStringList opened = cells();

    QTest::mouseClick(form.bNewMap, Qt::LeftButton);
    tableName_ = name;
    QTest::mouseClick(form.bOpenProject, Qt::LeftButton);
    EXPECT_EQ(cells(), opened);
    EXPECT_EQ(form.points.num, 2);
}

TEST_F(StartupTableTest, NoNameChangesNothing) {
    TmainForm& form = open();
    const QStringList before = cells();
    const int assemblies = form.assemblies();
    const int passes = form.markerPasses();
    form.openStartupTables({});
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(form.assemblies(), assemblies);
    EXPECT_EQ(form.markerPasses(), passes);
    EXPECT_TRUE(errors_.isEmpty());
}

// A file that does not read gives the button's error box and leaves the table and the map as
// they were; so does a second name, which the window cannot honour.
TEST_F(StartupTableTest, UnreadableTableShowsTheButtonsErrorAndKeepsTheTable) {
    QFile garbage(path(QStringLiteral("garbage.points")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("nine\r\n70\r\n");
    garbage.close();
    const QString good = savedTable();
    struct Case {
        const char* name;
        QStringList fileNames;
        QString buttonFile;  // empty: no button counterpart
    };
    const Case cases[] = {
        {"missing file",
         {path(QStringLiteral("none.points"))},
         path(QStringLiteral("none.points"))},
        {"not a table", {garbage.fileName()}, garbage.fileName()},
        {"a folder", {dataDir()}, dataDir()},
        {"two names", {good, good}, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors_.clear();
        TmainForm& form = open();
        const QStringList before = cells();
        const int assemblies = form.assemblies();
        form.openStartupTables(c.fileNames);
        ASSERT_EQ(errors_.size(), 1);
        EXPECT_EQ(cells(), before);
        EXPECT_EQ(form.assemblies(), assemblies);
        EXPECT_TRUE(form.isVisible());
        if (!c.buttonFile.isEmpty()) {
            tableName_ = c.buttonFile;
            QTest::mouseClick(form.bOpenProject, Qt::LeftButton);
            ASSERT_EQ(errors_.size(), 2);
            EXPECT_EQ(errors_[0], errors_[1]);
        } else {
            EXPECT_TRUE(errors_[0].contains(QStringLiteral("только одну таблицу")))
                << errors_[0].toStdString();
        }
    }
}

}  // namespace

}  // namespace zelkora
