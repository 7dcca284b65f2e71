#include <gtest/gtest.h>

#include <QFile>
#include <cmath>
#include <limits>

#include "common/ZelkoraError.h"
#include "plot/zelkora.h"
#include "table/PointTable.h"
#include "tests/plot/PlotFixtures.h"
#include "tests/support/TestFiles.h"

namespace zelkora {

namespace {

constexpr Rgba kMapColour{250, 240, 230, 200};

Rgba typeColour(int type) {
    return {static_cast<std::uint8_t>(20 * type), 100, static_cast<std::uint8_t>(200 - 10 * type),
            255};
}

// An 800 x 600 map of the Far East on which (50, 140) projects to (582.66, 167.23), and a data
// folder with one small opaque icon per type, each of its own colour.
class MarkerPass : public testing::Test {
  protected:
    void SetUp() override {
        for (int type = 0; type < 9; ++type) {
            icons.write(type, filled(6, 6, typeColour(type)));
        }
    }

    TPngImage pass(int pntSize = 10, bool red = false, const YieldFn& yield = {}) {
        return zelkora(points, table, PAR_map[kMapFarEast], false, map, pntSize, red,
                       icons.dataDir(), yield);
    }

    void writeGarbage(int type) { writeBytes(icons.iconFile(type), "not a picture"); }

    IconFolder icons;
    PointTable table;
    Tpoints points;
    const TPngImage map = filled(800, 600, kMapColour);
};

TEST_F(MarkerPass, NoPointsShowsTheBareMapWithoutReadingIcons) {
    for (int type = 0; type < 9; ++type) {
        writeGarbage(type);
    }
    points.num = 3;
    EXPECT_EQ(pass(), map);
    EXPECT_EQ(points.num, 0);
}

// pntSize 10: half 5, so the icon covers columns 577..586 and rows 162..171.
TEST_F(MarkerPass, HigherTypeLiesOnTopAndTheMapStaysClean) {
    table.setCell(6, 1, QStringLiteral("50, 140"));
    table.setCell(1, 1, QStringLiteral("50, 140"));
    const TPngImage before = map;
    const TPngImage shown = pass();
    EXPECT_EQ(map, before);
    Rgba marker = typeColour(6);
    marker[3] = kMapColour[3];
    EXPECT_EQ(pixelAt(shown, 582, 167), marker);
    EXPECT_EQ(pixelAt(shown, 577, 162), marker);
    EXPECT_EQ(pixelAt(shown, 586, 171), marker);
    EXPECT_EQ(pixelAt(shown, 576, 162), kMapColour);
    EXPECT_EQ(pixelAt(shown, 587, 171), kMapColour);
    EXPECT_EQ(pixelAt(shown, 577, 161), kMapColour);
    EXPECT_EQ(pixelAt(shown, 577, 172), kMapColour);
}

TEST_F(MarkerPass, MissingIconLeavesOnlyItsTypeUndrawn) {
    QFile::remove(icons.iconFile(4));
    table.setCell(4, 1, QStringLiteral("50, 140"));
    table.setCell(2, 1, QStringLiteral("50, 141"));
    int yields = 0;
    const TPngImage shown = pass(10, false, [&] { ++yields; });
    EXPECT_EQ(yields, 1);
    EXPECT_EQ(pixelAt(shown, 582, 167), kMapColour);
    const Tpoint& drawn = points.p[0];
    ASSERT_EQ(drawn.t, 2);
    EXPECT_EQ(pixelAt(shown, static_cast<int>(drawn.xImg), static_cast<int>(drawn.yImg)),
              (Rgba{40, 100, 180, kMapColour[3]}));
}

TEST_F(MarkerPass, RedMarkersKeepTheMapsRedSample) {
    icons.write(0, filled(6, 6, {0, 0, 0, 255}));
    table.setCell(0, 1, QStringLiteral("50, 140"));
    EXPECT_EQ(pixelAt(pass(10, true), 582, 167), (Rgba{250, 0, 0, kMapColour[3]}));
}

TEST_F(MarkerPass, TypesBeyondEightAreListedButNotDrawn) {
    icons.write(10, filled(6, 6, {0, 0, 0, 255}));
    table.setShape(12, 70);
    table.setCell(10, 1, QStringLiteral("50, 140"));
    EXPECT_EQ(pass(), map);
    EXPECT_EQ(points.num, 1);
}

// With no position they lie nowhere on the map: they are neither listed nor drawn (the origin
// of the plane, where they once landed, is the map's bottom-left corner).
TEST_F(MarkerPass, PointsWithoutAPositionAreNotListed) {
    table.setCell(0, 1, QStringLiteral("-90, 0"));
    table.setCell(0, 2, QStringLiteral("1e308, 1e308"));
    table.setCell(4, 1, QStringLiteral("-90, 150"));
    EXPECT_EQ(pass(), map);
    EXPECT_EQ(points.num, 0);
}

TEST_F(MarkerPass, BadCellEndsThePassBeforeAnyDrawing) {
    table.setCell(0, 1, QStringLiteral("50, 140"));
    table.setCell(0, 2, QStringLiteral("N48, E135"));
    int yields = 0;
    EXPECT_THROW(pass(10, false, [&] { ++yields; }), ZelkoraError);
    EXPECT_EQ(yields, 0);
    EXPECT_EQ(points.num, 1);
}

TEST_F(MarkerPass, UnreadableIconEndsThePass) {
    writeGarbage(3);
    table.setCell(0, 1, QStringLiteral("50, 140"));
    EXPECT_THROW(pass(), ZelkoraError);
}

TEST_F(MarkerPass, EmptyMapShowsTheEmptyPicture) {
    table.setCell(0, 1, QStringLiteral("50, 140"));
    const TPngImage shown = zelkora(points, table, PAR_map[kMapFarEast], false, TPngImage(), 10,
                                    false, icons.dataDir(), {});
    EXPECT_TRUE(shown.isEmpty());
}

// The drawing step on its own, with the points placed by hand.
class Drawing : public testing::Test {
  protected:
    void add(int t, double xImg, double yImg) {
        Tpoint& p = points.p[static_cast<std::size_t>(points.num++)];
        p.t = t;
        p.xImg = xImg;
        p.yImg = yImg;
    }

