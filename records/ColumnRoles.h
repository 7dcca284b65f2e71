#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "records/ReadOptions.h"

namespace zelkora {

// Where a record's coordinates stand: a pair of columns (latitude and longitude), or one column
// of coordinate text.
struct CoordinateSource {
    int lat = -1;
    int lon = -1;
    int text = -1;  // one column of text in any notation, through the normaliser
};

// What each column of a header holds. Coordinate sources come in order of trust; a record takes
// its point from the first source whose columns are not empty in it.
struct ColumnRoles {
    std::vector<CoordinateSource> sources;
    int group = -1;
    int marker = -1;
    QStringList names;  // the header as read, for messages

    // The description of the sources and the group, for the report.
    QString describe() const;
};

// A column name as it is compared: in Unicode's composed form, case-folded, with a prefix such as
// "dwc:" or a term URI's path taken off and everything but letters and digits dropped. So
// "decimal_Latitude", "dwc:decimalLatitude" and "Vĩ độ" match "decimallatitude" and "vĩđộ".
QString columnKey(const QString& name);

// Finds the roles of a header's columns. Options name columns the header does not (--lat with
// --lon, --coords, --group-by); a named column that is missing throws ZelkoraError listing the
// header. Without names: Darwin Core's decimalLatitude/decimalLongitude, then lat/latitude/y/
// широта/vĩ độ with lon/lng/long/longitude/x/долгота/kinh độ, then verbatimLatitude/
// verbatimLongitude, then one column of coordinate text (verbatimCoordinates, coordinates,
// координаты, tọa độ). The group: species, scientificName, acceptedScientificName, taxon, вид,
// loài, or "group" as the program's own export names it; "marker" names the marker type.
// Returns roles without sources when the header names no coordinates.
ColumnRoles findColumnRoles(const QStringList& header, const ReadOptions& options);

// Names as messages list them: "«a», «b»".
QString quotedNames(const QStringList& names);

// The index of name among header by columnKey, or -1.
int findColumn(const QStringList& header, const QString& name);

// The group column among header by the names above (and "folder" last, for KML), or -1.
int findGroupColumn(const QStringList& header);

}  // namespace zelkora
