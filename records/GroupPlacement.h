#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "projection/GeoPoint.h"
#include "records/OccurrenceSet.h"

namespace zelkora {

class PointTable;

// Where the points of a file go.
struct PlacementOptions {
    int column = 0;            // the column of every point when the file is not grouped
    QStringList chosenGroups;  // the groups to take; empty: all of them
};

// A point as it was put into the table.
struct PlacedPoint {
    qint64 number = 0;  // its record's number
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
    std::vector<PlacedPoint> points;
    std::vector<PlacedColumn> columns;
    QStringList notes;  // records of groups not chosen, and the like
};

// Puts the points of a file into the table, as cells "lat, lon" with six decimals below the last
// filled cell of their column, never over a cell that holds text; the table grows as it must.
// A grouped file gives one column per group, in order of first appearance: the column whose
// header is the group's name, else the column the records name as their marker type when it
// holds no points, else the next column of the nine marker types that holds no points, whose
// header becomes the group's name. An ungrouped file goes into options.column.
// Throws TooManyGroups when the groups outnumber the free columns, and ZelkoraError for a chosen
// group the file lacks or a table that would outgrow what a table file holds; the table is
// changed only when nothing is thrown.
Placement placeOccurrences(PointTable& table, const OccurrenceSet& set,
                           const PlacementOptions& options);

}  // namespace zelkora
