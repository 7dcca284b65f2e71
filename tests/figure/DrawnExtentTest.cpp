// A rectangle drawn on a figure, as the figure dialog takes it, turned into the box in degrees
// that zelkora-cli's --extent reads.
#include <gtest/gtest.h>

#include "figure/DrawnExtent.h"
#include "figure/Extent.h"
#include "figure/FigureLayout.h"
#include "tests/figure/FigureFixtures.h"

namespace zelkora {

namespace {

struct BoxCase {
    const char* name;
    int map;
    DegreeBox box;
};
const BoxCase kBoxes[] = {
    {"Primorye", kMapFarEast, {42.0, 130.0, 48.0, 139.0}},
    {"Kamchatka", kMapFarEast, {50.5, 155.5, 60.5, 163.0}},
    {"Sakhalin", kMapFarEast, {45.8, 141.5, 54.5, 144.8}},
    {"Chukotka, past 180", kMapFarEast, {63.0, 170.0, 68.0, 190.0}},
    {"Mekong delta", kMapVietnam, {8.5, 104.5, 11.0, 107.0}},
    {"Red River delta", kMapVietnam, {20.0, 105.5, 21.5, 107.0}},
};

FigureOptions boxOptions(int map, const DegreeBox& box, FigureProjectionKind projection) {
    FigureOptions o = optionsFor(map);
    o.extent = FigureExtent::Box;
    o.box = box;
    o.projection = projection;
    return o;
}

// In the map's own projection the extent of a box, drawn as a rectangle, gives the box back.
TEST(DrawnExtent, InTheMapsProjectionIsTheBoxWhoseExtentIsTheRectangle) {
    for (const BoxCase& c : kBoxes) {
        SCOPED_TRACE(c.name);
        const auto map = smallFigureMap(c.map);
        const QRectF rect =
            fixedExtent(boxOptions(c.map, c.box, FigureProjectionKind::Map), *map).extent;
        ASSERT_TRUE(QRectF(QPointF(0, 0), QSizeF(map->size())).contains(rect));
        const DegreeBox box = degreeBoxFor(map->projection(), *map, rect);
        const QRectF extent =
            fixedExtent(boxOptions(c.map, box, FigureProjectionKind::Map), *map).extent;
        EXPECT_NEAR(extent.left(), rect.left(), 0.05);
        EXPECT_NEAR(extent.top(), rect.top(), 0.05);
        EXPECT_NEAR(extent.right(), rect.right(), 0.05);
        EXPECT_NEAR(extent.bottom(), rect.bottom(), 0.05);
    }
}

// North up, a frame follows its box's meridians and parallels: the rectangle through the middles
// of its sides gives the box back, to the lean of its meridians.
TEST(DrawnExtent, NorthUpIsTheBoxThroughTheMiddlesOfTheRectanglesSides) {
    for (const BoxCase& c : kBoxes) {
        SCOPED_TRACE(c.name);
        const auto map = smallFigureMap(c.map);
        const FrameExtent frame = northUpFrame(c.box);
        const FigureProjection& p = frame.projection;
        const double midLat = (c.box.south + c.box.north) / 2;
        const double midLon = (c.box.west + c.box.east) / 2;
        const QRectF rect(
            QPointF(p.toPlane({midLat, c.box.west}).x(), p.toPlane({c.box.north, midLon}).y()),
            QPointF(p.toPlane({midLat, c.box.east}).x(), p.toPlane({c.box.south, midLon}).y()));
        const DegreeBox box = degreeBoxFor(p, *map, rect);
        // The middles of the sides are taken at the rectangle's middle height: the slanted
        // meridians move a little in longitude there.
        EXPECT_NEAR(box.south, c.box.south, 1e-9);
        EXPECT_NEAR(box.north, c.box.north, 1e-9);
        const double slack = 0.02 * (c.box.east - c.box.west);
        EXPECT_NEAR(box.west, c.box.west, slack);
        EXPECT_NEAR(box.east, c.box.east, slack);
    }
}

// Where the Far East map's meridians lean most, a thin strip across it, or a tall narrow one, has
// no box whose outline's bounds it is: it gets the smallest box that shows all of it, smaller
// than the box of every latitude and longitude it holds.
TEST(DrawnExtent, GivesTheNearestBoxThatShowsAllOfARectangleNoBoxFits) {
    const auto map = smallFigureMap(kMapFarEast);
    for (const QRectF& rect : {QRectF(300, 1000, 400, 20), QRectF(650, 900, 150, 500)}) {
        const DegreeBox box = degreeBoxFor(map->projection(), *map, rect);
        const QRectF extent = boxOutlineBounds(*map, box);
        const GeoRange range = rangeOfRectangle(map->projection(), rect);
        const QRectF holding =
            boxOutlineBounds(*map, {range.south, range.west, range.north, range.east});
        EXPECT_TRUE(extent.adjusted(-1, -1, 1, 1).contains(rect));
        EXPECT_LT(extent.width() * extent.height(), 0.8 * holding.width() * holding.height());
    }
}

}  // namespace

}  // namespace zelkora
