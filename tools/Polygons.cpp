#include "tools/Polygons.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <utility>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

// Shared vertices are bit-identical in the source; a grid of 1e-7 degrees only absorbs noise.
using VertexKey = std::pair<std::int64_t, std::int64_t>;

VertexKey vertexKey(GeoPoint p) {
    return {std::llround(p.lat * 1e7), std::llround(p.lon * 1e7)};
}

bool ringContains(const GeoPath& ring, GeoPoint p) {
    bool inside = false;
    const std::size_t n = ring.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const GeoPoint a = ring[i];
        const GeoPoint b = ring[j];
        if ((a.lat > p.lat) != (b.lat > p.lat) &&
            p.lon < (b.lon - a.lon) * (p.lat - a.lat) / (b.lat - a.lat) + a.lon) {
            inside = !inside;
        }
    }
    return inside;
}

double segmentDistance(GeoPoint p, GeoPoint a, GeoPoint b) {
    const double dx = b.lon - a.lon;
    const double dy = b.lat - a.lat;
    double t = 0.0;
    if (dx != 0.0 || dy != 0.0) {
        t = std::clamp(((p.lon - a.lon) * dx + (p.lat - a.lat) * dy) / (dx * dx + dy * dy), 0.0,
                       1.0);
    }
    return std::hypot(p.lon - (a.lon + t * dx), p.lat - (a.lat + t * dy));
}

// A ring closed again, without repeated neighbours; empty when fewer than three points are left.
GeoPath closedRing(const GeoPath& points) {
    GeoPath out;
    for (const GeoPoint& p : points) {
        if (out.empty() || p.lat != out.back().lat || p.lon != out.back().lon) {
            out.push_back(p);
        }
    }
    while (out.size() > 1 && out.front().lat == out.back().lat &&
           out.front().lon == out.back().lon) {
        out.pop_back();
    }
    if (out.size() < 3) {
        return {};
    }
    out.push_back(out.front());
    return out;
}

// One side of a box for Sutherland-Hodgman: which points are inside it and where an edge
// crosses it.
struct Side {
    bool latitude;  // a parallel (south, north) rather than a meridian
    double value;
    bool keepAbove;

    bool inside(GeoPoint p) const {
        const double v = latitude ? p.lat : p.lon;
        return keepAbove ? v >= value : v <= value;
    }
    GeoPoint crossing(GeoPoint a, GeoPoint b) const {
        if (latitude) {
            const double t = (value - a.lat) / (b.lat - a.lat);
            return {.lat = value, .lon = a.lon + t * (b.lon - a.lon)};
        }
        const double t = (value - a.lon) / (b.lon - a.lon);
        return {.lat = a.lat + t * (b.lat - a.lat), .lon = value};
    }
};

GeoPath clippedRing(const GeoPath& ring, const GeoBox& box) {
    GeoPath points(ring.begin(), ring.end() - 1);  // open
    for (const Side side : {Side{false, box.west, true}, Side{false, box.east, false},
                            Side{true, box.south, true}, Side{true, box.north, false}}) {
        GeoPath out;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const GeoPoint a = points[i];
            const GeoPoint b = points[(i + 1) % points.size()];
            if (side.inside(a)) {
                out.push_back(a);
                if (!side.inside(b)) {
                    out.push_back(side.crossing(a, b));
                }
            } else if (side.inside(b)) {
                out.push_back(side.crossing(a, b));
            }
        }
        points = std::move(out);
        if (points.empty()) {
            return {};
        }
    }
    points.push_back(points.front());
    return closedRing(points);
}

// A ring in the orientation asked for: counter-clockwise for an outer ring, clockwise for a
// hole.
GeoPath oriented(const GeoPath& ring, bool counterClockwise) {
    GeoPath out = ring;
    if ((ringArea(out) > 0.0) != counterClockwise) {
        std::reverse(out.begin(), out.end());
    }
    return out;
}

double polygonsArea(const GeoPolygons& polygons) {
    double area = 0.0;
    for (const auto& rings : polygons) {
        for (std::size_t r = 0; r < rings.size(); ++r) {
            area += (r == 0 ? 1.0 : -1.0) * std::fabs(ringArea(rings[r]));
        }
    }
    return area;
}

}  // namespace

double ringArea(const GeoPath& ring) {
    double twice = 0.0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        twice += ring[i].lon * ring[i + 1].lat - ring[i + 1].lon * ring[i].lat;
    }
    return twice / 2.0;
}

bool containsPoint(const GeoPolygons& polygons, GeoPoint point) {
    for (const auto& rings : polygons) {
        bool inside = false;
        for (const GeoPath& ring : rings) {
            inside = inside != ringContains(ring, point);
        }
        if (inside) {
            return true;
        }
    }
    return false;
}

double distanceTo(const GeoPolygons& polygons, GeoPoint point) {
    if (containsPoint(polygons, point)) {
        return 0.0;
    }
    double nearest = std::numeric_limits<double>::infinity();
    for (const auto& rings : polygons) {
        for (const GeoPath& ring : rings) {
            for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
                nearest = std::min(nearest, segmentDistance(point, ring[k], ring[k + 1]));
            }
        }
    }
    return nearest;
}

