#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "records/TablePoints.h"

namespace zelkora {

class PointTable;

// The formats the table's points are written out in, by their names and the files' extensions:
// csv, geojson (also .json), kml, gpx.
QStringList pointFileFormatNames();

// The format a file name's extension names, or empty.
QString pointFileFormatOf(const QString& fileName);

// Writes the table's points to fileName in format (a name of pointFileFormatNames; empty: by the
// extension), through a temporary file renamed into place (common/SavedFile.h). Returns the
// cells that hold text but no point, which are not written. Throws ZelkoraError for a format it
// does not know and for a file it cannot write; the file is then left as it was.
std::vector<SkippedCell> exportTable(const PointTable& table, const QString& fileName,
                                     const QString& format = {});

}  // namespace zelkora
