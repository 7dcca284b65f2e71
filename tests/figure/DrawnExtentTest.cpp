// A rectangle drawn on a map, as the figure dialog takes it, turned into the box in degrees that
// zelkora-cli's --extent reads.
#include <gtest/gtest.h>

#include "figure/DrawnExtent.h"
#include "figure/FigureLayout.h"
#include "figure/Graticule.h"
#include "tests/figure/FigureFixtures.h"

namespace zelkora {

namespace {

// The extent of a box, drawn as a rectangle, gives the box back.
TEST(DrawnExtent, IsTheBoxWhoseExtentIsTheRectangle) {
    struct Case {
        const char* name;
        int map;
        DegreeBox box;
    };
    const Case cases[] = {
        {"Primorye", kMapFarEast, {42.0, 130.0, 48.0, 139.0}},
        {"Kamchatka", kMapFarEast, {50.5, 155.5, 60.5, 163.0}},
        {"Sakhalin", kMapFarEast, {45.8, 141.5, 54.5, 144.8}},
        {"Chukotka, past 180", kMapFarEast, {63.0, 170.0, 68.0, 190.0}},
        {"Mekong delta", kMapVietnam, {8.5, 104.5, 11.0, 107.0}},
        {"Red River delta", kMapVietnam, {20.0, 105.5, 21.5, 107.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto map = smallFigureMap(c.map);
        const QRectF rect = boxExtent(*map, c.box);
        ASSERT_TRUE(QRectF(QPointF(0, 0), QSizeF(map->size())).contains(rect));
        const DegreeBox box = degreeBoxFor(*map, rect);
        const QRectF extent = boxExtent(*map, box);
        EXPECT_NEAR(extent.left(), rect.left(), 0.05);
        EXPECT_NEAR(extent.top(), rect.top(), 0.05);
        EXPECT_NEAR(extent.right(), rect.right(), 0.05);
        EXPECT_NEAR(extent.bottom(), rect.bottom(), 0.05);
    }
}

// Where the Far East map's meridians lean most, a thin strip across it, or a tall narrow one, has
// no box whose outline's bounds it is: it gets the smallest box that shows all of it, smaller
// than the box of every latitude and longitude it holds.
TEST(DrawnExtent, GivesTheNearestBoxThatShowsAllOfARectangleNoBoxFits) {
    const auto map = smallFigureMap(kMapFarEast);
    for (const QRectF& rect : {QRectF(300, 1000, 400, 20), QRectF(650, 900, 150, 500)}) {
        const QRectF extent = boxExtent(*map, degreeBoxFor(*map, rect));
        const GeoRange range = geoRangeOf(*map, rect);
        const QRectF holding = boxExtent(*map, {range.south, range.west, range.north, range.east});
        EXPECT_TRUE(extent.adjusted(-1, -1, 1, 1).contains(rect));
        EXPECT_LT(extent.width() * extent.height(), 0.8 * holding.width() * holding.height());
    }
}

}  // namespace

}  // namespace zelkora
