#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "projection/GeoPoint.h"
#include "records/GroupPlacement.h"
#include "records/MapCoverage.h"
#include "records/OccurrenceSet.h"

namespace zelkora {

// A point that falls outside a map's picture.
struct OutsidePoint {
    qint64 number = 0;
    QString group;  // its column's header
    GeoPoint point;
};

// What one import did, record by record: nothing is dropped without a word here.
struct ImportReport {
    QString description;  // how the file was read
    QString numberWord = QStringLiteral("строка");
    qint64 recordsWithPoints = 0;
    std::vector<UnreadRecord> unread;   // records that gave no point, and why
    std::vector<PlacedColumn> columns;  // where the points went
    QStringList mapsChecked;            // the captions of the maps checked
    std::vector<OutsidePoint> outside;  // points outside every map checked
    QStringList notes;

    // The report as lines of text: a summary, then every unread record, then every point outside
    // the maps, at most maxListed of each (0: all of them) with a line saying how many more.
    QStringList lines(int maxListed = 0) const;
};

// The report of a file read and placed: the points are checked against each picture, and a
// point is named when it lies on none of them.
ImportReport reportOf(const OccurrenceSet& set, const Placement& placement,
                      const std::vector<MapPicture>& pictures);

// Places the set's points into the table (placeOccurrences) and reports it all (reportOf).
ImportReport importOccurrences(PointTable& table, const OccurrenceSet& set,
                               const PlacementOptions& options,
                               const std::vector<MapPicture>& pictures);

}  // namespace zelkora
