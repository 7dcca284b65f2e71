#pragma once

#include <QByteArray>

#include "records/OccurrenceSet.h"
#include "records/ReadOptions.h"

namespace zelkora {

// Reads the Placemarks of a KML file. A Placemark's Point (or the Points of its MultiGeometry)
// gives its points, "lon,lat[,alt]" as KML writes them; a Placemark of another geometry goes into
// unread. Its properties are name, description, the values of ExtendedData (Data and SimpleData,
// by their names) and "folder", the name of the innermost Folder around it, so a file of one
// Folder per group is grouped by its Folders. Records are numbered by their line. Throws
// ZelkoraError for a file that is no KML.
OccurrenceSet readKmlOccurrences(const QByteArray& bytes, const ReadOptions& options);

}  // namespace zelkora
