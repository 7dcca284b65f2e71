#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "projection/GeoPoint.h"
#include "records/OccurrenceSet.h"

namespace zelkora {

class PointTable;

// Where the points of a file go.
struct PlacementOptions {
    int column = 0;            // the column of every point when the file is not grouped
    QStringList chosenGroups;  // the groups to take; empty: all of them
    // The points left out, by their index in the set (points off the map); empty: none.
    std::vector<bool> leftOut;
};

// A point as it was put into the table.
struct PlacedPoint {
    std::size_t index = 0;  // its place in the set's points
    qint64 number = 0;      // its record's number
    int column = 0;
    int row = 0;
    GeoPoint point;
};

// One column the import filled.
struct PlacedColumn {
    int column = 0;
    QString header;
    qint64 points = 0;
};

// What the placement did.
struct Placement {
    std::vector<PlacedPoint> points;  // in the set's order
    std::vector<PlacedColumn> columns;
    QStringList notes;  // records of groups not chosen, and the like
};

// The groups of a file that outnumber the free columns of the table: the user chooses some.
struct GroupChoice {
    QString field;  // the column or property the groups come from
    QStringList groups;
    std::vector<qint64> counts;  // records of each group
    int freeColumns = 0;         // how many groups fit
};

// The column of each group of a set in the table: the column whose header is the group's name,
// else the column the records name as their marker type when it holds no points, else the next
// column of the nine marker types that holds no points. -1 for a group not chosen, for a group
// whose every point is left out (leftOut, by point), and for every group left over when the free
// columns run out (missing is then set).
struct GroupColumns {
    std::vector<int> columns;   // by group
    std::vector<bool> own;      // by group: its column is headed by its name already
    std::vector<bool> emptied;  // by group: every point of it is left out
    bool missing = false;
    int freeColumns = 0;  // columns that hold no points, among the nine marker types
};

// The columns of the groups chosen (all of them when chosen is empty). Throws ZelkoraError for a
// chosen group the file lacks.
GroupColumns groupColumns(const PointTable& table, const OccurrenceSet& set,
                          const QStringList& chosen, const std::vector<bool>& leftOut = {});

// The choice a grouped set needs before it goes into the table: nothing when every group finds
// a column. Groups whose every point is left out (leftOut, by point) need none.
std::optional<GroupChoice> groupChoiceNeeded(const PointTable& table, const OccurrenceSet& set,
                                             const std::vector<bool>& leftOut = {});

// What the command line says when groups outnumber the free columns: the groups with their counts
// and how to choose some (--groups), or, with no free column, how to make room.
QString tooManyGroupsMessage(const GroupChoice& choice);

// Puts the points of a file into the table, as cells "lat, lon" with six decimals below the last
// filled cell of their column, never over a cell that holds text; the table grows as it must.
// A grouped file gives one column per group chosen, in order of first appearance (groupColumns),
// whose header becomes the group's name; a group whose every point is left out takes none. An
// ungrouped file goes into options.column. Throws ZelkoraError when the groups chosen outnumber the
// free columns (tooManyGroupsMessage), for a chosen group the file lacks, and for a table that
// would outgrow what a table file holds; the table is changed only when nothing is thrown.
Placement placeOccurrences(PointTable& table, const OccurrenceSet& set,
                           const PlacementOptions& options);

}  // namespace zelkora
