#include "tests/vectormap/VectorMapSample.h"

#include <cstring>

namespace zelkora {

namespace {

GeoPath ring(std::initializer_list<GeoPoint> points) {
    GeoPath path(points);
    path.push_back(path.front());
    return path;
}

bool same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string pathDifference(const GeoPath& a, const GeoPath& b) {
    if (a.size() != b.size()) {
        return std::to_string(a.size()) + " points against " + std::to_string(b.size());
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!same(a[i].lat, b[i].lat) || !same(a[i].lon, b[i].lon)) {
            return "point " + std::to_string(i);
        }
    }
    return {};
}

std::string linesDifference(const char* layer, const std::vector<VectorLine>& a,
                            const std::vector<VectorLine>& b) {
    if (a.size() != b.size()) {
        return std::string(layer) + ": " + std::to_string(a.size()) + " lines against " +
               std::to_string(b.size());
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].level != b[i].level) {
            return std::string(layer) + " line " + std::to_string(i) + ": level";
        }
        if (const std::string d = pathDifference(a[i].points, b[i].points); !d.empty()) {
            return std::string(layer) + " line " + std::to_string(i) + ": " + d;
        }
    }
    return {};
}

std::string polygonsDifference(const GeoPolygons& a, const GeoPolygons& b) {
    if (a.size() != b.size()) {
        return std::to_string(a.size()) + " polygons against " + std::to_string(b.size());
    }
    for (std::size_t p = 0; p < a.size(); ++p) {
        if (a[p].size() != b[p].size()) {
            return "polygon " + std::to_string(p) + ": rings";
        }
        for (std::size_t r = 0; r < a[p].size(); ++r) {
            if (const std::string d = pathDifference(a[p][r], b[p][r]); !d.empty()) {
                return "polygon " + std::to_string(p) + " ring " + std::to_string(r) + ": " + d;
            }
        }
    }
    return {};
}

std::string labelDifference(GeoPoint a, GeoPoint b) {
    return same(a.lat, b.lat) && same(a.lon, b.lon) ? std::string() : "label point";
}

std::string divisionsDifference(const char* layer, const std::vector<DivisionArea>& a,
                                const std::vector<DivisionArea>& b) {
    if (a.size() != b.size()) {
        return std::string(layer) + ": " + std::to_string(a.size()) + " against " +
               std::to_string(b.size());
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string where = std::string(layer) + " " + std::to_string(i) + ": ";
        if (a[i].name != b[i].name || a[i].country != b[i].country) {
            return where + "names";
        }
        if (a[i].validFrom != b[i].validFrom || a[i].validTo != b[i].validTo) {
            return where + "dates";
        }
        for (const std::string& d : {polygonsDifference(a[i].polygons, b[i].polygons),
                                     labelDifference(a[i].label, b[i].label)}) {
            if (!d.empty()) {
                return where + d;
            }
        }
    }
    return {};
}

std::string countriesDifference(const std::vector<CountryArea>& a,
                                const std::vector<CountryArea>& b) {
    if (a.size() != b.size()) {
        return "countries: " + std::to_string(a.size()) + " against " + std::to_string(b.size());
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string where = "country " + std::to_string(i) + ": ";
        if (a[i].iso != b[i].iso || a[i].nameEn != b[i].nameEn || a[i].nameRu != b[i].nameRu) {
            return where + "names";
        }
        for (const std::string& d : {polygonsDifference(a[i].polygons, b[i].polygons),
                                     labelDifference(a[i].label, b[i].label)}) {
            if (!d.empty()) {
                return where + d;
            }
        }
    }
    return {};
}

}  // namespace

VectorMap sampleNamedVectorMap() {
    VectorMap map = sampleVectorMap();
    // Two provinces of a former arrangement merged into one, an island province across 180°
    // with a lake in it, and a country in two pieces.
    const GeoPath west = ring({{.lat = 61.0, .lon = 170.0},
                               {.lat = 61.0, .lon = 178.0},
                               {.lat = 69.0, .lon = 179.0},
                               {.lat = 69.0, .lon = 170.0}});
    const GeoPath east = ring({{.lat = 61.0, .lon = 178.0},
                               {.lat = 61.0, .lon = 185.0},
                               {.lat = 69.0, .lon = 185.0},
                               {.lat = 69.0, .lon = 179.0}});
    const GeoPath island = ring(
        {{.lat = 64.0, .lon = 179.5}, {.lat = 64.0, .lon = 180.5}, {.lat = 64.7, .lon = 180.0}});
    const GeoPath lake = ring(
        {{.lat = 64.1, .lon = 179.9}, {.lat = 64.1, .lon = 180.1}, {.lat = 64.2, .lon = 180.0}});
    map.divisionAreas.push_back({{{ring({{.lat = 61.0, .lon = 170.0},
                                         {.lat = 61.0, .lon = 185.0},
                                         {.lat = 69.0, .lon = 185.0},
                                         {.lat = 69.0, .lon = 170.0}})}},
                                 QStringLiteral("Hồ Chí Minh"),
                                 QStringLiteral("VNM"),
                                 QDate(2025, 7, 1),
                                 {},
                                 {.lat = 65.123456789012345, .lon = 177.5}});
    map.divisionAreas.push_back({{{island, lake}},
                                 QStringLiteral("Чукотский автономный округ"),
                                 QStringLiteral("RUS"),
                                 {},
                                 {},
                                 {.lat = 64.3, .lon = 180.2}});
    map.divisions2008 = map.divisions;
    map.divisions2008.push_back({{{.lat = 61.0, .lon = 178.0}, {.lat = 69.0, .lon = 179.0}}, 0});
    map.divisionAreas2008.push_back({{{west}},
                                     QStringLiteral("Bà Rịa – Vũng Tàu"),
                                     QStringLiteral("VNM"),
                                     QDate(2008, 8, 1),
                                     QDate(2025, 6, 30),
                                     {.lat = 65.0, .lon = 174.0}});
    map.divisionAreas2008.push_back({{{east}},
                                     QStringLiteral("Bình Dương"),
                                     QStringLiteral("VNM"),
                                     QDate(2008, 8, 1),
                                     QDate(2025, 6, 30),
                                     {.lat = 65.0, .lon = 182.0}});
    map.countries.push_back({{{west}, {east}},
                             QStringLiteral("KOR"),
                             QStringLiteral("South Korea"),
                             QStringLiteral("Республика Корея"),
                             {.lat = 65.0, .lon = 182.0}});
    return map;
}

