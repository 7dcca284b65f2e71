#include "figure/FrameAnnotation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "figure/FigureSizes.h"

namespace zelkora {

namespace {

constexpr double kMinutesPerDegree = 60.0;
// Points along each side of a rectangular frame where the crossings are looked for.
constexpr int kSideSamples = 256;
// A line that meets a side at less than this angle is not labelled there: its label would not
// tell which line it names.
const double kSteepEnough = std::sin(40.0 * std::numbers::pi / 180.0);
// The widest labels each kind can give: most digits and minutes, with either letter.
constexpr double kWidestLatitude = 88.5;
constexpr double kWidestLongitude = 178.5;

enum class Side { Left, Bottom, Right, Top };

// A side of the frame on the page: points along it with their degrees, and which way is out.
struct FrameSide {
    Side side;
    bool latitudes;  // left and right carry latitudes, bottom and top longitudes
    std::vector<QPointF> mm;
    std::vector<GeoPoint> geo;
};

struct Crossing {
    QPointF at;  // on the side, millimetres
    double degrees;
};

QPointF outward(Side side) {
    switch (side) {
        case Side::Left:
            return {-1, 0};
        case Side::Right:
            return {1, 0};
        case Side::Bottom:
            return {0, 1};
        case Side::Top:
            return {0, -1};
    }
    return {};
}

std::vector<FrameSide> sidesOf(const FigureLayout& layout) {
    const QTransform toMm = layout.mmFromPlane(layout.panels.front());
    const FigureProjection& p = layout.projection;
    std::vector<FrameSide> sides;
    const auto add = [&](Side side, auto geoAt) {
        FrameSide s{side, side == Side::Left || side == Side::Right, {}, {}};
        for (int i = 0; i <= kSideSamples; ++i) {
            const GeoPoint g = geoAt(static_cast<double>(i) / kSideSamples);
            s.geo.push_back(g);
            s.mm.push_back(toMm.map(p.toPlane(g)));
        }
        sides.push_back(std::move(s));
    };
    if (p.isNorthUp()) {
        const DegreeBox& b = layout.box;
        add(Side::Left, [&](double t) {
            return GeoPoint{b.south + (b.north - b.south) * t, b.west};
        });
        add(Side::Right, [&](double t) {
            return GeoPoint{b.south + (b.north - b.south) * t, b.east};
        });
        add(Side::Bottom, [&](double t) {
            return GeoPoint{b.south, b.west + (b.east - b.west) * t};
        });
        add(Side::Top, [&](double t) { return GeoPoint{b.north, b.west + (b.east - b.west) * t}; });
    } else {
        const QRectF& e = layout.extent;
        const auto along = [&](QPointF a, QPointF b) {
            return [&p, a, b](double t) { return p.toGeo(a + (b - a) * t); };
        };
        add(Side::Left, along(e.bottomLeft(), e.topLeft()));
        add(Side::Right, along(e.bottomRight(), e.topRight()));
        add(Side::Bottom, along(e.bottomLeft(), e.bottomRight()));
        add(Side::Top, along(e.topLeft(), e.topRight()));
    }
    return sides;
}

// Where the lines every intervalMinutes of the side's coordinate meet it, in order along it.
std::vector<Crossing> crossings(const FrameSide& s, int intervalMinutes,
                                const FigureProjection& projection, const QTransform& toMm) {
    const double step = intervalMinutes / kMinutesPerDegree;
    const auto value = [&](const GeoPoint& g) { return s.latitudes ? g.lat : g.lon; };
    std::vector<Crossing> out;
    for (std::size_t i = 0; i + 1 < s.geo.size(); ++i) {
        const double a = value(s.geo[i]);
        const double b = value(s.geo[i + 1]);
        const double lo = std::min(a, b);
        const double hi = std::max(a, b);
        const bool last = i + 2 == s.geo.size();
        for (long k = std::lround(std::ceil(lo / step)); k * step <= hi; ++k) {
            const double v = k * step;
            // Each value once: at the far end of a step only on the side's last.
            if (v == (a < b ? b : a) && !last) {
                continue;
            }
            const double t = hi > lo ? (v - a) / (b - a) : 0.0;
            const QPointF at = s.mm[i] + (s.mm[i + 1] - s.mm[i]) * t;
            // The line through the crossing: along the parallel or the meridian there.
            GeoPoint g = s.geo[i];
            g.lat += (s.geo[i + 1].lat - g.lat) * t;
            g.lon += (s.geo[i + 1].lon - g.lon) * t;
            const GeoPoint next =
                s.latitudes ? GeoPoint{g.lat, g.lon + 1e-3} : GeoPoint{g.lat + 1e-3, g.lon};
            const QPointF line =
                toMm.map(projection.toPlane(next)) - toMm.map(projection.toPlane(g));
            const QPointF side = s.mm[i + 1] - s.mm[i];
            const double cross = std::fabs(line.x() * side.y() - line.y() * side.x());
            const double lengths = std::hypot(line.x(), line.y()) * std::hypot(side.x(), side.y());
            if (lengths > 0 && cross / lengths >= kSteepEnough) {
                out.push_back({at, v});
            }
        }
    }
    return out;
}

QString labelText(const FrameSide& s, double degrees, int intervalMinutes,
                  FigureLanguage language) {
    const bool minutes = labelsShowMinutes(intervalMinutes);
    return s.latitudes ? latitudeLabel(degrees, language, minutes)
                       : longitudeLabel(degrees, language, minutes);
}

FrameLabel placeLabel(const FrameSide& s, const Crossing& c, const QString& text,
                      const FigureText& font) {
    const QPointF end = c.at + outward(s.side) * kTickMm;
    const double width = font.widthMm(text);
    QPointF baseline;
    switch (s.side) {
        case Side::Left:
            baseline = QPointF(end.x() - kLabelGapMm - width,
                               end.y() + (font.ascentMm() - font.descentMm()) / 2);
            break;
        case Side::Right:
            baseline =
                QPointF(end.x() + kLabelGapMm, end.y() + (font.ascentMm() - font.descentMm()) / 2);
            break;
        case Side::Bottom:
            baseline = QPointF(end.x() - width / 2, end.y() + kLabelGapMm + font.ascentMm());
            break;
        case Side::Top:
            baseline = QPointF(end.x() - width / 2, end.y() - kLabelGapMm - font.descentMm());
            break;
    }
    return {baseline, text,
            QRectF(QPointF(baseline.x(), baseline.y() - font.ascentMm()),
                   QSizeF(width, font.heightMm())),
            s.latitudes};
}

bool labelled(const FrameSide& s, bool allSides) {
    return allSides || s.side == Side::Left || s.side == Side::Bottom;
}

// Whether the labels of a side at an interval fit: few enough, and none touching the next.
bool fits(const FrameSide& s, int intervalMinutes, const FigureLayout& layout,
          const QTransform& toMm, const FigureText& font) {
    const std::vector<Crossing> cs = crossings(s, intervalMinutes, layout.projection, toMm);
    if (static_cast<int>(cs.size()) > kMaxLabelsPerSide) {
        return false;
    }
    std::vector<QRectF> boxes;
    for (const Crossing& c : cs) {
        boxes.push_back(
            placeLabel(s, c, labelText(s, c.degrees, intervalMinutes, layout.options.language),
                       font)
                .box);
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const double gap = kLabelSpacingMm / 2;
            if (boxes[i].adjusted(-gap, -gap, gap, gap).intersects(boxes[j])) {
                return false;
            }
        }
    }
    return true;
}

int chooseInterval(const std::vector<FrameSide>& sides, bool latitudes, const FigureLayout& layout,
                   const QTransform& toMm, const FigureText& font) {
    if (layout.options.graticuleMinutes != kAutoGraticule) {
        return layout.options.graticuleMinutes;
    }
    for (const int minutes : kGraticuleMinutes) {
        const bool all = std::all_of(sides.begin(), sides.end(), [&](const FrameSide& s) {
            return s.latitudes != latitudes || !labelled(s, layout.options.labelAllSides) ||
                   fits(s, minutes, layout, toMm, font);
        });
        if (all) {
            return minutes;
        }
    }
    return kGraticuleMinutes.back();
}

}  // namespace

