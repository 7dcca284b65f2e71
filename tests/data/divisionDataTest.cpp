// Checks the committed divisions of the maps: Vietnam's 34 provinces of 1 July 2025 dissolved
// from the 63 of 2008 with no old border left inside a new province, in the vector data and in
// the district pictures alike; names, dates and label points of every division and country.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "mapimage/DataPaths.h"
#include "projection/LambertConic.h"
#include "projection/Tpar.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

namespace {

const QString kData = QStringLiteral(ZELKORA_DATA_DIR "/");

const VectorMap& vectorMap(int map) {
    static std::map<int, VectorMap> cache;
    auto it = cache.find(map);
    if (it == cache.end()) {
        it = cache.emplace(map, loadVectorMap(vectorMapPath(kData, kMapCaptions[map]))).first;
    }
    return it->second;
}

std::set<QString> vietnameseNames(const std::vector<DivisionArea>& areas) {
    std::set<QString> names;
    for (const DivisionArea& a : areas) {
        if (a.country == QLatin1String("VNM")) {
            EXPECT_TRUE(names.insert(a.name).second) << a.name.toStdString() << " twice";
        }
    }
    return names;
}

std::set<QString> set(std::initializer_list<const char*> names) {
    std::set<QString> out;
    for (const char* n : names) {
        out.insert(QString::fromUtf8(n));
    }
    return out;
}

bool ringContains(const GeoPath& ring, GeoPoint p) {
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        if ((ring[i].lat > p.lat) != (ring[j].lat > p.lat) &&
            p.lon <
                (ring[j].lon - ring[i].lon) * (p.lat - ring[i].lat) / (ring[j].lat - ring[i].lat) +
                    ring[i].lon) {
            inside = !inside;
        }
    }
    return inside;
}

bool contains(const GeoPolygons& polygons, GeoPoint p) {
    for (const auto& rings : polygons) {
        bool inside = false;
        for (const GeoPath& ring : rings) {
            inside = inside != ringContains(ring, p);
        }
        if (inside) {
            return true;
        }
    }
    return false;
}

TEST(Divisions, VietnamHasTheThirtyFourProvincesOfTheResolutionAndTheSixtyThreeBefore) {
    const VectorMap& m = vectorMap(kMapVietnam);
    EXPECT_EQ(
        vietnameseNames(m.divisionAreas),
        set({"Tuyên Quang", "Lào Cai",   "Thái Nguyên", "Phú Thọ",     "Bắc Ninh",   "Hưng Yên",
             "Hải Phòng",   "Ninh Bình", "Quảng Trị",   "Đà Nẵng",     "Quảng Ngãi", "Gia Lai",
             "Khánh Hòa",   "Lâm Đồng",  "Đắk Lắk",     "Hồ Chí Minh", "Đồng Nai",   "Tây Ninh",
             "Cần Thơ",     "Vĩnh Long", "Đồng Tháp",   "Cà Mau",      "An Giang",   "Hà Nội",
             "Huế",         "Lai Châu",  "Điện Biên",   "Sơn La",      "Lạng Sơn",   "Quảng Ninh",
             "Thanh Hóa",   "Nghệ An",   "Hà Tĩnh",     "Cao Bằng"}));
    const std::set<QString> old = vietnameseNames(m.divisionAreas2008);
    EXPECT_EQ(old.size(), 63u);
    // The polygons Natural Earth names after regions carry their provinces' names.
    for (const char* name :
         {"Bắc Kạn", "Hưng Yên", "Đồng Nai", "Thừa Thiên Huế", "Bà Rịa – Vũng Tàu"}) {
        EXPECT_TRUE(old.contains(QString::fromUtf8(name))) << name;
    }
    for (const char* region : {"Đông Bắc", "Đồng Bằng Sông Hồng", "Đông Nam Bộ"}) {
        EXPECT_FALSE(old.contains(QString::fromUtf8(region))) << region;
    }
    for (const DivisionArea& a : m.divisionAreas) {
        if (a.country == QLatin1String("VNM")) {
            EXPECT_EQ(a.validFrom, QDate(2025, 7, 1));
            EXPECT_TRUE(a.validTo.isNull());
        }
    }
    for (const DivisionArea& a : m.divisionAreas2008) {
        if (a.country == QLatin1String("VNM")) {
            EXPECT_EQ(a.validFrom, QDate(2008, 8, 1));
            EXPECT_EQ(a.validTo, QDate(2025, 6, 30));
        }
    }
    // The Far East has one arrangement only.
    EXPECT_TRUE(vectorMap(kMapFarEast).divisionAreas2008.empty());
    EXPECT_TRUE(vectorMap(kMapFarEast).divisions2008.empty());
}