GeoPolygons wrappedForMap(const GeoPolygons& polygons, const MapFrame& frame) {
    GeoPolygons out = polygons;
    for (auto& rings : out) {
        for (GeoPath& ring : rings) {
            for (std::size_t i = 1; i < ring.size(); ++i) {
                const double jump = ring[i].lon - ring[i - 1].lon;
                ring[i].lon -= 360.0 * std::round(jump / 360.0);
            }
            const double shift = frame.wrapped(ring.front().lon) - ring.front().lon;
            for (GeoPoint& p : ring) {
                p.lon += shift;
            }
        }
    }
    return out;
}

GeoPolygons clippedToBox(const GeoPolygons& polygons, const GeoBox& box) {
    GeoPolygons out;
    for (const auto& rings : polygons) {
        std::vector<GeoPath> kept;
        for (std::size_t r = 0; r < rings.size(); ++r) {
            GeoPath clipped = clippedRing(rings[r], box);
            if (clipped.empty()) {
                if (r == 0) {
                    break;
                }
                continue;
            }
            kept.push_back(std::move(clipped));
        }
        if (!kept.empty()) {
            out.push_back(std::move(kept));
        }
    }
    return out;
}

GeoPolygons dissolved(const std::vector<GeoPolygons>& parts, double tolerance) {
    // Every edge of every part, outer rings counter-clockwise and holes clockwise, so that an
    // edge two neighbours share runs one way in one and the other way in the other.
    struct Edge {
        GeoPoint from;
        GeoPoint to;
        std::size_t part;
    };
    std::vector<Edge> edges;
    double partsArea = 0.0;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        partsArea += polygonsArea(parts[p]);
        for (const auto& rings : parts[p]) {
            for (std::size_t r = 0; r < rings.size(); ++r) {
                const GeoPath ring = oriented(rings[r], r == 0);
                for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
                    edges.push_back({ring[k], ring[k + 1], p});
                }
            }
        }
    }
    std::map<std::pair<VertexKey, VertexKey>, std::size_t> reverse;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        reverse[{vertexKey(edges[i].to), vertexKey(edges[i].from)}] = i;
    }
    std::vector<bool> gone(edges.size(), false);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const auto twin = reverse.find({vertexKey(edges[i].from), vertexKey(edges[i].to)});
        if (twin != reverse.end() && edges[twin->second].part != edges[i].part) {
            gone[i] = true;
        }
    }

    // An edge left that runs along another part is a shared border whose vertices differ.
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (gone[i]) {
            continue;
        }
        const GeoPoint middle{.lat = (edges[i].from.lat + edges[i].to.lat) / 2.0,
                              .lon = (edges[i].from.lon + edges[i].to.lon) / 2.0};
        for (const Edge& other : edges) {
            if (other.part != edges[i].part &&
                segmentDistance(middle, other.from, other.to) < tolerance) {
                throw ZelkoraError(QStringLiteral("границы соседних областей у %1° с. ш. %2° в. д. "
                                                  "совпадают лишь приблизительно")
                                       .arg(middle.lat)
                                       .arg(middle.lon));
            }
        }
    }

    // The edges left, joined head to tail into rings.
    std::multimap<VertexKey, std::size_t> starting;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (!gone[i]) {
            starting.emplace(vertexKey(edges[i].from), i);
        }
    }
    std::vector<GeoPath> outers;
    std::vector<GeoPath> holes;
    while (!starting.empty()) {
        GeoPath ring;
        auto at = starting.begin();
        const VertexKey first = at->first;
        while (true) {
            const Edge& e = edges[at->second];
            ring.push_back(e.from);
            const VertexKey next = vertexKey(e.to);
            starting.erase(at);
            if (next == first) {
                break;
            }
            at = starting.find(next);
            if (at == starting.end()) {
                throw ZelkoraError(
                    QStringLiteral("контур объединения не замкнут у %1° с. ш. %2° в. д.")
                        .arg(e.to.lat)
                        .arg(e.to.lon));
            }
        }
        ring.push_back(ring.front());
        (ringArea(ring) > 0.0 ? outers : holes).push_back(std::move(ring));
    }

    // Each hole goes to the smallest outer ring around it.
    GeoPolygons out;
    for (GeoPath& outer : outers) {
        out.push_back({std::move(outer)});
    }
    for (GeoPath& hole : holes) {
        std::size_t owner = out.size();
        for (std::size_t o = 0; o < out.size(); ++o) {
            if (ringContains(out[o].front(), hole[hole.size() / 2]) &&
                (owner == out.size() ||
                 std::fabs(ringArea(out[o].front())) < std::fabs(ringArea(out[owner].front())))) {
                owner = o;
            }
        }
        if (owner == out.size()) {
            throw ZelkoraError(QStringLiteral("у дыры объединения нет внешнего контура"));
        }
        out[owner].push_back(std::move(hole));
    }
    const double area = polygonsArea(out);
    if (std::fabs(area - partsArea) > 1e-9 * std::max(1.0, std::fabs(partsArea))) {
        throw ZelkoraError(
            QStringLiteral("площадь объединения %1 не равна сумме площадей частей %2")
                .arg(area)
                .arg(partsArea));
    }
    return out;
}

}  // namespace zelkora
