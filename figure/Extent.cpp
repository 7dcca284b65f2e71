#include "figure/Extent.h"

#include <algorithm>
#include <cmath>

#include "common/ZelkoraError.h"
#include "mapimage/DataPaths.h"

namespace zelkora {

namespace {

// Points along each side of a frame, enough that a parallel's arc stays smooth at print size.
constexpr int kOutlineSteps = 64;
// A figure fitted to points is at least half as high as wide; it is at most maxAspect high.
constexpr double kMinFitAspect = 0.5;
// A figure fitted to one point, or to points on one line, still shows this much ground.
constexpr double kMinFitSpanKm = 50.0;
constexpr double kKmPerDegree = 111.195;
// Rounds of fitting: each grows the frame where a marker still sticks out.
constexpr int kFitRounds = 50;

constexpr double radians(double deg) {
    return deg * M_PI / 180.0;
}

// The smallest rectangle holding every point; QRectF::united passes over empty rectangles, so
// points cannot be joined with it.
class Bounds {
  public:
    void add(QPointF p) {
        left_ = std::min(left_, p.x());
        right_ = std::max(right_, p.x());
        top_ = std::min(top_, p.y());
        bottom_ = std::max(bottom_, p.y());
    }
    bool empty() const { return left_ > right_; }
    QRectF rect() const {
        return empty() ? QRectF() : QRectF(QPointF(left_, top_), QPointF(right_, bottom_));
    }

