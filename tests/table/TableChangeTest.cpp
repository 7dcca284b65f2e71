#include <gtest/gtest.h>

#include "tests/table/QtPrinters.h"

#include <functional>

#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "table/TableChange.h"

namespace zelkora {

namespace {

// Shape and every cell, for comparing whole tables.
QStringList contents(const PointTable& table) {
    QStringList all = {QString::number(table.ColCount()), QString::number(table.RowCount())};
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            all << table.cell(c, r);
        }
    }
    return all;
}

// Each change is undone to the table before it and redone to the table after it, twice over,
// and keeps only the cells it changed.
TEST(TableChange, UndoAndRedoGiveBackBothTablesExactly) {
    struct Case {
        const char* name;
        std::function<void(PointTable&)> change;
        std::size_t cellsKept;
    };
    const Case cases[] = {
        {"one cell typed", [](PointTable& t) { t.setCell(2, 5, QStringLiteral("1, 2")); }, 1},
        {"a cell emptied", [](PointTable& t) { t.setCell(0, 1, QString()); }, 1},
        {"the table cleared and its header written again",
         [](PointTable& t) {
             t.clearCells();
             fillHeaderRow(t);
         },
         2},
        {"a full column grown by a point",
         [](PointTable& t) {
             for (int r = 1; r < t.RowCount(); ++r) {
                 t.setCell(4, r, QStringLiteral("3, 4"));
             }
             t.appendRow();
             t.setCell(4, 70, QStringLiteral("5, 6"));
         },
         70},
        {"a smaller table loaded over it", [](PointTable& t) { t.replaceAll(2, 3, {}); }, 11},
        {"a wider table loaded over it",
         [](PointTable& t) { t.replaceAll(12, 2, std::vector<QString>(24, QStringLiteral("x"))); },
         25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PointTable table;
        fillHeaderRow(table);
        table.setCell(0, 1, QStringLiteral("48.5, 135.25"));
        table.setCell(8, 69, QStringLiteral("last row"));
        const QStringList before = contents(table);
        const TableChange::Snapshot snapshot(table);
        c.change(table);
        const QStringList after = contents(table);
        const TableChange change(snapshot, table);
        EXPECT_FALSE(change.isEmpty());
        EXPECT_EQ(change.cells().size(), c.cellsKept);
        for (int round = 0; round < 2; ++round) {
            change.undo(table);
            EXPECT_EQ(contents(table), before);
            change.redo(table);
            EXPECT_EQ(contents(table), after);
        }
    }
}

TEST(TableChange, NothingChangedIsEmpty) {
    PointTable table;
    table.setCell(1, 1, QStringLiteral("1, 2"));
    const TableChange::Snapshot snapshot(table);
    table.setCell(1, 1, QStringLiteral("1, 2"));
    EXPECT_TRUE(TableChange(snapshot, table).isEmpty());
}

}  // namespace

}  // namespace zelkora
