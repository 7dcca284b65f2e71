#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "projection/LambertConic.h"

namespace zelkora {

namespace {

// The maps as the data folders hold them: normal size; high resolution is twice as large.
struct MapCase {
    const char* name;
    int map;
    bool hiRes;
    int width, height;
};

void PrintTo(const MapCase& c, std::ostream* os) {
    *os << c.name;
}

class RoundTrip : public testing::TestWithParam<MapCase> {};

// The inverse undoes the forward projection to far below a pixel all over the raster, its edges
// and corners included.
TEST_P(RoundTrip, PixelToGeoAndBack) {
    const MapCase& c = GetParam();
    const LambertConic conic(PAR_map[c.map], c.hiRes);
    ASSERT_TRUE(conic.hasCone());
    for (int i = 0; i <= 8; ++i) {
        for (int j = 0; j <= 8; ++j) {
            const QPointF pixel(c.width * i / 8.0, c.height * j / 8.0);
            const GeoPoint point = conic.toGeo(pixel, c.height);
            const QPointF back = conic.toPixel(point, c.height);
            EXPECT_NEAR(back.x(), pixel.x(), 1e-6) << i << ", " << j;
            EXPECT_NEAR(back.y(), pixel.y(), 1e-6) << i << ", " << j;
        }
    }
}

TEST_P(RoundTrip, GeoToPixelAndBack) {
    const MapCase& c = GetParam();
    const LambertConic conic(PAR_map[c.map], c.hiRes);
    const Tpar& par = PAR_map[c.map];
    for (double dLat : {0.0, 3.5, 9.0, 15.75}) {
        for (double dLon : {-1.5, 0.0, 4.25, 9.5}) {
            const GeoPoint point{.lat = par.left_Bottom_x + dLat, .lon = par.left_Bottom_y + dLon};
            const GeoPoint back = conic.toGeo(conic.toPixel(point, c.height), c.height);
            EXPECT_NEAR(back.lat, point.lat, 1e-9) << dLat << ", " << dLon;
            EXPECT_NEAR(back.lon, point.lon, 1e-9) << dLat << ", " << dLon;
        }
    }
}

// The origin's pixel is (ttx, h - tty), doubled from the left and bottom edges at high
// resolution, and it shows the origin's latitude and longitude.
TEST_P(RoundTrip, OriginPixelShowsTheOrigin) {
    const MapCase& c = GetParam();
    const Tpar& par = PAR_map[c.map];
    const double scale = c.hiRes ? 2 : 1;
    const GeoPoint origin =
        LambertConic(par, c.hiRes).toGeo({scale * par.ttx, c.height - scale * par.tty}, c.height);
    EXPECT_NEAR(origin.lat, par.left_Bottom_x, 1e-9);
    EXPECT_NEAR(origin.lon, par.left_Bottom_y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Maps, RoundTrip,
                         testing::Values(MapCase{"Vietnam", kMapVietnam, false, 1000, 1680},
                                         MapCase{"VietnamHiRes", kMapVietnam, true, 2000, 3360},
                                         MapCase{"FarEast", kMapFarEast, false, 940, 1660},
                                         MapCase{"FarEastHiRes", kMapFarEast, true, 1880, 3320}),
                         [](const auto& info) { return std::string(info.param.name); });

// The Far East map reaches past 180 degrees: the inverse keeps the longitude continuous, and the
// forward projection puts the western twin of that longitude on the same pixel.
// k is 1 on both standard parallels, and it is the ratio of a short step on the plane (pixels
// taken back through the map's two pixel scales) to the same step on the unit sphere.
TEST(LambertConic, ScaleFactorIsTheLocalRatioOfPlaneToSphere) {
    for (int map = 0; map < kMapCount; ++map) {
        const Tpar& par = PAR_map[map];
        const LambertConic conic(par, false);
        EXPECT_NEAR(conic.scaleFactor(par.x * 180.0), 1.0, 1e-12) << map;
        EXPECT_NEAR(conic.scaleFactor(par.y * 180.0), 1.0, 1e-12) << map;
        for (double lat : {par.left_Bottom_x, par.left_Bottom_x + 7.0, par.left_Bottom_x + 21.0}) {
            const double step = 1e-4;  // degrees, along the meridian
            const GeoPoint a{.lat = lat, .lon = par.left_Bottom_y + 3.0};
            const GeoPoint b{.lat = lat + step, .lon = a.lon};
            const QPointF d = conic.toPixel(b, 1000) - conic.toPixel(a, 1000);
            const double plane = std::hypot(d.x() / par.tx, d.y() / par.ty);
            const double sphere = step * std::numbers::pi / 180.0;
            EXPECT_NEAR(plane / sphere / conic.scaleFactor(lat + step / 2), 1.0, 1e-7)
                << map << ", " << lat;
        }
    }
}

TEST(LambertConic, LongitudeStaysContinuousAcross180) {
    const LambertConic conic(PAR_map[kMapFarEast], false);
    const QPointF topRight(940, 0);
    const GeoPoint corner = conic.toGeo(topRight, 1660);
    EXPECT_GT(corner.lon, 180.0);
    const QPointF west = conic.toPixel({.lat = corner.lat, .lon = corner.lon - 360}, 1660);
    EXPECT_NEAR(west.x(), topRight.x(), 1e-6);
    EXPECT_NEAR(west.y(), topRight.y(), 1e-6);
}

TEST(LambertConic, ConstantsWithoutAConeAreKnown) {
    Tpar equal = PAR_map[kMapFarEast];
    equal.y = equal.x;
    Tpar south = PAR_map[kMapFarEast];
    south.x = -0.2;
    south.y = -0.1;
    EXPECT_FALSE(LambertConic(equal, false).hasCone());
    EXPECT_FALSE(LambertConic(south, true).hasCone());
    EXPECT_TRUE(LambertConic(PAR_map[kMapVietnam], true).hasCone());
}

}  // namespace

}  // namespace zelkora
