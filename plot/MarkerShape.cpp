#include "plot/MarkerShape.h"

#include <QPolygonF>
#include <cmath>
#include <numbers>
#include <string>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

constexpr double kCentre = kMarkerBox / 2.0;
// Wall of the hollow shapes: about 1.3 px when the icon is scaled to the smallest marker (10 px).
constexpr double kWall = 17.0;

// A regular polygon (or star, with an inner radius) around a centre, first vertex straight up.
QPolygonF star(QPointF centre, int points, double outer, double inner) {
    QPolygonF poly;
    const int n = inner > 0 ? points * 2 : points;
    for (int i = 0; i < n; ++i) {
        const double r = (inner > 0 && i % 2 == 1) ? inner : outer;
        const double a = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / n;
        poly << QPointF(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
    }
    return poly;
}

QPolygonF scaled(const QPolygonF& poly, QPointF about, double factor) {
    QPolygonF out;
    for (const QPointF& p : poly) {
        out << about + (p - about) * factor;
    }
    return out;
}

// The outline ring of a convex shape whose inscribed circle has the given radius: the shape minus
// a copy shrunk about the circle's centre so the wall is kWall thick everywhere.
QPainterPath hollow(const QPolygonF& outer, QPointF incentre, double inradius) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(outer);
    path.closeSubpath();
    path.addPolygon(scaled(outer, incentre, (inradius - kWall) / inradius));
    path.closeSubpath();
    return path;
}

}  // namespace

QPainterPath markerShape(int type) {
    if (type < 0 || type >= kMarkerTypeCount) {
        throw ZelkoraError("no marker icon for type " + std::to_string(type));
    }
    const QPointF c(kCentre, kCentre);
    const bool filled = markerIsSolid(type);
    switch (type / 2) {
        case 0: {  // circle
            const double r = 58;
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            path.addEllipse(c, r, r);
            if (!filled) {
                path.addEllipse(c, r - kWall, r - kWall);
            }
            return path;
        }
        case 1: {  // triangle, apex up, box centred
            const double side = 122;
            const double height = side * std::sqrt(3.0) / 2;
            const double top = kCentre - height / 2;
            const QPolygonF tri{QPointF(kCentre, top), QPointF(kCentre + side / 2, top + height),
                                QPointF(kCentre - side / 2, top + height)};
            const double inradius = height / 3;
            const QPointF incentre(kCentre, top + height - inradius);
            QPainterPath p;
            p.addPolygon(tri);
            return filled ? p : hollow(tri, incentre, inradius);
        }
        case 2: {  // square
            const double half = 52;
            const QPolygonF sq{c + QPointF(-half, -half), c + QPointF(half, -half),
                               c + QPointF(half, half), c + QPointF(-half, half)};
            QPainterPath p;
            p.addPolygon(sq);
            return filled ? p : hollow(sq, c, half);
        }
        case 3: {  // diamond
            const double r = 62;
            const QPolygonF dia = star(c, 4, r, 0);
            QPainterPath p;
            p.addPolygon(dia);
            return filled ? p : hollow(dia, c, r / std::sqrt(2.0));
        }
        default: {  // five-pointed star, shifted down so its box is centred
            const double outer = 64;
            const double bottom = outer * std::cos(std::numbers::pi / 5);
            const QPointF centre(kCentre, kCentre + (outer - bottom) / 2);
            QPainterPath p;
            p.addPolygon(star(centre, 5, outer, outer * 0.45));
            return p;
        }
    }
}

}  // namespace zelkora
