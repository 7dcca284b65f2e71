#pragma once

#include <QByteArray>
#include <cstddef>
#include <vector>

#include "vectormap/VectorMap.h"

namespace zelkora {

// A geometry blob of a GeoPackage: the "GP" header (version 0, the SRS id, an envelope)
// followed by standard ISO WKB, in which x is the longitude and y the latitude. Only lines and
// polygons are handled, single or multi; Z and M ordinates are read past and dropped.
struct GeoPackageGeometry {
    enum class Kind { Lines, Polygons };

    int srsId = 0;
    Kind kind = Kind::Lines;
    bool empty = false;  // the header's empty flag: no coordinates at all
    // Lines: one path per part. Polygons: each part's rings, the outer ring first.
    std::vector<std::vector<GeoPath>> parts;

    // Little-endian blobs with the x/y envelope, as GDAL writes them.
    static QByteArray encodeLine(const GeoPath& line, int srsId);
    static QByteArray encodePolygon(const std::vector<GeoPath>& rings, int srsId);
    // Polygons, each its outer ring first and then its holes.
    static QByteArray encodeMultiPolygon(const std::vector<std::vector<GeoPath>>& polygons,
                                         int srsId);

    // Reads a blob. Throws ZelkoraError whose message says what is wrong with it (in the words
    // the user sees, to be put after the name of the file and the feature). Counts are checked
    // against the bytes left before anything is allocated, so a hostile blob costs no memory.
    static GeoPackageGeometry decode(const unsigned char* data, std::size_t size);
};

}  // namespace zelkora
