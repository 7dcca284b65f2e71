#include "tools/ShoreAssembly.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <utility>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

// Pieces meet at bit-identical points; a grid of 1e-7 degrees only absorbs the printing.
using PointKey = std::pair<std::int64_t, std::int64_t>;

PointKey keyOf(GeoPoint p) {
    return {std::llround(p.lat * 1e7), std::llround(p.lon * 1e7)};
}

// How far a point of gmt's clipped output may lie from the region's edge.
constexpr double kEdgeTolerance = 1e-6;
// The spacing of the points an area takes along the region's edge, in degrees.
constexpr double kEdgeStep = 0.5;

double signedArea(const GeoPath& ring) {
    double twice = 0.0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        twice += ring[i].lon * ring[i + 1].lat - ring[i + 1].lon * ring[i].lat;
    }
    return twice / 2.0;
}

std::string where(GeoPoint p) {
    return std::to_string(p.lat) + " N, " + std::to_string(p.lon) + " E";
}

bool isLand(int level) {
    return level % 2 == 1;
}

}  // namespace

ShoreAssembly::ShoreAssembly(const std::vector<GeoPolyline>& pieces, const GeoBox& region)
    : region_(region) {
    std::vector<std::size_t> open;
    std::map<PointKey, std::size_t> startsAt;
    std::map<PointKey, std::size_t> endsAt;
    // Each joined line with the index of its first piece, for the order of lines().
    std::vector<std::pair<std::size_t, GeoPolyline>> joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const GeoPolyline& piece = pieces[i];
        if (piece.points.size() < 2) {
            continue;
        }
        if (keyOf(piece.points.front()) == keyOf(piece.points.back())) {
            if (piece.points.size() >= 4) {
                joined.emplace_back(i, piece);
                joined.back().second.points.back() = piece.points.front();
            }
            continue;
        }
        open.push_back(i);
        if (!startsAt.emplace(keyOf(piece.points.front()), i).second ||
            !endsAt.emplace(keyOf(piece.points.back()), i).second) {
            throw ZelkoraError("two shore pieces start or end at " + where(piece.points.front()));
        }
    }

    std::vector<bool> used(pieces.size(), false);
    auto follow = [&](std::size_t first) {
        GeoPolyline line = pieces[first];
        used[first] = true;
        while (keyOf(line.points.back()) != keyOf(line.points.front())) {
            const auto next = startsAt.find(keyOf(line.points.back()));
            if (next == startsAt.end() || used[next->second]) {
                break;
            }
            const GeoPolyline& piece = pieces[next->second];
            if (piece.level != line.level) {
                throw ZelkoraError("shores of levels " + std::to_string(line.level) + " and " +
                                   std::to_string(piece.level) + " meet at " +
                                   where(piece.points.front()));
            }
            used[next->second] = true;
            line.points.insert(line.points.end(), piece.points.begin() + 1, piece.points.end());
        }
        return line;
    };
    // A chain begins with a piece that no other piece leads to; what is left closes into rings.
    for (std::size_t i : open) {
        if (!used[i] && !endsAt.contains(keyOf(pieces[i].points.front()))) {
            joined.emplace_back(i, follow(i));
        }
    }
    for (std::size_t i : open) {
        if (!used[i]) {
            joined.emplace_back(i, follow(i));
        }
    }
    std::sort(joined.begin(), joined.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    for (auto& [first, line] : joined) {
        GeoPath& points = line.points;
        const bool closed = keyOf(points.front()) == keyOf(points.back());
        if (closed) {
            points.back() = points.front();
            const double area = signedArea(points);
            if (area != 0.0 && (area > 0.0) != isLand(line.level)) {
                throw ZelkoraError("a shore of level " + std::to_string(line.level) + " at " +
                                   where(points.front()) +
                                   " runs the wrong way round: land is not on its left");
            }
        }
        std::vector<GeoPolyline> chains = cutAtEdges(line, closed);
        if (chains.empty() && closed) {
            rings_.push_back(line);
            lines_.push_back(std::move(line));
            continue;
        }
        if (chains.empty()) {
            chains.push_back(std::move(line));
        }
        for (const GeoPolyline& chain : chains) {
            for (GeoPoint end : {chain.points.front(), chain.points.back()}) {
                if (!onEdge(end)) {
                    throw ZelkoraError("a shore ends inside the region at " + where(end) +
                                       ": its pieces do not join up");
                }
            }
            chains_.push_back(chain);
            lines_.push_back(chain);
        }
    }
}

bool ShoreAssembly::alongEdge(GeoPoint a, GeoPoint b) const {
    const auto at = [](double v, double edge) { return std::fabs(v - edge) < kEdgeTolerance; };
    return (at(a.lon, region_.west) && at(b.lon, region_.west)) ||
           (at(a.lon, region_.east) && at(b.lon, region_.east)) ||
           (at(a.lat, region_.south) && at(b.lat, region_.south)) ||
           (at(a.lat, region_.north) && at(b.lat, region_.north));
}

