#pragma once

#include <QString>
#include <QStringList>

#include "records/GroupPlacement.h"
#include "records/OccurrenceSet.h"
#include "table/ImportReport.h"

namespace zelkora {

// Tells report of every record of a set placed into the table (placeOccurrences), in the order
// of the file: each record that gave no point, and each point read, which the report checks
// against the map's picture and quotes by its column's header.
void reportOccurrences(const OccurrenceSet& set, const Placement& placement, ImportReport& report);

// What the report of an import of records says besides the records themselves: how the file was
// read, to stand before them ...
QString importHeading(const OccurrenceSet& set);
// ... and where each group went and what was left out, to stand after them. A column is named by
// its marker type, and by its number counted from 0 (as zelkora-cli's --column counts) unless
// the window, which numbers nothing, tells it.
enum class ColumnNumbers { Shown, Hidden };
QStringList placementLines(const OccurrenceSet& set, const Placement& placement,
                           ColumnNumbers numbers = ColumnNumbers::Shown);

}  // namespace zelkora
