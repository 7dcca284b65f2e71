#pragma once

#include <QPointF>
#include <QPolygonF>
#include <vector>

namespace zelkora {

// Where a name has the most room inside an area: the point farthest from the area's outline
// (its pole of inaccessibility), and that distance. Coordinates are planar, a map's pixels or a
// figure's, so that the room is measured as it is seen.
struct LabelSpot {
    QPointF point;
    double room = 0.0;  // the distance from the point to the nearest edge
};

// A polygon, its outer ring first and then its holes, closed or not. The point is found to
// within precision of the best. A polygon without area gives its first point with no room.
LabelSpot labelSpot(const std::vector<QPolygonF>& rings, double precision);

// The distance from a point to a polygon's outline (its outer ring and its holes, even-odd),
// positive inside and negative outside.
double roomAt(QPointF point, const std::vector<QPolygonF>& rings);

// Of several polygons, the spot with the most room; a default spot for none.
LabelSpot labelSpot(const std::vector<std::vector<QPolygonF>>& polygons, double precision);

}  // namespace zelkora
