#pragma once

#include <QString>
#include <vector>

#include "projection/GeoPoint.h"

namespace zelkora {

// A line or a ring on the Earth, latitude first. Longitudes run on without a jump across 180°
// (the Far East map holds 190° rather than -170°), so no line is cut at the antimeridian.
using GeoPath = std::vector<GeoPoint>;

// A line of one layer. level is the source's rank: the GSHHG shore level (1 sea coast, 2 lake
// shore, 3 island in a lake, 4 pond) or river level (0 banks of river-lakes, 1 major rivers, 2,
// 3, 4 smaller ones; lower is wider); 0 where the source has none.
struct VectorLine {
    GeoPath points;
    int level = 0;
};

// A filled area: the outer ring first, then its holes. Rings are closed (last point == first).
// level is the GSHHG level: 1 land, 2 lake, 3 island in a lake, 4 pond in such an island.
// Drawn over the sea in level order, odd levels as land and even ones as water.
struct VectorArea {
    std::vector<GeoPath> rings;
    int level = 1;
};

// The vector geometry of one map, in geographic coordinates (WGS84), covering at least the
// map's whole picture. The graticule is not stored: it is computed where it is drawn.
struct VectorMap {
    std::vector<VectorArea> areas;      // land, lakes, islands in lakes, ponds
    std::vector<VectorLine> shores;     // sea coasts and lake shores, as lines
    std::vector<VectorLine> rivers;     // with their ranks
    std::vector<VectorLine> divisions;  // boundaries between first-level divisions of a country
    std::vector<VectorLine> borders;    // national borders

    bool empty() const {
        return areas.empty() && shores.empty() && rivers.empty() && divisions.empty() &&
               borders.empty();
    }
};

// The file of a map's vector data: "vector.gpkg" in the map's normal-resolution folder,
// <dataDir>maps/<translit(mapCaption)>/vector.gpkg. A folder without it has raster layers only.
QString vectorMapPath(const QString& dataDir, const QString& mapCaption);

// Reads a map's GeoPackage. Throws ZelkoraError with the user's message when the file cannot be
// read or is not a map's vector data.
VectorMap loadVectorMap(const QString& path);

// Writes a map's GeoPackage through common/AtomicFile; the same map gives the same bytes.
// Throws ZelkoraError when it cannot be written.
void saveVectorMap(const VectorMap& map, const QString& path);

}  // namespace zelkora
