// Where a name has the most room: the pole of inaccessibility of an area.
#include "vectormap/LabelPoint.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelkora {

namespace {

QPolygonF polygon(std::initializer_list<QPointF> points) {
    return QPolygonF(points);
}

TEST(LabelPoint, TheSpotWithTheMostRoomFoundToThePrecision) {
    struct Case {
        const char* name;
        std::vector<QPolygonF> rings;
        QPointF point;
        double room;
    };
    const double diagonal = 4.0 * std::sqrt(2.0) / (1.0 + std::sqrt(2.0));
    const Case cases[] = {
        {"square", {polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}})}, {5, 5}, 5},
        {"long strip, drawn clockwise",
         {polygon({{0, 0}, {0, 10}, {100, 10}, {100, 0}, {0, 0}})},
         {50, 5},
         5},
        // The centroid of an L lies outside it; the spot is in its bend, as far from the outer
        // sides as from the inner corner.
        {"L",
         {polygon({{0, 0}, {30, 0}, {30, 6}, {6, 6}, {6, 30}, {0, 30}})},
         {1.5 * diagonal, 1.5 * diagonal},
         1.5 * diagonal},
        // A lake in the middle: the spot sits on a diagonal, as far from the shore as from the
        // lake's corner.
        {"square with a lake",
         {polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), polygon({{4, 4}, {6, 4}, {6, 6}, {4, 6}})},
         {diagonal, diagonal},
         diagonal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LabelSpot spot = labelSpot(c.rings, 0.01);
        EXPECT_NEAR(spot.room, c.room, 0.01);
        if (std::string(c.name) == "square with a lake") {
            // Any of the four diagonals will do.
            EXPECT_NEAR(std::fabs(spot.point.x() - 5), 5 - diagonal, 0.05);
            EXPECT_NEAR(std::fabs(spot.point.y() - 5), 5 - diagonal, 0.05);
        } else {
            EXPECT_NEAR(spot.point.x(), c.point.x(), 0.05);
            EXPECT_NEAR(spot.point.y(), c.point.y(), 0.05);
        }
    }
}

TEST(LabelPoint, OfSeveralPolygonsTheRoomiestAndOfNoneNoRoom) {
    const std::vector<std::vector<QPolygonF>> islands{
        {polygon({{0, 0}, {2, 0}, {2, 2}, {0, 2}})},
        {polygon({{10, 10}, {16, 10}, {16, 16}, {10, 16}})},
        {polygon({{20, 0}, {24, 0}, {24, 4}, {20, 4}})},
    };
    const LabelSpot spot = labelSpot(islands, 0.01);
    EXPECT_NEAR(spot.point.x(), 13, 0.05);
    EXPECT_NEAR(spot.room, 3, 0.01);

    EXPECT_EQ(labelSpot(std::vector<std::vector<QPolygonF>>{}, 1.0).room, 0.0);
    const LabelSpot flat = labelSpot(std::vector<QPolygonF>{polygon({{1, 1}, {5, 1}, {3, 1}})}, 1);
    EXPECT_EQ(flat.room, 0.0);
    EXPECT_EQ(flat.point, QPointF(1, 1));
}

}  // namespace

}  // namespace zelkora
