#include "figure/PathClip.h"

#include <algorithm>

namespace zelkora {

namespace {

// Liang-Barsky: the part of segment a-b inside rect as parameters t0 <= t1 along it; false when
// none of it is inside.
bool clipSegment(QPointF a, QPointF b, const QRectF& rect, double& t0, double& t1) {
    t0 = 0.0;
    t1 = 1.0;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(),
                         rect.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    return true;
}

QPointF along(QPointF a, QPointF b, double t) {
    return a + (b - a) * t;
}

enum class Side { Left, Right, Top, Bottom };

bool inside(QPointF p, Side side, const QRectF& r) {
    switch (side) {
        case Side::Left:
            return p.x() >= r.left();
        case Side::Right:
            return p.x() <= r.right();
        case Side::Top:
            return p.y() >= r.top();
        case Side::Bottom:
            return p.y() <= r.bottom();
    }
    return true;
}

QPointF crossing(QPointF a, QPointF b, Side side, const QRectF& r) {
    double t = 0.0;
    switch (side) {
        case Side::Left:
            t = (r.left() - a.x()) / (b.x() - a.x());
            break;
        case Side::Right:
            t = (r.right() - a.x()) / (b.x() - a.x());
            break;
        case Side::Top:
            t = (r.top() - a.y()) / (b.y() - a.y());
            break;
        case Side::Bottom:
            t = (r.bottom() - a.y()) / (b.y() - a.y());
            break;
    }
    return along(a, b, t);
}

}  // namespace

void clipPolyline(const QPolygonF& line, const QRectF& rect, std::vector<QPolygonF>& out) {
    QPolygonF piece;
    const auto flush = [&] {
        if (piece.size() >= 2) {
            out.push_back(piece);
        }
        piece.clear();
    };
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1];
        const QPointF b = line[i];
        double t0 = 0.0;
        double t1 = 0.0;
        if (!clipSegment(a, b, rect, t0, t1)) {
            flush();
            continue;
        }
        if (t0 > 0.0) {
            flush();
        }
        if (piece.isEmpty()) {
            piece << along(a, b, t0);
        }
        piece << along(a, b, t1);
        if (t1 < 1.0) {
            flush();
        }
    }
    flush();
}

QPolygonF clipRing(const QPolygonF& ring, const QRectF& rect) {
    QPolygonF current = ring;
    if (!current.isEmpty() && current.first() == current.last()) {
        current.removeLast();
    }
    for (const Side side : {Side::Left, Side::Right, Side::Top, Side::Bottom}) {
        if (current.isEmpty()) {
            break;
        }
        QPolygonF next;
        next.reserve(current.size() + 4);
        QPointF previous = current.last();
        bool previousInside = inside(previous, side, rect);
        for (const QPointF& p : current) {
            const bool pInside = inside(p, side, rect);
            if (pInside != previousInside) {
                next << crossing(previous, p, side, rect);
            }
            if (pInside) {
                next << p;
            }
            previous = p;
            previousInside = pInside;
        }
        current = std::move(next);
    }
    return current.size() >= 3 ? current : QPolygonF();
}

QPolygonF thinned(const QPolygonF& points, double tolerance) {
    if (points.size() <= 2 || tolerance <= 0.0) {
        return points;
    }
    const double squared = tolerance * tolerance;
    QPolygonF out;
    out.reserve(points.size());
    out << points.first();
    for (qsizetype i = 1; i + 1 < points.size(); ++i) {
        const QPointF d = points[i] - out.last();
        if (d.x() * d.x() + d.y() * d.y() >= squared) {
            out << points[i];
        }
    }
    out << points.last();
    return out;
}

QPolygonF simplified(const QPolygonF& points, double tolerance, double xScale) {
    const qsizetype n = points.size();
    if (n <= 2 || tolerance <= 0.0) {
        return points;
    }
    std::vector<char> keep(static_cast<std::size_t>(n), 0);
    keep.front() = keep.back() = 1;
    const double squared = tolerance * tolerance;
    std::vector<std::pair<qsizetype, qsizetype>> spans{{0, n - 1}};
    while (!spans.empty()) {
        const auto [first, last] = spans.back();
        spans.pop_back();
        const QPointF a(points[first].x() * xScale, points[first].y());
        const QPointF b(points[last].x() * xScale, points[last].y());
        const QPointF d = b - a;
        const double length2 = d.x() * d.x() + d.y() * d.y();
        double farthest = -1.0;
        qsizetype at = -1;
        for (qsizetype i = first + 1; i < last; ++i) {
            const QPointF p(points[i].x() * xScale, points[i].y());
            QPointF e = p - a;
            if (length2 > 0.0) {
                const double t = std::clamp((e.x() * d.x() + e.y() * d.y()) / length2, 0.0, 1.0);
                e = p - (a + d * t);
            }
            const double distance2 = e.x() * e.x() + e.y() * e.y();
            if (distance2 > farthest) {
                farthest = distance2;
                at = i;
            }
        }
        if (at >= 0 && farthest > squared) {
            keep[static_cast<std::size_t>(at)] = 1;
            spans.emplace_back(first, at);
            spans.emplace_back(at, last);
        }
    }
    QPolygonF out;
    for (qsizetype i = 0; i < n; ++i) {
        if (keep[static_cast<std::size_t>(i)]) {
            out << points[i];
        }
    }
    return out;
}

}  // namespace zelkora