// Edges are compared by their end points, which the source shares bit for bit.
using Vertex = std::pair<std::int64_t, std::int64_t>;
using Edge = std::pair<Vertex, Vertex>;

Vertex vertex(GeoPoint p) {
    return {std::llround(p.lat * 1e7), std::llround(p.lon * 1e7)};
}

Edge edge(GeoPoint a, GeoPoint b) {
    const Vertex va = vertex(a);
    const Vertex vb = vertex(b);
    return va < vb ? Edge{va, vb} : Edge{vb, va};
}

std::set<Edge> edgesOf(const std::vector<VectorLine>& lines) {
    std::set<Edge> out;
    for (const VectorLine& l : lines) {
        for (std::size_t k = 0; k + 1 < l.points.size(); ++k) {
            out.insert(edge(l.points[k], l.points[k + 1]));
        }
    }
    return out;
}

// Every border between two old provinces, with the points of its edges: inside one new province
// (the new province holds both old ones' label points) or between two.
struct OldBorders {
    std::vector<std::pair<GeoPoint, GeoPoint>> inside;
    std::vector<std::pair<GeoPoint, GeoPoint>> between;
};

OldBorders oldBorders(const VectorMap& m) {
    std::map<Edge, std::vector<std::size_t>> users;
    std::map<Edge, std::pair<GeoPoint, GeoPoint>> points;
    std::vector<int> newOf(m.divisionAreas2008.size(), -1);
    for (std::size_t i = 0; i < m.divisionAreas2008.size(); ++i) {
        const DivisionArea& a = m.divisionAreas2008[i];
        if (a.country != QLatin1String("VNM")) {
            continue;
        }
        for (std::size_t n = 0; n < m.divisionAreas.size(); ++n) {
            if (m.divisionAreas[n].country == QLatin1String("VNM") &&
                contains(m.divisionAreas[n].polygons, a.label)) {
                EXPECT_EQ(newOf[i], -1) << a.name.toStdString() << " in two new provinces";
                newOf[i] = static_cast<int>(n);
            }
        }
        EXPECT_NE(newOf[i], -1) << a.name.toStdString() << " in no new province";
        for (const auto& rings : a.polygons) {
            for (const GeoPath& ring : rings) {
                for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
                    const Edge e = edge(ring[k], ring[k + 1]);
                    users[e].push_back(i);
                    points[e] = {ring[k], ring[k + 1]};
                }
            }
        }
    }
    OldBorders out;
    for (const auto& [e, u] : users) {
        if (u.size() == 2) {
            (newOf[u[0]] == newOf[u[1]] ? out.inside : out.between).push_back(points[e]);
        }
    }
    return out;
}

TEST(Divisions, NoOldBorderIsLeftInsideANewProvinceInTheVectorData) {
    const VectorMap& m = vectorMap(kMapVietnam);
    const OldBorders old = oldBorders(m);
    // Of the 63 provinces' borders, those inside the 29 merged provinces go and the rest stay.
    ASSERT_GT(old.inside.size(), 150u);
    ASSERT_GT(old.between.size(), 300u);
    const std::set<Edge> now = edgesOf(m.divisions);
    const std::set<Edge> before = edgesOf(m.divisions2008);
    for (const auto& [a, b] : old.inside) {
        EXPECT_FALSE(now.contains(edge(a, b))) << "a border left at " << a.lat << " N " << a.lon;
        EXPECT_TRUE(before.contains(edge(a, b)))
            << "missing in 2008 at " << a.lat << " N " << a.lon;
    }
    for (const auto& [a, b] : old.between) {
        EXPECT_TRUE(now.contains(edge(a, b))) << "a border lost at " << a.lat << " N " << a.lon;
        EXPECT_TRUE(before.contains(edge(a, b)));
    }
}

