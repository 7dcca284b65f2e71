#include <gtest/gtest.h>

#include "common/ZelkoraError.h"
#include "records/GroupPlacement.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "tests/table/QtPrinters.h"

namespace zelkora {

namespace {

// A set of points in groups named by letters: "AAB" gives two points of A, then one of B, each
// with its own latitude. A digit after a letter is its record's marker type: "A3B".
OccurrenceSet setOf(const QString& letters) {
    OccurrenceSet set;
    set.groupField = QStringLiteral("species");
    double lat = 40.0;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const int group = set.groupIndex(letters.mid(i, 1));
        int marker = -1;
        if (i + 1 < letters.size() && letters[i + 1].isDigit()) {
            marker = letters[++i].digitValue();
        }
        const GeoPoint point{.lat = ++lat, .lon = 130.0};
        set.addPoints(static_cast<qint64>(i + 2), group, marker, std::span(&point, 1));
    }
    return set;
}

PlacementOptions intoColumn(int column) {
    PlacementOptions options;
    options.column = column;
    return options;
}

PlacementOptions choosing(const QStringList& groups) {
    PlacementOptions options;
    options.chosenGroups = groups;
    return options;
}

OccurrenceSet ungrouped(OccurrenceSet set) {
    set.groupField.clear();
    for (Occurrence& o : set.points) {
        o.group = -1;
    }
    return set;
}

// Each column as "header: cells" over its first rows, the cells' latitudes only.
QStringList columns(const PointTable& table, int cols = 4) {
    QStringList out;
    for (int c = 0; c < cols; ++c) {
        QStringList cells;
        for (int r = 1; r < table.RowCount(); ++r) {
            const QString cell = table.cell(c, r);
            cells << (cell.isEmpty() ? QStringLiteral("_") : cell.section(QLatin1Char('.'), 0, 0));
        }
        while (!cells.isEmpty() && cells.last() == QLatin1String("_")) {
            cells.removeLast();
        }
        out << table.cell(c, 0).trimmed() + QStringLiteral(": ") + cells.join(QLatin1Char(' '));
    }
    return out;
}

TEST(PlaceOccurrences, OneColumnPerGroupInOrderOfFirstAppearance) {
    PointTable table;
    fillHeaderRow(table);
    const Placement placement = placeOccurrences(table, setOf("ABAC"), {});
    EXPECT_EQ(columns(table), (QStringList{"A: 41 43", "B: 42", "C: 44", "треугольники полые: "}));
    ASSERT_EQ(placement.columns.size(), 3u);
    EXPECT_EQ(placement.columns[0].points, 2);
    EXPECT_EQ(table.cell(0, 1), QStringLiteral("41.000000, 130.000000"));
}

// A second file with the same groups adds to their columns; a column that holds points is never
// given to another group, and a point never goes over a cell that holds text.
TEST(PlaceOccurrences, KeepsWhatTheTableHolds) {
    PointTable table;
    fillHeaderRow(table);
    table.setShape(9, 4);
    table.setCell(0, 2, QStringLiteral("1, 1"));             // column 0 holds a point
    table.setCell(2, 0, QStringLiteral(" B "));              // column 2 is B's already
    table.setCell(2, 3, QStringLiteral("last row, typed"));  // the last row is never searched
    placeOccurrences(table, setOf("ABBC"), {});
    EXPECT_EQ(columns(table),
              (QStringList{"круги залитые: _ 1, 1", "A: 41", "B: 42 43 last row, typed", "C: 44"}));
    EXPECT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.cell(2, 0), QStringLiteral(" B ")) << "a matching header is left as it is";

    PointTable grown;
    fillHeaderRow(grown);
    grown.setShape(9, 3);
    grown.setCell(0, 2, QStringLiteral("typed"));
    placeOccurrences(grown, ungrouped(setOf("AAA")), intoColumn(0));
    EXPECT_EQ(columns(grown, 1), QStringList{"круги залитые: 41 typed 42 43"});
}

// The file's own marker types (the program's exports) put groups back where they were.
TEST(PlaceOccurrences, MarkerTypesOfTheFile) {
    PointTable table;
    fillHeaderRow(table);
    placeOccurrences(table, setOf("A3B0C"), {});
    EXPECT_EQ(columns(table), (QStringList{"B: 42", "C: 43", "треугольники залитые: ", "A: 41"}));
}

