#pragma once

#include <QString>
#include <vector>

#include "projection/GeoPoint.h"

namespace zelkora {

class PointTable;

// A point of the table as the files written out carry it.
struct TablePoint {
    QString group;   // its column's header, trimmed
    int marker = 0;  // its column, the marker type
    GeoPoint point;
};

// A cell below the header that holds text but no point, and why.
struct SkippedCell {
    int column = 0;
    int row = 0;
    QString text;
    QString reason;
};

struct TablePoints {
    std::vector<TablePoint> points;
    std::vector<SkippedCell> skipped;
};

// The table's points, column by column and row by row, by the rule the marker pass reads them
// with (table/PointCell.h); every other cell that holds text is named in skipped.
TablePoints pointsOfTable(const PointTable& table);

// A coordinate as files write it: in plain decimal notation, never with an exponent, with as
// many digits as bring back the same double and no more ("48.5", "0.00001").
QString plainNumber(double value);

// A longitude as GPS and GIS files hold it, in [-180, 180): GPX allows no other, and KML and
// GeoJSON readers expect it. The table also takes a longitude past the antimeridian (190.35 for
// -169.65, on the Far East map); such a one is written as its western equal, which reads back
// into the table as the same place.
double fileLongitude(double lon);

// Text as XML 1.0 may hold it: characters it forbids (control characters but tab, line feed and
// carriage return, lone surrogates, U+FFFE and U+FFFF) are left out, as no reader would take them.
QString xmlSafeText(const QString& text);

}  // namespace zelkora