// The district pictures at both resolutions: no ink along an old border inside a new province,
// away from the borders that stay, and ink along nearly all of those that stay.
TEST(Divisions, NoOldBorderIsLeftInsideANewProvinceInThePictures) {
    const VectorMap& m = vectorMap(kMapVietnam);
    const OldBorders old = oldBorders(m);
    for (bool hiRes : {false, true}) {
        SCOPED_TRACE(hiRes ? "HiRes" : "normal");
        const QImage img = QImage(mapFolderPath(kData, kMapCaptions[kMapVietnam], hiRes) +
                                  QStringLiteral("Granitsy_rayonov.png"))
                               .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(img.isNull());
        const LambertConic conic(PAR_map[kMapVietnam], hiRes);
        const double scale = hiRes ? 2.0 : 1.0;
        std::vector<std::pair<QPointF, QPointF>> kept;
        for (const VectorLine& l : m.divisions) {
            for (std::size_t k = 0; k + 1 < l.points.size(); ++k) {
                kept.emplace_back(conic.toPixel(l.points[k], img.height()),
                                  conic.toPixel(l.points[k + 1], img.height()));
            }
        }
        const auto distanceToKept = [&](QPointF p) {
            double best = 1e9;
            for (const auto& [a, b] : kept) {
                const QPointF d = b - a;
                const double len2 = d.x() * d.x() + d.y() * d.y();
                const double t =
                    len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0) : 0.0;
                const QPointF q = a + t * d - p;
                best = std::min(best, std::hypot(q.x(), q.y()));
            }
            return best;
        };
        const auto inkNear = [&](QPointF p, int reach) {
            const int cx = static_cast<int>(std::floor(p.x()));
            const int cy = static_cast<int>(std::floor(p.y()));
            for (int y = cy - reach; y <= cy + reach; ++y) {
                for (int x = cx - reach; x <= cx + reach; ++x) {
                    if (img.rect().contains(x, y) && qAlpha(img.pixel(x, y)) >= 64) {
                        return true;
                    }
                }
            }
            return false;
        };
        // Points a quarter, half and three quarters along each edge.
        int checked = 0;
        for (const auto& [a, b] : old.inside) {
            for (double t : {0.25, 0.5, 0.75}) {
                const GeoPoint g{.lat = a.lat + t * (b.lat - a.lat),
                                 .lon = a.lon + t * (b.lon - a.lon)};
                const QPointF p = conic.toPixel(g, img.height());
                if (distanceToKept(p) < 4 * scale) {
                    continue;
                }
                ++checked;
                EXPECT_FALSE(inkNear(p, static_cast<int>(scale)))
                    << "ink of an old border at " << g.lat << " N " << g.lon << " E";
            }
        }
        EXPECT_GT(checked, 200);
        // Dashed: a point may sit in a gap, so the stayed borders are looked for wider.
        int found = 0;
        for (const auto& [a, b] : old.between) {
            const GeoPoint g{.lat = (a.lat + b.lat) / 2, .lon = (a.lon + b.lon) / 2};
            found += inkNear(conic.toPixel(g, img.height()), static_cast<int>(3 * scale)) ? 1 : 0;
        }
        EXPECT_GT(found, static_cast<int>(old.between.size() * 99 / 100));
    }
}

TEST(Divisions, EveryDivisionAndCountryHasItsNamesAndALabelPointInside) {
    const std::map<int, std::set<QString>> countries{
        {kMapVietnam, {"VNM", "LAO", "KHM", "THA", "CHN"}},
        {kMapFarEast, {"RUS", "CHN", "MNG", "PRK", "KOR", "JPN", "USA"}},
    };
    for (int map : {kMapVietnam, kMapFarEast}) {
        SCOPED_TRACE(map == kMapVietnam ? "Vietnam" : "Far East");
        const VectorMap& m = vectorMap(map);
        ASSERT_GT(m.divisionAreas.size(), 50u);
        for (const auto* areas : {&m.divisionAreas, &m.divisionAreas2008}) {
            for (const DivisionArea& a : *areas) {
                SCOPED_TRACE(a.name.toStdString());
                EXPECT_FALSE(a.name.trimmed().isEmpty());
                EXPECT_TRUE(contains(a.polygons, a.label));
                // Russia's regions are named in Russian.
                if (a.country == QLatin1String("RUS")) {
                    EXPECT_EQ(a.name.front().script(), QChar::Script_Cyrillic);
                }
            }
        }
        std::set<QString> isos;
        for (const CountryArea& c : m.countries) {
            SCOPED_TRACE(c.nameEn.toStdString());
            isos.insert(c.iso);
            EXPECT_FALSE(c.nameEn.isEmpty());
            EXPECT_EQ(c.nameRu.front().script(), QChar::Script_Cyrillic);
            EXPECT_TRUE(contains(c.polygons, c.label));
        }
        EXPECT_EQ(isos, countries.at(map));
    }
}

}  // namespace

}  // namespace zelkora
