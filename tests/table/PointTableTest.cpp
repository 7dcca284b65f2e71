#include <gtest/gtest.h>

#include "tests/table/QtPrinters.h"

#include "common/ZelkoraError.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

TEST(PointTable, StartsAsNineColumnsBySeventyEmptyRows) {
    PointTable table;
    EXPECT_EQ(table.ColCount(), 9);
    EXPECT_EQ(table.RowCount(), 70);
    EXPECT_EQ(table.columnCount(), 9);
    EXPECT_EQ(table.rowCount(), 70);
    EXPECT_EQ(table.cell(8, 69), QString());
    EXPECT_EQ(table.cell(9, 0), QString());  // outside: empty, no failure
    EXPECT_THROW(table.setCell(9, 0, QStringLiteral("x")), ZelkoraError);
    EXPECT_THROW(table.setCell(0, 70, QStringLiteral("x")), ZelkoraError);
}

TEST(PointTable, ShapeChangesKeepTheCellsThatStillFit) {
    PointTable table;
    table.setCell(0, 0, QStringLiteral("h"));
    table.setCell(1, 2, QStringLiteral("1, 2"));
    table.setCell(8, 69, QStringLiteral("last"));
    table.setShape(2, 3);
    EXPECT_EQ(table.cell(0, 0), QStringLiteral("h"));
    EXPECT_EQ(table.cell(1, 2), QStringLiteral("1, 2"));
    table.setShape(12, 80);
    EXPECT_EQ(table.cell(1, 2), QStringLiteral("1, 2"));
    EXPECT_EQ(table.cell(8, 69), QString());  // cut off by the smaller shape
    table.setShape(0, -3);                    // below 1 counts as 1
    EXPECT_EQ(table.ColCount(), 1);
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.cell(0, 0), QStringLiteral("h"));
}

TEST(PointTable, ClearingEmptiesEveryCellAndKeepsTheShape) {
    PointTable table;
    table.setShape(12, 5);
    table.setCell(11, 4, QStringLiteral("x"));
    table.setCell(0, 0, QStringLiteral("h"));
    table.clearCells();
    EXPECT_EQ(table.ColCount(), 12);
    EXPECT_EQ(table.RowCount(), 5);
    EXPECT_EQ(table.cell(11, 4), QString());
    EXPECT_EQ(table.cell(0, 0), QString());
}

// The view learns of every change: an edit through the model and a cell set by the core.
TEST(PointTable, EditsThroughTheModelReachTheCellsAndTellTheView) {
    PointTable table;
    int changed = 0;
    QObject::connect(&table, &QAbstractItemModel::dataChanged, [&] { ++changed; });
    EXPECT_TRUE(table.setData(table.index(7, 3), QStringLiteral("48.5, 135.25")));
    EXPECT_EQ(table.cell(3, 7), QStringLiteral("48.5, 135.25"));
    table.setCell(3, 8, QStringLiteral("1 2"));
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(table.data(table.index(8, 3)).toString(), QStringLiteral("1 2"));
    EXPECT_TRUE(table.flags(table.index(0, 0)) & Qt::ItemIsEditable);  // the header row too
}

}  // namespace

}  // namespace zelkora
