// The generator's area work: rings clipped to a box and wrapped round a map, and provinces
// dissolved along their shared borders.
#include "tools/Polygons.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "common/ZelkoraError.h"
#include "projection/Tpar.h"

namespace zelkora {

namespace {

// A closed ring through the points given as (lon, lat) pairs, as one reads a map.
GeoPath ring(std::initializer_list<std::pair<double, double>> lonLat) {
    GeoPath path;
    for (const auto& [lon, lat] : lonLat) {
        path.push_back({.lat = lat, .lon = lon});
    }
    path.push_back(path.front());
    return path;
}

double area(const GeoPolygons& polygons) {
    double a = 0.0;
    for (const auto& rings : polygons) {
        for (std::size_t r = 0; r < rings.size(); ++r) {
            a += (r == 0 ? 1.0 : -1.0) * std::fabs(ringArea(rings[r]));
        }
    }
    return a;
}

std::size_t edges(const GeoPolygons& polygons) {
    std::size_t n = 0;
    for (const auto& rings : polygons) {
        for (const GeoPath& r : rings) {
            n += r.size() - 1;
        }
    }
    return n;
}

std::string errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const ZelkoraError& e) {
        return e.what();
    }
    return "no error";
}

TEST(Polygons, NeighboursDissolveAlongTheirSharedBorder) {
    // Three provinces in a row, the middle one drawn clockwise, the right one with a lake: the
    // union is one 3 x 1 rectangle with the lake still a hole, and no edge of x = 1 or x = 2
    // left inside it.
    const GeoPolygons left{{ring({{0, 0}, {1, 0}, {1, 0.5}, {1, 1}, {0, 1}})}};
    const GeoPolygons middle{{ring({{1, 0}, {1, 0.5}, {1, 1}, {2, 1}, {2, 0}})}};
    const GeoPolygons right{{ring({{2, 0}, {3, 0}, {3, 1}, {2, 1}}),
                             ring({{2.4, 0.4}, {2.6, 0.4}, {2.6, 0.6}, {2.4, 0.6}})}};
    const GeoPolygons merged = dissolved({left, middle, right}, 1e-5);
    ASSERT_EQ(merged.size(), 1u);
    ASSERT_EQ(merged[0].size(), 2u) << "the lake is kept";
    EXPECT_DOUBLE_EQ(area(merged), 3.0 - 0.04);
    EXPECT_EQ(edges(merged), 8u + 4u);
    for (const GeoPath& r : merged[0]) {
        for (std::size_t k = 0; k + 1 < r.size(); ++k) {
            const bool inner =
                (r[k].lon == 1 && r[k + 1].lon == 1) || (r[k].lon == 2 && r[k + 1].lon == 2);
            EXPECT_FALSE(inner) << "an edge along x = " << r[k].lon << " is left";
        }
    }
    // An island apart stays a polygon of its own.
    const GeoPolygons island{{ring({{5, 5}, {6, 5}, {6, 6}})}};
    EXPECT_EQ(dissolved({left, island}, 1e-5).size(), 2u);
}

TEST(Polygons, ABorderSharedOnlyApproximatelyIsRefused) {
    // The right province's border runs along the left one's without its middle vertex: the
    // dissolve would leave it inside the union.
    const GeoPolygons left{{ring({{0, 0}, {1, 0}, {1, 0.5}, {1, 1}, {0, 1}})}};
    const GeoPolygons right{{ring({{1, 0}, {2, 0}, {2, 1}, {1, 1}})}};
    EXPECT_NE(errorOf([&] {
                  dissolved({left, right}, 1e-5);
              }).find("приблизительно"),
              std::string::npos);
}

TEST(Polygons, ClipsRingsToTheBox) {
    const GeoBox box{.west = 0, .east = 10, .south = 0, .north = 10};
    // A square across the east edge with a hole inside the box, a hole outside it, and a
    // polygon wholly outside.
    const GeoPolygons clipped = clippedToBox(
        {{ring({{5, 2}, {15, 2}, {15, 8}, {5, 8}}), ring({{6, 4}, {7, 4}, {7, 5}, {6, 5}}),
          ring({{12, 4}, {13, 4}, {13, 5}, {12, 5}})},
         {ring({{20, 20}, {21, 20}, {21, 21}})}},
        box);
    ASSERT_EQ(clipped.size(), 1u);
    ASSERT_EQ(clipped[0].size(), 2u);
    EXPECT_DOUBLE_EQ(area(clipped), 5.0 * 6.0 - 1.0);
    for (const GeoPath& r : clipped[0]) {
        for (const GeoPoint& p : r) {
            EXPECT_LE(p.lon, 10.0);
        }
    }
}

TEST(Polygons, RingsWrapRoundTheMapWhole) {
    // Chukotka's east as Natural Earth gives it, in negative longitudes: one piece at 190°.
    const MapFrame farEast(PAR_map[kMapFarEast], false, QSize(940, 1660));
    const GeoPolygons wrapped =
        wrappedForMap({{ring({{-179.9, 65}, {-172, 65}, {-172, 67}, {-179.9, 67}})},
                       // A ring written across 180° in one piece stays one piece.
                       {ring({{179, 60}, {-179, 60}, {-179, 61}, {179, 61}})}},
                      farEast);
    EXPECT_DOUBLE_EQ(wrapped[0][0][0].lon, 180.1);
    EXPECT_DOUBLE_EQ(wrapped[0][0][1].lon, 188.0);
    EXPECT_DOUBLE_EQ(wrapped[1][0][1].lon, 181.0);
    EXPECT_NEAR(area(wrapped), 8 * 2 - 0.2 + 2, 1e-9);
    EXPECT_TRUE(containsPoint(wrapped, {.lat = 66, .lon = 185}));
    EXPECT_DOUBLE_EQ(distanceTo(wrapped, {.lat = 60.5, .lon = 183}), 2.0);
}

}  // namespace

}  // namespace zelkora
