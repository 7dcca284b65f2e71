#pragma once

#include <QByteArray>
#include <QString>

#include "plot/PictureBounds.h"

namespace zelkora {

class CliArgs;
class ImportReport;
class PointTable;

// The options of zelkora-cli import that files of records take, for CliArgs.
inline constexpr const char* kRecordOptions[] = {"format", "group-by", "lat", "lon",
                                                 "coords", "groups",   "map", "data"};
inline constexpr const char* kRecordFlags[] = {"tracks", "ungrouped", "hires"};

// The picture of a map in the data folder of --data, at the resolution of --hires. Throws
// ZelkoraError when its base picture cannot be read.
PictureBounds mapPictureBounds(const CliArgs& cli, int map);

// Imports a file of records (CSV, TSV, GBIF, GPX, KML, GeoJSON) into the table as the options
// say. The report hears of every record and checks every point against the picture of --map's
// map or, without --map, of both maps (a map whose picture is missing is said so and not
// checked); the lines that say how the file was read, and where each group went, go to standard
// error around the report's own. Returns false, changing nothing, for plain lines of
// coordinates, which the caller inserts as pasted text. Throws ZelkoraError (TooManyGroups among
// them) with the table unchanged.
bool importRecords(const CliArgs& cli, PointTable& table, const QByteArray& bytes,
                   const QString& fileName, ImportReport& report);

}  // namespace zelkora
