#pragma once

#include <QByteArray>

#include "vectormap/VectorMap.h"

namespace zelkora {

// Builds a map's GeoPackage in memory: the GeoPackage tables, then one feature table per layer
// (kVectorMapLayers) with a geometry column "geom" and an integer "level", the features in the
// map's order. Nothing in it depends on the time or the machine: the same map gives the same
// bytes with the same SQLite (the file's header records the version of the SQLite that wrote it).
class GeoPackageWriter {
  public:
    // The bytes of the file. Throws ZelkoraError for a map that the reader would refuse (a ring
    // that is not closed, a level out of range, a coordinate that is no number).
    static QByteArray bytes(const VectorMap& map);
};

}  // namespace zelkora
