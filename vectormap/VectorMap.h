#pragma once

#include <QDate>
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

// Polygons, each with its outer ring first and then its holes; rings are closed.
using GeoPolygons = std::vector<std::vector<GeoPath>>;

// A first-level division (a province, oblast or krai) with its name, for the labels of a figure.
// Its area is the source's, clipped to the map's region: it tells where the name may go, and is
// not drawn (the map's boundaries are the lines of the divisions layer).
struct DivisionArea {
    GeoPolygons polygons;
    QString name;     // as the country writes it: Vietnamese with its diacritics, Russian for
                      // Russia's; other countries' as Natural Earth gives them
    QString country;  // ISO 3166-1 alpha-3 code, as Natural Earth gives it
    QDate validFrom;  // the first day it stood as drawn; null where the source does not say
    QDate validTo;    // the last day it stood as drawn; null while it stands
    GeoPoint label;   // where its name goes: a point inside it with the most room around it
};

// A country with its names in English (Natural Earth's) and Russian, for the labels of a figure.
// Its area is Natural Earth's, clipped to the map's region, and is not drawn either.
struct CountryArea {
    GeoPolygons polygons;
    QString iso;  // ISO 3166-1 alpha-3 code
    QString nameEn;
    QString nameRu;
    GeoPoint label;  // inside it, with the most room around it
};

// The vector geometry of one map, in geographic coordinates (WGS84), covering at least the
// map's whole picture. The graticule is not stored: it is computed where it is drawn.
struct VectorMap {
    std::vector<VectorArea> areas;      // land, lakes, islands in lakes, ponds
    std::vector<VectorLine> shores;     // sea coasts and lake shores, as lines
    std::vector<VectorLine> rivers;     // with their ranks
    std::vector<VectorLine> divisions;  // boundaries between first-level divisions of a country
    std::vector<VectorLine> borders;    // national borders

    // The divisions in force now, and those of an earlier arrangement where the map's country
    // has one: Vietnam's 63 provinces, which stood from 1 August 2008 until 30 June 2025. A map
    // without an earlier arrangement leaves the last two empty.
    std::vector<DivisionArea> divisionAreas;
    std::vector<VectorLine> divisions2008;
    std::vector<DivisionArea> divisionAreas2008;
    std::vector<CountryArea> countries;

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
