#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "projection/GeoPoint.h"
#include "records/OccurrenceSet.h"
#include "records/ReadOptions.h"

namespace zelkora {

// A record of a GPS or GIS file: named properties and the points of its geometry, or why it has
// none.
struct PropertyRecord {
    qint64 number = 0;
    std::vector<std::pair<QString, QString>> properties;  // name and value, in file order
    std::vector<GeoPoint> points;                         // one for a point, more for MultiPoint
    QString text;                                         // the record as the report quotes it
    QString reason;                                       // set when the record gave no point
};

// The value of a record's property, or nullptr.
const QString* valueOf(const PropertyRecord& record, const QString& name);

// Turns the records of a file into an occurrence set: the group is the property that
// --group-by names, else the first of the names records/ColumnRoles.h lists that any record
// has, and "marker" gives a record's own marker type. A record without a point, or without a
// value for the group, goes into unread.
OccurrenceSet groupPropertyRecords(std::vector<PropertyRecord> records, const ReadOptions& options,
                                   const QString& description);

}  // namespace zelkora
