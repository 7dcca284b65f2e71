#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "records/OccurrenceSet.h"
#include "records/TablePoints.h"

namespace zelkora {

// Checks what a reader of records gave for any input, and that it comes back the same through
// a file: every point lies within range; placed into a new table, written out by write and read
// again as fileName, the points fill a second new table cell for cell as they filled the first.
// A set the table cannot take (too many groups, too many rows) is passed over.
void checkRecordsRoundTrip(const OccurrenceSet& set,
                           QByteArray (*write)(const std::vector<TablePoint>& points),
                           const QString& fileName);

}  // namespace zelkora
