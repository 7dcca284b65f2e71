#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "projection/geo.h"

namespace zelkora {

namespace {

constexpr double kPixelTolerance = 1e-6;

Tpoint at(double lat, double lon) {
    Tpoint p;
    p.t = 3;
    p.x = lat;
    p.y = lon;
    return p;
}

struct WorkedExample {
    const char* name;
    int map;
    double lat, lon;
    bool hiRes;
    int height;
    double xImg, yImg;
};

void PrintTo(const WorkedExample& e, std::ostream* os) {
    *os << e.name;
}

class WorkedExamples : public testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExamples, ReproduceToMicroPixel) {
    const WorkedExample& e = GetParam();
    const Tpoint out = geo(at(e.lat, e.lon), PAR_map[e.map], e.hiRes, e.height);
    EXPECT_NEAR(out.xImg, e.xImg, kPixelTolerance);
    EXPECT_NEAR(out.yImg, e.yImg, kPixelTolerance);
    EXPECT_EQ(out.t, 3);
    EXPECT_EQ(out.x, e.lat);
    EXPECT_EQ(out.y, e.lon);
}

INSTANTIATE_TEST_SUITE_P(
    Maps, WorkedExamples,
    testing::Values(
        WorkedExample{"VietnamNormal", 0, 16, 106, false, 3000, 430.7021951, 2168.700727},
        WorkedExample{"VietnamHiRes", 0, 16, 106, true, 6000, 861.4043901, 4337.401454},
        WorkedExample{"FarEastNormal", 1, 50, 140, false, 3000, 582.6600870, 2567.229511},
        WorkedExample{"FarEastHiRes", 1, 50, 140, true, 6000, 1165.320174, 5134.459022}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Geo, OriginLandsOnOffsetsAtBothResolutionsWhateverTheRotation) {
    for (double alpha : {0.0, 14.6, 90.0, -33.0}) {
        Tpar par = PAR_map[1];
        par.alpha = alpha;
        const Tpoint origin = at(par.left_Bottom_x, par.left_Bottom_y);
        const Tpoint normal = geo(origin, par, false, 3000);
        EXPECT_NEAR(normal.xImg, 12, 1e-9);
        EXPECT_NEAR(normal.yImg, 2988, 1e-9);
        const Tpoint hi = geo(origin, par, true, 3000);
        EXPECT_NEAR(hi.xImg, 24, 1e-9);
        EXPECT_NEAR(hi.yImg, 2976, 1e-9);
    }
    const Tpoint vn = geo(at(8, 101.73), PAR_map[0], false, 3000);
    EXPECT_NEAR(vn.xImg, 0, 1e-9);
    EXPECT_NEAR(vn.yImg, 2997, 1e-9);
}

// Equal parallels, and parallels south of the equator (negative cone constant), leave every
// point at the origin of the plane.
TEST(Geo, DegenerateConesKeepEveryPointAtTheOrigin) {
    Tpar equal = PAR_map[1];
    equal.y = equal.x;
    Tpar south = PAR_map[1];
    south.x = -0.2;
    south.y = -0.1;
    for (const Tpar& par : {equal, south}) {
        for (const Tpoint& p : {at(50, 140), at(-10, 20), at(89, 300)}) {
            const Tpoint out = geo(p, par, false, 1000);
            EXPECT_DOUBLE_EQ(out.xImg, par.ttx);
            EXPECT_DOUBLE_EQ(out.yImg, 1000 - par.tty);
        }
    }
}

TEST(Geo, CentralMeridianHasOriginColumnWithoutRotation) {
    for (double lat : {8.0, 12.5, 23.9}) {
        EXPECT_DOUBLE_EQ(geo(at(lat, 101.73), PAR_map[0], false, 1680).xImg, 0.0);
        EXPECT_DOUBLE_EQ(geo(at(lat, 101.73), PAR_map[0], true, 3360).xImg, 0.0);
    }
}

TEST(Geo, RasterHeightShiftsOnlyTheRow) {
    const Tpoint a = geo(at(50, 140), PAR_map[1], false, 1660);
    const Tpoint b = geo(at(50, 140), PAR_map[1], false, 3000);
    EXPECT_EQ(a.xImg, b.xImg);
    EXPECT_NEAR(b.yImg - a.yImg, 1340, 1e-9);
}

// A positive rotation turns the plane counter-clockwise on screen: a point due east of the
// origin moves up (smaller row).
TEST(Geo, PositiveAlphaTurnsCounterClockwise) {
    Tpar par = PAR_map[1];
    par.alpha = 0;
    const Tpoint flat = geo(at(46.5, 125), par, false, 2000);
    par.alpha = 10;
    const Tpoint turned = geo(at(46.5, 125), par, false, 2000);
    EXPECT_LT(turned.yImg, flat.yImg);
}

// A point whose projection faults has no position: once it was left on the origin of the plane
// and a marker appeared in the map's corner, where no point is.
TEST(Geo, APointWhoseProjectionFaultsHasNoPosition) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, double> faulting[] = {{-90, 0},   {-90, 150}, {1e308, 1e308},
                                                  {inf, 150}, {50, inf},  {nan, 140}};
    for (const auto& [lat, lon] : faulting) {
        for (const bool hiRes : {false, true}) {
            const Tpoint out = geo(at(lat, lon), PAR_map[1], hiRes, 1000);
            EXPECT_TRUE(std::isnan(out.xImg) && std::isnan(out.yImg)) << lat << ", " << lon;
        }
    }
    // The northern pole is the apex of the cone, a point like any other.
    const Tpoint pole = geo(at(90, 150), PAR_map[1], false, 1000);
    EXPECT_TRUE(std::isfinite(pole.xImg) && std::isfinite(pole.yImg));
}

TEST(Geo, LongitudesAcross180LandWhereTheirEasternTwinLands) {
    const Tpoint west = geo(at(66.0, -169.65), PAR_map[1], false, 1660);
    const Tpoint east = geo(at(66.0, 190.35), PAR_map[1], false, 1660);
    EXPECT_NEAR(west.xImg, east.xImg, 1e-9);
    EXPECT_NEAR(west.yImg, east.yImg, 1e-9);
    EXPECT_EQ(west.y, -169.65);  // the point keeps the longitude it was given
}

struct WrapCase {
    double lon, meridian, expected;
};

TEST(Geo, WrapLongitudeMovesOnlyFarLongitudes) {
    const WrapCase cases[] = {
        {200, 115, 200},         // within 180 of the meridian: as it stands
        {-169.65, 115, 190.35},  // across the date line
        {295, 115, 295},         // exactly 180 away stays
        {296, 115, -64},         // just beyond
        {-65, 115, -65},        {-66, 115, 294}, {106 + 720, 101.73, 106}, {101.73, 101.73, 101.73},
    };
    for (const WrapCase& c : cases) {
        EXPECT_NEAR(wrapLongitude(c.lon, c.meridian), c.expected, 1e-9) << c.lon;
    }
    EXPECT_EQ(wrapLongitude(200, 115), 200);  // bit-exact, not recomputed
}

TEST(Tpar, StoredSetsMatchTheMaps) {
    EXPECT_EQ(PAR_map[1].x, 0.172);
    EXPECT_EQ(PAR_map[1].left_Bottom_y, 115);
    EXPECT_EQ(PAR_map[0].y, 0.01);
    EXPECT_EQ(PAR_map[0].left_Bottom_y, 101.73);
    EXPECT_EQ(parForMap(1), PAR_map[1]);
    EXPECT_THROW(parForMap(2), std::exception);
}

}  // namespace

}  // namespace zelkora