  private:
    double left_ = INFINITY;
    double right_ = -INFINITY;
    double top_ = INFINITY;
    double bottom_ = -INFINITY;
};

// Grows [lo, hi] to length about its centre, then moves it to within [mapLo, mapHi] where that
// keeps what it held.
void growAxis(double& lo, double& hi, double length, double mapLo, double mapHi) {
    if (hi - lo >= length) {
        return;
    }
    const double oldLo = lo;
    const double oldHi = hi;
    const double centre = (lo + hi) / 2;
    lo = centre - length / 2;
    hi = centre + length / 2;
    double shift = 0.0;
    if (lo < mapLo) {
        shift = mapLo - lo;
    } else if (hi > mapHi) {
        shift = mapHi - hi;
    }
    if (lo + shift <= oldLo && hi + shift >= oldHi) {
        lo += shift;
        hi += shift;
    }
}

DegreeBox boxOfPoints(const std::vector<GeoPoint>& points) {
    DegreeBox b{90.0, INFINITY, -90.0, -INFINITY};
    for (const GeoPoint& p : points) {
        b.south = std::min(b.south, p.lat);
        b.north = std::max(b.north, p.lat);
        b.west = std::min(b.west, p.lon);
        b.east = std::max(b.east, p.lon);
    }
    return b;
}

DegreeBox intersected(const DegreeBox& a, const DegreeBox& b) {
    return {std::max(a.south, b.south), std::max(a.west, b.west), std::min(a.north, b.north),
            std::min(a.east, b.east)};
}

// The box of the map's picture, grown to hold the points where they lie beyond it.
DegreeBox mapBoxWith(const FigureMap& map, const DegreeBox& points) {
    const DegreeBox& m = map.pictureBox();
    return {std::min(m.south, points.south), std::min(m.west, points.west),
            std::max(m.north, points.north), std::max(m.east, points.east)};
}

// North up: a box around the points, fitted in degrees.
FrameExtent fittedNorthUp(const FigureOptions& options, const FigureMap& map,
                          const std::vector<GeoPoint>& geoPoints, double frameWidthMm,
                          double maxAspect, double markerHalfMm) {
    std::vector<GeoPoint> points = geoPoints;
    for (GeoPoint& p : points) {
        p.lon = map.mapLongitude(p.lon);
    }
    const DegreeBox core = boxOfPoints(points);
    const DegreeBox limit = mapBoxWith(map, core);
    const double midLat = (core.south + core.north) / 2;
    const double kmPerLonDegree = kKmPerDegree * std::cos(radians(midLat));
    DegreeBox b = core;
    const double minLat = kMinFitSpanKm / kKmPerDegree;
    const double minLon = kMinFitSpanKm / kmPerLonDegree;
    growAxis(b.south, b.north, minLat, limit.south, limit.north);
    growAxis(b.west, b.east, minLon, limit.west, limit.east);
    const double m = options.marginPercent / 100.0;
    const double latMargin = m * (b.north - b.south);
    const double lonMargin = m * (b.east - b.west);
    b = intersected(
        {b.south - latMargin, b.west - lonMargin, b.north + latMargin, b.east + lonMargin}, limit);
    maxAspect = std::max(maxAspect, kMinFitAspect);
    FrameExtent frame = northUpFrame(b);
    for (int round = 0; round < kFitRounds; ++round) {
        // The shape on the plane, heightened or widened within the limits.
        const double aspect = frame.extent.height() / frame.extent.width();
        if (aspect > maxAspect) {
            growAxis(b.west, b.east, (b.east - b.west) * aspect / maxAspect, limit.west,
                     limit.east);
        } else if (aspect < kMinFitAspect) {
            growAxis(b.south, b.north, (b.north - b.south) * kMinFitAspect / aspect, limit.south,
                     limit.north);
        }
        // Every marker inside: its centre at least its half from each side, in degrees there.
        frame = northUpFrame(b);
        const double mmPerUnit = frameWidthMm / frame.extent.width();
        DegreeBox need = b;
        for (const GeoPoint& p : points) {
            const double halfKm = markerHalfMm / mmPerUnit * frame.projection.kmPerUnit(p.lat);
            const double dLat = halfKm / kKmPerDegree;
            const double dLon = halfKm / (kKmPerDegree * std::cos(radians(p.lat)));
            need.south = std::min(need.south, p.lat - dLat);
            need.north = std::max(need.north, p.lat + dLat);
            need.west = std::min(need.west, p.lon - dLon);
            need.east = std::max(need.east, p.lon + dLon);
        }
        const double nowAspect = frame.extent.height() / frame.extent.width();
        if (need == b && nowAspect <= maxAspect * (1 + 1e-6) &&
            nowAspect >= kMinFitAspect * (1 - 1e-6)) {
            break;
        }
        b = need;
        frame = northUpFrame(b);
    }
    return frame;
}

// The map's own projection: a rectangle of its picture around the points.
QRectF fitRectangle(const QRectF& points, const QRectF& mapRect, double frameMm, double maxAspect,
                    double marginPercent, double minSpan, double markerHalfMm) {
    QRectF core = points;
    if (core.width() < minSpan) {
        core.adjust(-(minSpan - core.width()) / 2, 0, (minSpan - core.width()) / 2, 0);
    }
    if (core.height() < minSpan) {
        core.adjust(0, -(minSpan - core.height()) / 2, 0, (minSpan - core.height()) / 2);
    }
    const double m = marginPercent / 100.0;
    QRectF c =
        core.adjusted(-m * core.width(), -m * core.height(), m * core.width(), m * core.height());
    c = c.intersected(mapRect).united(points);
    maxAspect = std::max(maxAspect, kMinFitAspect);
    for (int round = 0; round < kFitRounds; ++round) {
        double left = c.left();
        double right = c.right();
        double top = c.top();
        double bottom = c.bottom();
        growAxis(left, right, (bottom - top) / maxAspect, mapRect.left(), mapRect.right());
        growAxis(top, bottom, (right - left) * kMinFitAspect, mapRect.top(), mapRect.bottom());
        c = QRectF(QPointF(left, top), QPointF(right, bottom));
        const double half = markerHalfMm * c.width() / frameMm;
        const QRectF need = points.adjusted(-half, -half, half, half);
        if (c.contains(need)) {
            break;
        }
        c = c.united(need);
    }
    return c;
}

}  // namespace

FrameExtent northUpFrame(const DegreeBox& box) {
    FrameExtent frame{FigureProjection::northUp(box), box, {}, {}};
    const auto at = [&](double lat, double lon) {
        return frame.projection.toPlane({.lat = lat, .lon = lon});
    };
    QPolygonF& o = frame.outline;
    for (int i = 0; i <= kOutlineSteps; ++i) {  // the south parallel, west to east
        o << at(box.south, box.west + (box.east - box.west) * i / kOutlineSteps);
    }
    for (int i = 1; i <= kOutlineSteps; ++i) {  // the east meridian, going north
        o << at(box.south + (box.north - box.south) * i / kOutlineSteps, box.east);
    }
    for (int i = 1; i <= kOutlineSteps; ++i) {  // the north parallel, east to west
        o << at(box.north, box.east - (box.east - box.west) * i / kOutlineSteps);
    }
    for (int i = 1; i <= kOutlineSteps; ++i) {  // the west meridian, going south
        o << at(box.north - (box.north - box.south) * i / kOutlineSteps, box.west);
    }
    frame.extent = o.boundingRect();
    return frame;
}

FrameExtent mapFrame(const FigureMap& map, const QRectF& pixels) {
    FrameExtent frame{map.projection(), {}, pixels, QPolygonF(pixels)};
    const GeoRange r = rangeOfRectangle(frame.projection, pixels);
    frame.box = {r.south, r.west, r.north, r.east};
    return frame;
}

QRectF boxOutlineBounds(const FigureMap& map, const DegreeBox& box) {
    Bounds bounds;
    for (int i = 0; i <= kOutlineSteps; ++i) {
        const double t = static_cast<double>(i) / kOutlineSteps;
        const double lat = box.south + (box.north - box.south) * t;
        const double lon = box.west + (box.east - box.west) * t;
        for (const GeoPoint p : {GeoPoint{lat, box.west}, GeoPoint{lat, box.east},
                                 GeoPoint{box.south, lon}, GeoPoint{box.north, lon}}) {
            const QPointF pixel = map.projection().toPlane(p);
            if (std::isfinite(pixel.x()) && std::isfinite(pixel.y())) {
                bounds.add(pixel);
            }
        }
    }
    return bounds.rect();
}

GeoRange rangeOfRectangle(const FigureProjection& projection, const QRectF& rect) {
    GeoRange range{90.0, -90.0, 1e9, -1e9};
    const QPointF corners[4] = {rect.topLeft(), rect.topRight(), rect.bottomRight(),
                                rect.bottomLeft()};
    for (int side = 0; side < 4; ++side) {
        const QPointF a = corners[side];
        const QPointF b = corners[(side + 1) % 4];
        for (int i = 0; i < kOutlineSteps; ++i) {
            const GeoPoint p =
                projection.toGeo(a + (b - a) * (static_cast<double>(i) / kOutlineSteps));
            range.south = std::min(range.south, p.lat);
            range.north = std::max(range.north, p.lat);
            range.west = std::min(range.west, p.lon);
            range.east = std::max(range.east, p.lon);
        }
    }
    return range;
}

FrameExtent fixedExtent(const FigureOptions& options, const FigureMap& map) {
    const QRectF mapRect(QPointF(0, 0), QSizeF(map.size()));
    const bool northUp = options.projection == FigureProjectionKind::NorthUp;
    if (options.extent == FigureExtent::WholeMap) {
        return northUp ? northUpFrame(map.pictureBox()) : mapFrame(map, mapRect);
    }
    DegreeBox box = options.box;
    const double width = box.east - box.west;
    box.west = map.mapLongitude(box.west);
    box.east = box.west + width;
    const QRectF cut = boxOutlineBounds(map, box).intersected(mapRect);
    const DegreeBox shown = intersected(box, map.pictureBox());
    if (cut.width() <= 0 || cut.height() <= 0 || shown.south >= shown.north ||
        shown.west >= shown.east) {
        throw ZelkoraError(QStringLiteral("Границы %1, %2, %3, %4 не задевают карту «%5»")
                               .arg(options.box.south)
                               .arg(options.box.west)
                               .arg(options.box.north)
                               .arg(options.box.east)
                               .arg(kMapCaptions.value(map.map())));
    }
    return northUp ? northUpFrame(shown) : mapFrame(map, cut);
}

FrameExtent fittedExtent(const FigureOptions& options, const FigureMap& map,
                         const std::vector<GeoPoint>& points, double frameWidthMm, double maxAspect,
                         double markerHalfMm) {
    if (options.projection == FigureProjectionKind::NorthUp) {
        return fittedNorthUp(options, map, points, frameWidthMm, maxAspect, markerHalfMm);
    }
    Bounds bounds;
    for (const GeoPoint& p : points) {
        bounds.add(map.projection().toPlane(p));
    }
    const QRectF pointBounds = bounds.rect();
    const GeoPoint centre = map.projection().toGeo(pointBounds.center());
    const double minSpan = kMinFitSpanKm / map.projection().kmPerUnit(centre.lat);
    return mapFrame(
        map, fitRectangle(pointBounds, QRectF(QPointF(0, 0), QSizeF(map.size())), frameWidthMm,
                          maxAspect, options.marginPercent, minSpan, markerHalfMm));
}

}  // namespace zelkora
