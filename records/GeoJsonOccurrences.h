#pragma once

#include <QByteArray>

#include "records/OccurrenceSet.h"
#include "records/ReadOptions.h"

namespace zelkora {

// Reads a GeoJSON file: a FeatureCollection, one Feature or one geometry. Point and MultiPoint
// geometries give points ([lon, lat] as GeoJSON orders them), and so do the Points of a
// GeometryCollection; a feature of another geometry, or none, goes into unread. A feature's
// properties are its "properties" member, values written as text. Records are numbered by the line
// their feature starts on. Throws ZelkoraError for a file that is no GeoJSON.
OccurrenceSet readGeoJsonOccurrences(const QByteArray& bytes, const ReadOptions& options);

}  // namespace zelkora