VectorMap sampleVectorMap() {
    VectorMap map;
    // Land from 170° E to 165° W, written as 195°, with a bay cut out as a hole.
    map.areas.push_back({{ring({{.lat = 60.0, .lon = 170.0},
                                {.lat = 60.0, .lon = 195.0},
                                {.lat = 70.123456789012345, .lon = 195.0},
                                {.lat = 70.0, .lon = 170.0}}),
                          ring({{.lat = 64.0, .lon = 181.5},
                                {.lat = 66.0, .lon = 181.5},
                                {.lat = 66.0, .lon = 185.25}})},
                         1});
    map.areas.push_back({{ring({{.lat = 62.0, .lon = 172.0},
                                {.lat = 62.0, .lon = 176.0},
                                {.lat = 64.0, .lon = 176.0},
                                {.lat = 64.0, .lon = 172.0}})},
                         2});
    map.areas.push_back({{ring({{.lat = 62.5, .lon = 173.0},
                                {.lat = 62.5, .lon = 174.0},
                                {.lat = 63.0, .lon = 173.5}})},
                         3});
    map.shores.push_back({{{.lat = 60.0, .lon = 170.0}, {.lat = 60.0, .lon = 195.0}}, 1});
    map.shores.push_back({ring({{.lat = 62.0, .lon = 172.0},
                                {.lat = 62.0, .lon = 176.0},
                                {.lat = 64.0, .lon = 176.0},
                                {.lat = 64.0, .lon = 172.0}}),
                          2});
    map.rivers.push_back({{{.lat = 68.0, .lon = 171.0},
                           {.lat = 67.5, .lon = 179.999999999},
                           {.lat = 67.0, .lon = 180.000000001},
                           {.lat = 66.9, .lon = 190.35}},
                          1});
    map.rivers.push_back({{{.lat = 69.0, .lon = 175.0}, {.lat = 68.5, .lon = 176.0}}, 4});
    map.rivers.push_back({{{.lat = 63.1, .lon = 174.1}, {.lat = 63.2, .lon = 174.2}}, 0});
    map.divisions.push_back(
        {{{.lat = 61.0, .lon = 178.0}, {.lat = 65.0, .lon = 178.0}, {.lat = 69.0, .lon = 179.0}},
         0});
    map.borders.push_back(
        {{{.lat = 43.115512345678901, .lon = 131.885509876543210}, {.lat = 44.0, .lon = 131.0}},
         1});
    return map;
}

std::string vectorMapDifference(const VectorMap& a, const VectorMap& b) {
    if (a.areas.size() != b.areas.size()) {
        return "areas: " + std::to_string(a.areas.size()) + " against " +
               std::to_string(b.areas.size());
    }
    for (std::size_t i = 0; i < a.areas.size(); ++i) {
        const std::string where = "area " + std::to_string(i);
        if (a.areas[i].level != b.areas[i].level) {
            return where + ": level";
        }
        if (a.areas[i].rings.size() != b.areas[i].rings.size()) {
            return where + ": rings";
        }
        for (std::size_t r = 0; r < a.areas[i].rings.size(); ++r) {
            if (const std::string d = pathDifference(a.areas[i].rings[r], b.areas[i].rings[r]);
                !d.empty()) {
                return where + " ring " + std::to_string(r) + ": " + d;
            }
        }
    }
    for (const std::string& d :
         {linesDifference("shores", a.shores, b.shores),
          linesDifference("rivers", a.rivers, b.rivers),
          linesDifference("divisions", a.divisions, b.divisions),
          linesDifference("borders", a.borders, b.borders),
          linesDifference("divisions2008", a.divisions2008, b.divisions2008),
          divisionsDifference("divisionAreas", a.divisionAreas, b.divisionAreas),
          divisionsDifference("divisionAreas2008", a.divisionAreas2008, b.divisionAreas2008),
          countriesDifference(a.countries, b.countries)}) {
        if (!d.empty()) {
            return d;
        }
    }
    return {};
}

}  // namespace zelkora