FrameRoom frameRoom(const FigureText& label, const FigureOptions& options, bool minutes) {
    double latitude = 0.0;
    double longitude = 0.0;
    for (const double sign : {-1.0, 1.0}) {
        latitude = std::max(latitude, label.widthMm(latitudeLabel(sign * kWidestLatitude,
                                                                  options.language, minutes)));
        longitude = std::max(longitude, label.widthMm(longitudeLabel(sign * kWidestLongitude,
                                                                     options.language, minutes)));
    }
    const double across = kTickMm + kLabelGapMm;
    FrameRoom room;
    room.left = across + latitude;
    room.bottom = across + label.heightMm();
    // Without labels of their own, the other sides hold the ticks and half a label at a corner.
    room.right = options.labelAllSides ? across + latitude : std::max(kTickMm, longitude / 2);
    room.top =
        options.labelAllSides ? across + label.heightMm() : std::max(kTickMm, label.heightMm() / 2);
    return room;
}

FrameAnnotation annotateFrame(const FigureLayout& layout, const FigureText& label) {
    const QTransform toMm = layout.mmFromPlane(layout.panels.front());
    const std::vector<FrameSide> sides = sidesOf(layout);
    FrameAnnotation a;
    a.latitudeMinutes = chooseInterval(sides, true, layout, toMm, label);
    a.longitudeMinutes = chooseInterval(sides, false, layout, toMm, label);
    const QRectF page(QPointF(0, 0), layout.pageMm);
    const QRectF onPage = page.adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
    for (const FrameSide& s : sides) {
        const int minutes = s.latitudes ? a.latitudeMinutes : a.longitudeMinutes;
        for (const Crossing& c : crossings(s, minutes, layout.projection, toMm)) {
            a.ticks.emplace_back(c.at, c.at + outward(s.side) * kTickMm);
            if (!labelled(s, layout.options.labelAllSides)) {
                continue;
            }
            const FrameLabel l =
                placeLabel(s, c, labelText(s, c.degrees, minutes, layout.options.language), label);
            const double gap = kLabelSpacingMm / 2;
            const bool clash =
                std::any_of(a.labels.begin(), a.labels.end(), [&](const FrameLabel& o) {
                    return o.box.adjusted(-gap, -gap, gap, gap).intersects(l.box);
                });
            if (!clash && onPage.contains(l.box)) {
                a.labels.push_back(l);
            }
        }
    }
    return a;
}

}  // namespace zelkora