// gmt clips an island that lies within one of its bins as a polygon: where the region's edge cuts
// it, the ring runs along the edge, and two stretches of edge may even lie over one another.
// Those stretches are no shore; without them the ring is chains from edge to edge, which are
// closed like all others. An open line is cut the same way; a line with no such stretch comes
// back empty.
std::vector<GeoPolyline> ShoreAssembly::cutAtEdges(const GeoPolyline& line, bool closed) const {
    const GeoPath& v = line.points;
    const std::size_t segments = v.size() - 1;
    std::size_t first = 0;  // the segment after which the walk starts
    if (closed) {
        while (first < segments && !alongEdge(v[first], v[first + 1])) {
            ++first;
        }
        if (first == segments) {
            return {};
        }
    } else {
        bool any = false;
        for (std::size_t k = 0; k < segments && !any; ++k) {
            any = alongEdge(v[k], v[k + 1]);
        }
        if (!any) {
            return {};
        }
    }
    std::vector<GeoPolyline> out;
    GeoPolyline chain{{}, line.level};
    const auto finish = [&] {
        if (chain.points.size() >= 2) {
            out.push_back(chain);
        }
        chain.points.clear();
    };
    // A closed ring is walked once round from the end of an edge stretch, an open line from its
    // start.
    const std::size_t start = closed ? first + 1 : 0;
    for (std::size_t step = 0; step < segments; ++step) {
        const std::size_t k = (start + step) % segments;
        if (alongEdge(v[k], v[k + 1])) {
            finish();
            continue;
        }
        if (chain.points.empty()) {
            chain.points.push_back(v[k]);
        }
        chain.points.push_back(v[k + 1]);
    }
    finish();
    return out;
}

bool ShoreAssembly::onEdge(GeoPoint p) const {
    return std::fabs(p.lat - region_.south) < kEdgeTolerance ||
           std::fabs(p.lat - region_.north) < kEdgeTolerance ||
           std::fabs(p.lon - region_.west) < kEdgeTolerance ||
           std::fabs(p.lon - region_.east) < kEdgeTolerance;
}

double ShoreAssembly::perimeter() const {
    return 2.0 * (region_.east - region_.west) + 2.0 * (region_.north - region_.south);
}

double ShoreAssembly::edgePosition(GeoPoint p) const {
    const double w = region_.east - region_.west;
    const double h = region_.north - region_.south;
    // The nearest edge: south, east, north, west.
    const std::array<double, 4> distance{
        std::fabs(p.lat - region_.south), std::fabs(p.lon - region_.east),
        std::fabs(p.lat - region_.north), std::fabs(p.lon - region_.west)};
    switch (std::min_element(distance.begin(), distance.end()) - distance.begin()) {
        case 0:
            return p.lon - region_.west;
        case 1:
            return w + (p.lat - region_.south);
        case 2:
            return w + h + (region_.east - p.lon);
        default:
            return 2.0 * w + h + (region_.north - p.lat);
    }
}

GeoPoint ShoreAssembly::edgePoint(double position) const {
    const double w = region_.east - region_.west;
    const double h = region_.north - region_.south;
    if (position <= w) {
        return {.lat = region_.south, .lon = region_.west + position};
    }
    if (position <= w + h) {
        return {.lat = region_.south + (position - w), .lon = region_.east};
    }
    if (position <= 2.0 * w + h) {
        return {.lat = region_.north, .lon = region_.east - (position - w - h)};
    }
    return {.lat = region_.north - (position - 2.0 * w - h), .lon = region_.west};
}

// Each chain has the area on its left. Where it leaves the region, the area's outline follows the
// edge counter-clockwise to the next point where a chain comes in. On the way it takes a point
// every kEdgeStep degrees, the corners among them, so that the edge still lies outside the map
// once it is projected: a parallel is an arc on a conic map, and a long chord of it would cut
// into the picture.
std::vector<GeoPath> ShoreAssembly::closeAlongEdge(const std::vector<GeoPath>& chains) const {
    const double around = perimeter();
    const auto ahead = [&](double from, double to) {
        const double d = std::fmod(to - from, around);
        return d < 0.0 ? d + around : d;
    };

    std::vector<GeoPath> rings;
    std::vector<bool> done(chains.size(), false);
    for (std::size_t first = 0; first < chains.size(); ++first) {
        if (done[first]) {
            continue;
        }
        GeoPath ring;
        std::size_t current = first;
        for (;;) {
            done[current] = true;
            ring.insert(ring.end(), chains[current].begin(), chains[current].end());
            const double leaves = edgePosition(chains[current].back());
            std::size_t next = first;
            double gap = std::numeric_limits<double>::infinity();
            for (std::size_t j = 0; j < chains.size(); ++j) {
                if (done[j] && j != first) {
                    continue;
                }
                const double d = ahead(leaves, edgePosition(chains[j].front()));
                if (d < gap) {
                    gap = d;
                    next = j;
                }
            }
            // The region's corners lie on whole degrees, so they are among the steps.
            for (double step = std::floor(leaves / kEdgeStep) + 1.0;; step += 1.0) {
                const double position = std::fmod(step * kEdgeStep, around);
                const double d = ahead(leaves, position);
                if (d <= 0.0 || d >= gap) {
                    break;
                }
                ring.push_back(edgePoint(position));
            }
            if (next == first) {
                break;
            }
            current = next;
        }
        ring.push_back(ring.front());
        rings.push_back(std::move(ring));
    }
    return rings;
}

std::vector<VectorArea> ShoreAssembly::areas() const {
    std::vector<VectorArea> out;
    for (int level = 1; level <= 4; ++level) {
        // Water levels run clockwise: turned round, their water is on the left too.
        const auto oriented = [&](const GeoPolyline& line) {
            GeoPath path = line.points;
            if (!isLand(level)) {
                std::reverse(path.begin(), path.end());
            }
            return path;
        };
        std::vector<GeoPath> chains;
        for (const GeoPolyline& chain : chains_) {
            if (chain.level == level) {
                chains.push_back(oriented(chain));
            }
        }
        for (GeoPath& ring : closeAlongEdge(chains)) {
            out.push_back({{std::move(ring)}, level});
        }
        for (const GeoPolyline& ring : rings_) {
            if (ring.level == level) {
                out.push_back({{oriented(ring)}, level});
            }
        }
    }
    return out;
}

}  // namespace zelkora
