#pragma once

#include <QByteArray>
#include <QString>

namespace zelkora {

class CliArgs;
class PointTable;

// The options of zelkora-cli import that files of records take, for CliArgs.
inline constexpr const char* kRecordOptions[] = {"format", "group-by", "lat", "lon",
                                                 "coords", "groups",   "map", "data"};
inline constexpr const char* kRecordFlags[] = {"tracks", "ungrouped"};

// Imports a file of records (CSV, TSV, GBIF, GPX, KML, GeoJSON) into the table as the options
// say, and writes the report to standard error: the records without points, and the points
// outside the map of --map or, without it, outside both maps. Returns false, changing nothing,
// for plain lines of coordinates, which the caller inserts as pasted text. Throws ZelkoraError
// (TooManyGroups among them) with the table unchanged.
bool importRecords(const CliArgs& cli, PointTable& table, const QByteArray& bytes,
                   const QString& fileName);

}  // namespace zelkora
