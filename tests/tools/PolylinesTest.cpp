// The generator's line work: lines joined end to end, clipped to a box, wrapped round a map.
#include "tools/Polylines.h"

#include <gtest/gtest.h>

#include "projection/Tpar.h"

namespace zelkora {

namespace {

GeoPolyline line(std::initializer_list<GeoPoint> points, int level = 1) {
    return {points, level};
}

std::vector<double> lons(const GeoPolyline& l) {
    std::vector<double> out;
    for (const GeoPoint& p : l.points) {
        out.push_back(p.lon);
    }
    return out;
}

TEST(Polylines, JoinsWhereExactlyTwoEndsOfOneLevelMeet) {
    // 1-2 forward, 3-2 backward, then a T at 3 with a third line; another level at 1.
    const std::vector<GeoPolyline> joined = joinedEndToEnd({
        line({{.lat = 0, .lon = 1}, {.lat = 0, .lon = 2}}),
        line({{.lat = 0, .lon = 3}, {.lat = 0, .lon = 2}}),
        line({{.lat = 0, .lon = 3}, {.lat = 1, .lon = 3}}),
        line({{.lat = 0, .lon = 3}, {.lat = -1, .lon = 3}}),
        line({{.lat = 5, .lon = 1}, {.lat = 0, .lon = 1}}, 2),
    });
    ASSERT_EQ(joined.size(), 4u);
    EXPECT_EQ(lons(joined[0]), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(joined[3].level, 2);
}

TEST(Polylines, ALoopOfPiecesStaysClosed) {
    const std::vector<GeoPolyline> joined = joinedEndToEnd({
        line({{.lat = 0, .lon = 0}, {.lat = 0, .lon = 1}}),
        line({{.lat = 1, .lon = 1}, {.lat = 0, .lon = 1}}),
        line({{.lat = 1, .lon = 1}, {.lat = 0, .lon = 0}}),
    });
    ASSERT_EQ(joined.size(), 1u);
    ASSERT_EQ(joined[0].points.size(), 4u);
    EXPECT_EQ(joined[0].points.front().lat, joined[0].points.back().lat);
    EXPECT_EQ(joined[0].points.front().lon, joined[0].points.back().lon);
}

TEST(Polylines, ClipsToTheBoxAndCutsWhereALineLeavesIt) {
    const GeoBox box{.west = 0, .east = 10, .south = 0, .north = 10};
    const std::vector<GeoPolyline> clipped =
        clippedToBox({line({{.lat = 5, .lon = -5},
                            {.lat = 5, .lon = 5},
                            {.lat = 5, .lon = 15},
                            {.lat = 6, .lon = 15},
                            {.lat = 6, .lon = 8},
                            {.lat = 7, .lon = 8}}),
                      line({{.lat = 20, .lon = 1}, {.lat = 30, .lon = 1}})},
                     box);
    ASSERT_EQ(clipped.size(), 2u);
    EXPECT_EQ(lons(clipped[0]), (std::vector<double>{0, 5, 10}));
    EXPECT_EQ(lons(clipped[1]), (std::vector<double>{10, 8, 8}));
}

TEST(Polylines, WrapsRoundTheMapAndCutsAtItsBackMeridian) {
    const MapFrame farEast(PAR_map[kMapFarEast], false, QSize(940, 1660));
    const std::vector<GeoPolyline> wrapped = wrappedForMap(
        {line({{.lat = 66, .lon = 179}, {.lat = 66, .lon = -179}, {.lat = 66, .lon = -169.65}}),
         // Across the back meridian (115 - 180 = -65): cut there.
         line({{.lat = 0, .lon = -64}, {.lat = 0, .lon = -66}})},
        farEast);
    ASSERT_EQ(wrapped.size(), 1u);
    EXPECT_EQ(lons(wrapped[0]), (std::vector<double>{179, 181, 190.35}));
}

}  // namespace

}  // namespace zelkora
