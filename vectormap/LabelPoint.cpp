#include "vectormap/LabelPoint.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <queue>

namespace zelkora {

namespace {

// The squared distance from p to the segment ab.
double segmentDistance2(QPointF p, QPointF a, QPointF b) {
    double x = a.x();
    double y = a.y();
    const double dx = b.x() - x;
    const double dy = b.y() - y;
    if (dx != 0.0 || dy != 0.0) {
        const double t = ((p.x() - x) * dx + (p.y() - y) * dy) / (dx * dx + dy * dy);
        if (t > 1.0) {
            x = b.x();
            y = b.y();
        } else if (t > 0.0) {
            x += dx * t;
            y += dy * t;
        }
    }
    return (p.x() - x) * (p.x() - x) + (p.y() - y) * (p.y() - y);
}

// The distance from p to the polygon's outline, positive inside (even-odd over every ring) and
// negative outside.
double signedDistance(QPointF p, const std::vector<QPolygonF>& rings) {
    bool inside = false;
    double nearest2 = std::numeric_limits<double>::infinity();
    for (const QPolygonF& ring : rings) {
        const qsizetype n = ring.size();
        for (qsizetype i = 0, j = n - 1; i < n; j = i++) {
            const QPointF a = ring[i];
            const QPointF b = ring[j];
            if ((a.y() > p.y()) != (b.y() > p.y()) &&
                p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x()) {
                inside = !inside;
            }
            nearest2 = std::min(nearest2, segmentDistance2(p, a, b));
        }
    }
    const double d = std::sqrt(nearest2);
    return inside ? d : -d;
}

// A square cell of the search: its centre, half its side, the distance of its centre and the
// most any point in it can have.
struct Cell {
    QPointF centre;
    double half = 0.0;
    double distance = 0.0;
    double most = 0.0;

    Cell(QPointF c, double h, const std::vector<QPolygonF>& rings)
        : centre(c),
          half(h),
          distance(signedDistance(c, rings)),
          most(distance + h * std::numbers::sqrt2) {}

    bool operator<(const Cell& other) const { return most < other.most; }
};

// The area centroid of the outer ring, a good first guess for a compact shape.
QPointF centroid(const QPolygonF& ring) {
    double area = 0.0;
    double x = 0.0;
    double y = 0.0;
    const qsizetype n = ring.size();
    for (qsizetype i = 0, j = n - 1; i < n; j = i++) {
        const QPointF a = ring[i];
        const QPointF b = ring[j];
        const double f = a.x() * b.y() - b.x() * a.y();
        x += (a.x() + b.x()) * f;
        y += (a.y() + b.y()) * f;
        area += f * 3.0;
    }
    return area == 0.0 ? ring.front() : QPointF(x / area, y / area);
}

}  // namespace

double roomAt(QPointF point, const std::vector<QPolygonF>& rings) {
    return signedDistance(point, rings);
}

LabelSpot labelSpot(const std::vector<QPolygonF>& rings, double precision) {
    if (rings.empty() || rings.front().isEmpty()) {
        return {};
    }
    const QRectF box = rings.front().boundingRect();
    const double side = std::min(box.width(), box.height());
    if (side <= 0.0) {
        return {rings.front().front(), 0.0};
    }
    // Cells cover the box; the most promising is split into four until none can beat the best
    // by more than the precision.
    std::priority_queue<Cell> queue;
    const double half = side / 2.0;
    for (double x = box.left(); x < box.right(); x += side) {
        for (double y = box.top(); y < box.bottom(); y += side) {
            queue.emplace(QPointF(x + half, y + half), half, rings);
        }
    }
    Cell best(centroid(rings.front()), 0.0, rings);
    const Cell middle(box.center(), 0.0, rings);
    if (middle.distance > best.distance) {
        best = middle;
    }
    while (!queue.empty()) {
        const Cell cell = queue.top();
        queue.pop();
        if (cell.distance > best.distance) {
            best = cell;
        }
        if (cell.most - best.distance <= precision) {
            continue;
        }
        const double h = cell.half / 2.0;
        for (const QPointF d : {QPointF(-h, -h), QPointF(h, -h), QPointF(-h, h), QPointF(h, h)}) {
            queue.emplace(cell.centre + d, h, rings);
        }
    }
    return {best.centre, std::max(best.distance, 0.0)};
}

LabelSpot labelSpot(const std::vector<std::vector<QPolygonF>>& polygons, double precision) {
    LabelSpot best;
    bool first = true;
    for (const auto& rings : polygons) {
        const LabelSpot spot = labelSpot(rings, precision);
        if (first || spot.room > best.room) {
            best = spot;
            first = false;
        }
    }
    return best;
}

}  // namespace zelkora
