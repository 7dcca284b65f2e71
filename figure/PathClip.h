#pragma once

#include <QPolygonF>
#include <QRectF>
#include <vector>

namespace zelkora {

// Cutting and thinning of the map's lines and rings before they are drawn, so that a figure
// holds only what its frame shows, in no more points than its resolution can tell apart.

// The pieces of a polyline that lie inside rect, appended to out, each of at least two points.
void clipPolyline(const QPolygonF& line, const QRectF& rect, std::vector<QPolygonF>& out);

// A ring cut to rect (Sutherland-Hodgman): the part of its area inside rect, with edges along
// rect's sides where it was cut. Empty when nothing of it is inside.
QPolygonF clipRing(const QPolygonF& ring, const QRectF& rect);

// The points of a line or ring without those closer than tolerance to the last point kept; the
// first and the last point always stay.
QPolygonF thinned(const QPolygonF& points, double tolerance);

// The line or ring simplified by Douglas and Peucker's rule: every point dropped lies within
// tolerance of the simplified line, measured with x multiplied by xScale (a longitude by the
// cosine of the latitude, so that degrees count the same both ways). Both ends stay.
QPolygonF simplified(const QPolygonF& points, double tolerance, double xScale = 1.0);

}  // namespace zelkora
