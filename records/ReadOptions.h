#pragma once

#include <QString>

namespace zelkora {

// What the user says about a file of records; everything left empty is found out from the file.
struct ReadOptions {
    QString format;   // a name of OccurrenceFormats ("csv", "gpx", ...); empty: by content and name
    QString groupBy;  // the column or property that names each record's group
    bool ungrouped = false;  // every point into one column, even when a group column is found
    QString latColumn;       // the columns of latitude and longitude, given together
    QString lonColumn;
    QString coordColumn;  // one column of coordinate text in any notation
    bool tracks = false;  // GPX: track and route points as well as waypoints
};

}  // namespace zelkora
