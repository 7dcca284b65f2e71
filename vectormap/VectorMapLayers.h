#pragma once

#include <QString>
#include <array>
#include <vector>

#include "vectormap/VectorMap.h"

namespace zelkora {

// The feature tables of a map's GeoPackage, one per layer of VectorMap, in the order they are
// written and drawn. The writer and the reader share this table and the checks below, so no file
// is written that would not be read back.
struct VectorMapLayer {
    const char* table;         // the feature table, also GDAL's layer name
    const char* identifier;    // gpkg_contents.identifier: what QGIS shows
    const char* description;   // gpkg_contents.description: what the level column means
    const char* geometryType;  // gpkg_geometry_columns.geometry_type_name
    int minLevel;
    int maxLevel;
};

// "GPKG" in the SQLite header's application id, and GeoPackage 1.3.0 in its user version.
inline constexpr qint64 kGeoPackageApplicationId = 0x47504B47;
inline constexpr qint64 kGeoPackageUserVersion = 10300;
// The page size of the files written.
inline constexpr int kGeoPackagePageSize = 4096;

inline constexpr int kVectorSrsId = 4326;  // WGS 84, longitude and latitude in degrees

inline constexpr std::array<VectorMapLayer, 5> kVectorMapLayers{{
    {"areas", "Суша и водоёмы",
     "level: 1 суша, 2 озеро, 3 остров в озере, 4 водоём на таком острове", "POLYGON", 1, 4},
    {"shores", "Береговые линии",
     "level: 1 морской берег, 2 берег озера, 3 берег острова в озере, 4 берег водоёма на нём",
     "LINESTRING", 1, 4},
    {"rivers", "Реки",
     "level: ранг реки в GSHHG, 0 берега рек-озёр, 1 крупнейшие реки, 2-4 всё меньшие",
     "LINESTRING", 0, 10},
    {"divisions", "Границы районов", "Границы между регионами первого уровня одной страны",
     "LINESTRING", 0, 10},
    {"borders", "Границы государств", "Государственные границы на суше и по озёрам", "LINESTRING",
     0, 10},
}};

// Tables that a map's file holds only where the map has their data, written after the layers
// above in this order; a file without them reads as a map without them. The divisions of an
// earlier arrangement have their boundaries in a line layer like the current ones, and the areas
// of the divisions and countries are tables of named polygons (kNamedAreaColumns).
inline constexpr VectorMapLayer kDivisions2008Layer{
    "divisions_2008",
    "Границы районов 2008–2025",
    "Границы между регионами первого уровня одной страны, как они были с 1 августа 2008 по 30 "
    "июня 2025 года",
    "LINESTRING",
    0,
    10};

struct NamedAreaLayer {
    const char* table;
    const char* identifier;
    const char* description;
    bool countries;  // the columns of a country rather than a division's
};

inline constexpr std::array<NamedAreaLayer, 3> kNamedAreaLayers{{
    {"division_areas", "Районы",
     "Регионы первого уровня с названиями и точками подписей; контуры только для подписей", false},
    {"division_areas_2008", "Районы 2008–2025",
     "Регионы первого уровня, какими они были с 1 августа 2008 по 30 июня 2025 года", false},
    {"countries", "Страны",
     "Страны с названиями по-английски и по-русски и точками подписей; контуры только для "
     "подписей",
     true},
}};

// The attribute columns of a named area's table after its geometry, with their types. The label
// point is stored as two numbers, as GIS programs take a second point from a table's columns.
inline constexpr std::array<const char*, 6> kDivisionAreaColumns{
    "name TEXT NOT NULL", "country TEXT NOT NULL",     "valid_from DATE",
    "valid_to DATE",      "label_lat DOUBLE NOT NULL", "label_lon DOUBLE NOT NULL"};
inline constexpr std::array<const char*, 5> kCountryAreaColumns{
    "iso_a3 TEXT NOT NULL", "name_en TEXT NOT NULL", "name_ru TEXT NOT NULL",
    "label_lat DOUBLE NOT NULL", "label_lon DOUBLE NOT NULL"};

// The line layers of a map in the order of kVectorMapLayers, after the areas.
inline std::array<const std::vector<VectorLine>*, 4> lineLayers(const VectorMap& map) {
    return {&map.shores, &map.rivers, &map.divisions, &map.borders};
}
inline std::array<std::vector<VectorLine>*, 4> lineLayers(VectorMap& map) {
    return {&map.shores, &map.rivers, &map.divisions, &map.borders};
}

// The named areas of a map in the order of kNamedAreaLayers; the countries are apart, being of
// another kind.
inline std::array<const std::vector<DivisionArea>*, 2> divisionAreaLayers(const VectorMap& map) {
    return {&map.divisionAreas, &map.divisionAreas2008};
}
inline std::array<std::vector<DivisionArea>*, 2> divisionAreaLayers(VectorMap& map) {
    return {&map.divisionAreas, &map.divisionAreas2008};
}

// What is wrong with a path of a layer, in the user's words; empty when nothing is. Points must
// be finite, latitudes within ±90° and longitudes within ±360°; a line has two points or more, a
// ring four or more with the last equal to the first.
QString vectorPathFault(const GeoPath& path, bool ring);

// What is wrong with a point (a label point), as above; empty when nothing is.
QString vectorPointFault(GeoPoint point);

}  // namespace zelkora
