#include "fuzz/support/RecordsRoundTrip.h"

#include <cmath>

#include "common/ZelkoraError.h"
#include "fuzz/support/FuzzInput.h"
#include "records/CoordinateFields.h"
#include "records/GroupPlacement.h"
#include "records/OccurrenceFormats.h"
#include "records/TablePoints.h"
#include "table/HeaderRow.h"
#include "table/PointCell.h"
#include "table/PointTable.h"
#include "table/StrToFloat.h"

namespace zelkora {

namespace {

// The set placed into a new table; false when the table cannot take it.
bool placed(PointTable& table, const OccurrenceSet& set) {
    fillHeaderRow(table);
    try {
        placeOccurrences(table, set, {});
    } catch (const ZelkoraError&) {
        return false;
    }
    return true;
}

// The same text, or the same point with its longitude as files write it: past the antimeridian
// a file holds the western equal.
bool samePlace(const QString& back, const QString& cell) {
    if (back == cell) {
        return true;
    }
    QStringList b;
    QStringList c;
    if (!splitPointCell(back, b) || !splitPointCell(cell, c) || b[0] != c[0]) {
        return false;
    }
    try {
        return std::fabs(StrToFloat(b[1]) - fileLongitude(StrToFloat(c[1]))) < 1e-9;
    } catch (const ZelkoraError&) {
        return false;
    }
}

}  // namespace

void checkRecordsRoundTrip(const OccurrenceSet& set,
                           QByteArray (*write)(const std::vector<TablePoint>& points),
                           const QString& fileName) {
    for (const Occurrence& o : set.points) {
        if (!(std::fabs(o.point.lat) <= kMaxLatitude) ||
            !(std::fabs(o.point.lon) <= kMaxLongitude)) {
            fuzzFailure("a point out of range");
        }
    }
    if (set.recordsWithPoints > static_cast<qint64>(set.points.size())) {
        fuzzFailure("more records with points than points");
    }
    PointTable table;
    if (!placed(table, set)) {
        return;
    }
    const QByteArray file = write(pointsOfTable(table).points);
    std::optional<OccurrenceSet> back;
    try {
        back = readOccurrences(file, fileName, {});
    } catch (const ZelkoraError&) {
        fuzzFailure("a file written out does not read back");
    }
    if (!back || !back->unread.empty()) {
        fuzzFailure("a file written out reads back with records unread");
    }
    PointTable again;
    if (!placed(again, *back)) {
        fuzzFailure("points written out do not fit a new table when read back");
    }
    if (again.ColCount() != table.ColCount() || again.RowCount() != table.RowCount()) {
        fuzzFailure("points written out and read back give a table of another shape");
    }
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            if (!samePlace(again.cell(c, r), table.cell(c, r))) {
                fuzzFailure("points written out and read back give another cell");
            }
        }
    }
}

}  // namespace zelkora