// Nine groups for eight free columns: the choice is asked for as a value before anything
// changes, and placing them all anyway fails with the list and leaves the table as it was.
TEST(PlaceOccurrences, TooManyGroupsAreAChoiceAndChangeNothing) {
    PointTable table;
    fillHeaderRow(table);
    table.setCell(4, 1, QStringLiteral("1, 1"));
    const QString letters = QStringLiteral("ABCDEFGHIA");
    const OccurrenceSet set = setOf(letters);
    const std::optional<GroupChoice> choice = groupChoiceNeeded(table, set);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->field, QStringLiteral("species"));
    EXPECT_EQ(choice->groups.size(), 9);
    EXPECT_EQ(choice->counts[0], 2);
    EXPECT_EQ(choice->freeColumns, 8);
    const QString message = tooManyGroupsMessage(*choice);
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("В файле 9 групп по «species», а свободных столбцов в таблице 8")));
    EXPECT_TRUE(message.contains(QStringLiteral("\n  A — 2\n  B — 1\n")));
    EXPECT_TRUE(message.endsWith(QStringLiteral("параметром --groups \"A;B;C\".")));
    try {
        placeOccurrences(table, set, {});
        FAIL() << "nine groups went into eight free columns";
    } catch (const ZelkoraError& e) {
        EXPECT_EQ(e.message(), message);
    }
    EXPECT_EQ(table.cell(0, 0), markerTypeNames()[0]);
    EXPECT_EQ(table.cell(0, 1), QString());

    // The columns the groups would take, with the ones left over marked.
    const GroupColumns all = groupColumns(table, set, {});
    EXPECT_TRUE(all.missing);
    EXPECT_EQ(all.columns, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, -1}));
    EXPECT_EQ(groupColumns(table, set, {"I", "B"}).columns,
              (std::vector<int>{-1, 0, -1, -1, -1, -1, -1, -1, 1}));

    const Placement chosen = placeOccurrences(table, set, choosing({QStringLiteral(" I"), "A"}));
    EXPECT_EQ(columns(table, 2), (QStringList{"A: 41 50", "I: 49"}));
    EXPECT_EQ(chosen.notes, QStringList{"Точки групп, которых нет в выборе, не взяты: 7"});
    EXPECT_THROW(placeOccurrences(table, set, choosing({"Z"})), ZelkoraError);
    EXPECT_FALSE(groupChoiceNeeded(table, setOf("AB")));

    // With every column taken, the message says how to make room.
    for (int c = 0; c < 9; ++c) {
        table.setCell(c, 5, QStringLiteral("2, 2"));
    }
    const std::optional<GroupChoice> none = groupChoiceNeeded(table, setOf("XY"));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->freeColumns, 0);
    EXPECT_TRUE(tooManyGroupsMessage(*none).endsWith(
        QStringLiteral("Очистите столбцы таблицы или начните новую карту, затем импортируйте файл "
                       "снова.")));
}

// Points left out (off the map) take no row, and the rest close up; a group left out whole takes
// no column.
TEST(PlaceOccurrences, PointsLeftOutTakeNoRow) {
    PointTable table;
    fillHeaderRow(table);
    PlacementOptions options;
    options.leftOut = {false, true, false, true};
    const Placement placement = placeOccurrences(table, setOf("ABAB"), options);
    EXPECT_EQ(columns(table, 2), (QStringList{"A: 41 43", "круги полые: "}));
    ASSERT_EQ(placement.points.size(), 2u);
    EXPECT_EQ(placement.points[1].index, 2u);
}

TEST(PlaceOccurrences, UngroupedIntoTheChosenColumn) {
    const OccurrenceSet set = ungrouped(setOf("AAA"));
    PointTable table;
    fillHeaderRow(table);
    placeOccurrences(table, set, intoColumn(3));
    EXPECT_EQ(columns(table)[3], QStringLiteral("треугольники полые: 41 42 43"));
    EXPECT_THROW(placeOccurrences(table, set, intoColumn(9)), ZelkoraError);
}

}  // namespace

}  // namespace zelkora