    IconFolder icons;
    Tpoints points;
    TPngImage marked = filled(200, 150, kMapColour);
};

// Two type-3 points whose 8-pixel icons (red left half, blue right half) overlap in columns
// 104..107: the later point's red half lies on top.
TEST_F(Drawing, LaterPointOfATypeLiesOnTop) {
    TPngImage icon = filled(8, 8, {255, 0, 0, 255});
    for (int y = 0; y < 8; ++y) {
        for (int x = 4; x < 8; ++x) {
            setPixel(icon, x, y, {0, 0, 255, 255});
        }
    }
    icons.write(3, icon);
    add(3, 104, 50);
    add(3, 108, 50);
    drawMarkers(marked, points, 8, false, icons.dataDir(), {});
    EXPECT_EQ(pixelAt(marked, 105, 50), (Rgba{255, 0, 0, kMapColour[3]}));
    EXPECT_EQ(pixelAt(marked, 102, 50), (Rgba{255, 0, 0, kMapColour[3]}));
    EXPECT_EQ(pixelAt(marked, 110, 50), (Rgba{0, 0, 255, kMapColour[3]}));
}

// xImg 10.2 with pntSize 59: aLeft = trunc(10.2 - 29) = -18, so icon columns 18..58 land on map
// columns 0..40. The icon's red sample is its column number.
TEST_F(Drawing, IconCutAtTheLeftEdge) {
    TPngImage icon = TPngImage::CreateBlank(59, 59);
    for (int y = 0; y < 59; ++y) {
        for (int x = 0; x < 59; ++x) {
            setPixel(icon, x, y, {static_cast<std::uint8_t>(x), 1, 2, 255});
        }
    }
    icons.write(0, icon);
    add(0, 10.2, 100.7);  // aTop = trunc(71.7) = 71
    drawMarkers(marked, points, 59, false, icons.dataDir(), {});
    EXPECT_EQ(pixelAt(marked, 0, 71)[0], 18);
    EXPECT_EQ(pixelAt(marked, 40, 129)[0], 58);
    EXPECT_EQ(pixelAt(marked, 41, 100), kMapColour);
    EXPECT_EQ(pixelAt(marked, 20, 70), kMapColour);
    EXPECT_EQ(pixelAt(marked, 20, 130), kMapColour);
}

TEST_F(Drawing, PositionsOffTheMapDrawNothingButYield) {
    icons.write(5, filled(4, 4, {0, 0, 0, 255}));
    const double inf = std::numeric_limits<double>::infinity();
    for (const double v : {std::nan(""), inf, -inf, 1e10, -3e9, 2147483700.0, -500.0, 1000.0}) {
        add(5, v, 20);
        add(5, 20, v);
    }
    const TPngImage before = marked;
    int yields = 0;
    drawMarkers(marked, points, 10, false, icons.dataDir(), [&] { ++yields; });
    EXPECT_EQ(yields, points.num);
    EXPECT_EQ(marked, before);
}

// Markers of size 8 as drawMarkers lays them: (104, 50) covers columns 100..107 and rows 46..53.
TEST_F(Drawing, MarkerAtFindsTheMarkerDrawnOnTop) {
    add(3, 104, 50);                     // 0
    add(3, 108, 50);                     // 1: later, on top of 0 where they overlap
    add(6, 30, 30);                      // 2
    add(1, 30, 30);                      // 3: a lower type, under 2
    add(9, 60, 60);                      // 4: not drawn
    add(2, std::nan(""), 60);            // 5: no position
    add(0, -2147483000.0, -2147483000);  // 6: far off the map
    struct Case {
        int x, y, found;
    };
    const Case cases[] = {
        {100, 46, 0},
        {103, 53, 0},
        {104, 50, 1},
        {111, 50, 1},
        {112, 50, -1},
        {99, 50, -1},
        {104, 54, -1},
        {30, 30, 2},
        {60, 60, -1},
        {0, 0, -1},
        {-2147483000, -2147483000, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(markerAt(points, 8, c.x, c.y), c.found) << c.x << "," << c.y;
    }
}

struct OriginCase {
    double position;
    int pntSize;
    bool fits;
    int origin;
};

TEST(IconOrigin, HalfIsTakenInIntegersAndTheResultTruncatedTowardZero) {
    const double nan = std::nan("");
    const OriginCase cases[] = {
        {10.2, 59, true, -18},
        {100.7, 59, true, 71},
        {50.2, 59, true, 21},
        {100.0, 60, true, 70},
        {29.5, 60, true, 0},  // -0.5 truncates to 0, not -1
        {2147483647.0 + 29, 59, true, 2147483647},
        {2147483648.0 + 29, 59, false, 0},
        {-2147483648.0 + 29.9, 59, true, -2147483647},
        {-2147483648.0 + 29, 59, true, -2147483647 - 1},
        {-2147483649.0 + 29, 59, false, 0},
        {nan, 59, false, 0},
        {std::numeric_limits<double>::infinity(), 59, false, 0},
    };
    for (const OriginCase& c : cases) {
        int origin = 12345;
        EXPECT_EQ(iconOrigin(c.position, c.pntSize / 2, origin), c.fits) << c.position;
        if (c.fits) {
            EXPECT_EQ(origin, c.origin) << c.position;
        }
    }
}

}  // namespace

}  // namespace zelkora
