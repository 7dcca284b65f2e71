#include "tools/Polylines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

namespace zelkora {

namespace {

void keep(std::vector<GeoPolyline>& out, GeoPolyline& run) {
    if (run.points.size() >= 2) {
        out.push_back(run);
    }
    run.points.clear();
}

}  // namespace

std::vector<GeoPolyline> wrappedForMap(const std::vector<GeoPolyline>& lines,
                                       const MapFrame& frame) {
    std::vector<GeoPolyline> out;
    for (const GeoPolyline& line : lines) {
        GeoPolyline run{{}, line.level};
        for (const GeoPoint& p : line.points) {
            const GeoPoint q{.lat = p.lat, .lon = frame.wrapped(p.lon)};
            if (!run.points.empty() && std::fabs(q.lon - run.points.back().lon) > 180.0) {
                keep(out, run);
            }
            run.points.push_back(q);
        }
        keep(out, run);
    }
    return out;
}

std::vector<GeoPolyline> clippedToBox(const std::vector<GeoPolyline>& lines, const GeoBox& box) {
    std::vector<GeoPolyline> out;
    for (const GeoPolyline& line : lines) {
        GeoPolyline run{{}, line.level};
        for (std::size_t k = 0; k + 1 < line.points.size(); ++k) {
            const GeoPoint a = line.points[k];
            const GeoPoint b = line.points[k + 1];
            // Liang-Barsky: the part t0..t1 of the segment a + t (b - a) inside the box.
            double t0 = 0.0;
            double t1 = 1.0;
            const double dLon = b.lon - a.lon;
            const double dLat = b.lat - a.lat;
            bool inside = true;
            for (const auto& [p, q] :
                 {std::pair{-dLon, a.lon - box.west}, std::pair{dLon, box.east - a.lon},
                  std::pair{-dLat, a.lat - box.south}, std::pair{dLat, box.north - a.lat}}) {
                if (p == 0.0) {
                    inside = inside && q >= 0.0;
                } else if (p < 0.0) {
                    t0 = std::max(t0, q / p);
                } else {
                    t1 = std::min(t1, q / p);
                }
            }
            if (!inside || t0 > t1) {
                keep(out, run);
                continue;
            }
            const auto at = [&](double t) {
                return t == 0.0   ? a
                       : t == 1.0 ? b
                                  : GeoPoint{.lat = a.lat + t * dLat, .lon = a.lon + t * dLon};
            };
            if (t0 > 0.0) {
                keep(out, run);
            }
            if (run.points.empty()) {
                run.points.push_back(at(t0));
            }
            run.points.push_back(at(t1));
            if (t1 < 1.0) {
                keep(out, run);
            }
        }
        keep(out, run);
    }
    return out;
}

std::vector<GeoPolyline> joinedEndToEnd(const std::vector<GeoPolyline>& lines) {
    // The ends of lines of one level meeting at one point (bit-identical in the sources; a grid
    // of 1e-7 degrees only absorbs the printing).
    using Node = std::tuple<int, std::int64_t, std::int64_t>;
    struct End {
        std::size_t line;
        bool tail;
        bool operator==(const End&) const = default;
    };
    const auto nodeOf = [&](std::size_t i, bool tail) {
        const GeoPoint p = tail ? lines[i].points.back() : lines[i].points.front();
        return Node{lines[i].level, std::llround(p.lat * 1e7), std::llround(p.lon * 1e7)};
    };
    std::map<Node, std::vector<End>> nodes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].points.size() >= 2) {
            nodes[nodeOf(i, false)].push_back({i, false});
            nodes[nodeOf(i, true)].push_back({i, true});
        }
    }
    // The other end at a point where exactly two meet.
    const auto partner = [&](End end) -> std::optional<End> {
        const std::vector<End>& here = nodes.at(nodeOf(end.line, end.tail));
        if (here.size() != 2) {
            return std::nullopt;
        }
        return here[0] == end ? here[1] : here[0];
    };

    std::vector<bool> used(lines.size(), false);
    std::vector<GeoPolyline> out;
    const auto build = [&](std::size_t start, bool reversed) {
        GeoPolyline line = lines[start];
        if (reversed) {
            std::reverse(line.points.begin(), line.points.end());
        }
        used[start] = true;
        End tail{start, !reversed};
        for (;;) {
            const std::optional<End> next = partner(tail);
            if (!next || used[next->line]) {
                break;
            }
            std::vector<GeoPoint> points = lines[next->line].points;
            if (next->tail) {
                std::reverse(points.begin(), points.end());
            }
            line.points.insert(line.points.end(), points.begin() + 1, points.end());
            used[next->line] = true;
            tail = {next->line, !next->tail};
        }
        out.push_back(std::move(line));
    };
    // Paths start at an end that does not continue; what is left are loops.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!used[i] && lines[i].points.size() >= 2 && !partner({i, false})) {
            build(i, false);
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!used[i] && lines[i].points.size() >= 2 && !partner({i, true})) {
            build(i, true);
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!used[i] && lines[i].points.size() >= 2) {
            build(i, false);
        }
    }
    return out;
}

}  // namespace zelkora
