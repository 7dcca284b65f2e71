// Shore pieces as gmt dumps them, joined and closed into areas along the region's edge.
#include "tools/ShoreAssembly.h"

#include <gtest/gtest.h>

#include <string>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

// A region of 10 x 10 degrees.
const GeoBox kRegion{.west = 100, .east = 110, .south = 0, .north = 10};

GeoPolyline piece(std::initializer_list<GeoPoint> points, int level = 1) {
    return {points, level};
}

// Twice the signed area in degrees²: positive counter-clockwise.
double signedArea(const GeoPath& ring) {
    double twice = 0.0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        twice += ring[i].lon * ring[i + 1].lat - ring[i + 1].lon * ring[i].lat;
    }
    return twice / 2.0;
}

bool contains(const GeoPath& ring, GeoPoint p) {
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const GeoPoint& a = ring[i];
        const GeoPoint& b = ring[j];
        if ((a.lat > p.lat) != (b.lat > p.lat) &&
            p.lon < (b.lon - a.lon) * (p.lat - a.lat) / (b.lat - a.lat) + a.lon) {
            inside = !inside;
        }
    }
    return inside;
}

// Land in the south-west of the region: the coast runs from the south edge to the west edge,
// land on its left, in two pieces cut at a bin edge (lon 105). A lake (clockwise) in the land.
TEST(ShoreAssembly, ClosesChainsAlongTheEdgeWithTheLandInside) {
    const ShoreAssembly shores(
        {piece({{.lat = 0, .lon = 108}, {.lat = 3, .lon = 107}, {.lat = 5, .lon = 105}}),
         piece({{.lat = 5, .lon = 105}, {.lat = 7, .lon = 102}, {.lat = 8, .lon = 100}}),
         piece({{.lat = 2, .lon = 102},
                {.lat = 3, .lon = 102},
                {.lat = 3, .lon = 103},
                {.lat = 2, .lon = 102}},
               2)},
        kRegion);
    ASSERT_EQ(shores.lines().size(), 2u);
    EXPECT_EQ(shores.lines()[0].points.size(), 5u);  // the two pieces as one line

    const std::vector<VectorArea> areas = shores.areas();
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[0].level, 1);
    EXPECT_EQ(areas[1].level, 2);
    const GeoPath& land = areas[0].rings.at(0);
    EXPECT_GT(signedArea(land), 0.0);
    EXPECT_TRUE(contains(land, {.lat = 1, .lon = 101}));   // south-west corner: land
    EXPECT_FALSE(contains(land, {.lat = 9, .lon = 109}));  // north-east: sea
    EXPECT_EQ(land.front().lat, land.back().lat);
    EXPECT_EQ(land.front().lon, land.back().lon);
    // Along the edge a point every half degree: 7.5 down to the corner on the west edge, 100.5
    // to 107.5 on the south edge; then the closing point.
    EXPECT_EQ(land.size(), 5u + 16u + 15u + 1u);
    // The lake is turned counter-clockwise, its water inside.
    EXPECT_GT(signedArea(areas[1].rings.at(0)), 0.0);
}

// A bay from the north edge with land all round it: the ring goes along the edge past all four
// corners, from where the coast leaves the region to where it comes in again.
TEST(ShoreAssembly, WalksPastEveryCornerBetweenExitAndEntry) {
    const ShoreAssembly shores(
        {piece({{.lat = 10, .lon = 106}, {.lat = 5, .lon = 105}, {.lat = 10, .lon = 104}})},
        kRegion);
    const std::vector<VectorArea> areas = shores.areas();
    ASSERT_EQ(areas.size(), 1u);
    const GeoPath& land = areas[0].rings[0];
    EXPECT_TRUE(contains(land, {.lat = 1, .lon = 101}));
    EXPECT_TRUE(contains(land, {.lat = 9, .lon = 109}));
    EXPECT_FALSE(contains(land, {.lat = 9, .lon = 105}));  // the bay
    EXPECT_GT(signedArea(land), 0.0);
}

// An island that gmt clipped as a polygon: its ring runs along the east edge twice, the two
// stretches lying over one another. Without them it is two pieces of land, each closed on its own.
TEST(ShoreAssembly, IslandClippedAsAPolygonBecomesChains) {
    const ShoreAssembly shores({piece({{.lat = 5.0, .lon = 109},
                                       {.lat = 5.5, .lon = 110},  // out
                                       {.lat = 5.2, .lon = 110},  // back in, along the edge
                                       {.lat = 5.0, .lon = 109.5},
                                       {.lat = 4.5, .lon = 110},  // out
                                       {.lat = 5.8, .lon = 110},  // in, over the first stretch
                                       {.lat = 6.0, .lon = 109},
                                       {.lat = 5.0, .lon = 109}})},
                               kRegion);
    EXPECT_EQ(shores.lines().size(), 2u);
    const std::vector<VectorArea> areas = shores.areas();
    ASSERT_EQ(areas.size(), 2u);
    for (const VectorArea& a : areas) {
        for (const GeoPoint& p : a.rings[0]) {
            EXPECT_LE(p.lon, 110.0);
        }
        EXPECT_GT(signedArea(a.rings[0]), 0.0);
    }
}

TEST(ShoreAssembly, RefusesPiecesThatDoNotJoinOrRunTheWrongWay) {
    struct Case {
        const char* name;
        std::vector<GeoPolyline> pieces;
        const char* message;
    };
    const Case cases[] = {
        {"ends inside",
         {piece({{.lat = 0, .lon = 108}, {.lat = 3, .lon = 107}, {.lat = 5, .lon = 105}})},
         "ends inside the region"},
        {"land ring clockwise",
         {piece({{.lat = 2, .lon = 102},
                 {.lat = 3, .lon = 102},
                 {.lat = 3, .lon = 103},
                 {.lat = 2, .lon = 102}})},
         "runs the wrong way round"},
        {"levels meet",
         {piece({{.lat = 0, .lon = 108}, {.lat = 5, .lon = 105}}),
          piece({{.lat = 5, .lon = 105}, {.lat = 8, .lon = 100}}, 2)},
         "levels 1 and 2 meet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ShoreAssembly(c.pieces, kRegion);
            ADD_FAILURE() << "accepted";
        } catch (const ZelkoraError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace

}  // namespace zelkora
