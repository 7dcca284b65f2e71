#include "figure/PlaceNames.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "figure/FigureMap.h"
#include "figure/FigureSizes.h"
#include "figure/FigureText.h"
#include "figure/PathClip.h"
#include "figure/TakenRoom.h"
#include "vectormap/LabelPoint.h"

namespace zelkora {

namespace {

// Areas are cut to the frame and simplified to this on the page before their names are placed.
constexpr double kOutlineMm = 0.15;
// How closely the point with the most room is looked for.
constexpr double kSpotPrecisionMm = 0.25;
// A name's middle stays at least this part of its letters' height inside its area.
constexpr double kInsideShare = 0.35;
// A name blocked where it stands is looked for in steps of this part of its height, at most
// this many heights away, or its own width when that is more.
constexpr double kStepShare = 0.5;
constexpr double kReachHeights = 8.0;
// An edge of the frame's box in degrees along a parallel is kept an arc by a point at least
// this often, in parts of the box's width.
constexpr int kArcSteps = 64;

const QString kOutside = QStringLiteral("вне рамки");
const QString kNoRoom = QStringLiteral("нет места");

// The country whose divisions a map names.
QString ownCountry(int map) {
    return map == kMapVietnam ? QStringLiteral("VNM") : QStringLiteral("RUS");
}

bool meets(const QRectF& a, const QRectF& b) {
    return a.left() <= b.right() && a.right() >= b.left() && a.top() <= b.bottom() &&
           a.bottom() >= b.top();
}

// A ring cut to a box in degrees (x the longitude, y the latitude), with points added along the
// cuts that follow its parallels, which are arcs once projected.
QPolygonF cutToBox(const QPolygonF& ring, const QRectF& box) {
    const QPolygonF cut = clipRing(ring, box);
    const double step = box.width() / kArcSteps;
    const double eps = 1e-9 * (1.0 + std::fabs(box.top()) + std::fabs(box.bottom()));
    QPolygonF out;
    for (qsizetype i = 0; i < cut.size(); ++i) {
        const QPointF a = cut[i];
        const QPointF b = cut[(i + 1) % cut.size()];
        out << a;
        const bool alongParallel =
            (std::fabs(a.y() - box.top()) < eps && std::fabs(b.y() - box.top()) < eps) ||
            (std::fabs(a.y() - box.bottom()) < eps && std::fabs(b.y() - box.bottom()) < eps);
        if (alongParallel && std::fabs(b.x() - a.x()) > step) {
            const int parts = static_cast<int>(std::ceil(std::fabs(b.x() - a.x()) / step));
            for (int k = 1; k < parts; ++k) {
                out << a + (b - a) * (static_cast<double>(k) / parts);
            }
        }
    }
    return out;
}

// An area cut to the frame, in millimetres on the first panel's page: each polygon its outer
// ring first, then its holes. Empty when none of it is inside the frame.
std::vector<std::vector<QPolygonF>> areaInFrame(const FigureLayout& layout,
                                                const FigureMap::NamedArea& area) {
    const QTransform toMm = layout.mmFromPlane(layout.panels.front());
    const bool northUp = layout.projection.isNorthUp();
    // North up, the frame is the box's meridians and parallels: cut in degrees. Otherwise cut
    // the frame's rectangle on the plane, from what its range of degrees holds.
    const QRectF box = northUp ? QRectF(QPointF(layout.box.west, layout.box.south),
                                        QPointF(layout.box.east, layout.box.north))
                               : QRectF(QPointF(layout.range.west, layout.range.south),
                                        QPointF(layout.range.east, layout.range.north));
    std::vector<std::vector<QPolygonF>> out;
    if (!meets(area.bounds, box)) {
        return out;
    }
    const auto toPage = [&](const QPolygonF& geo) {
        QPolygonF plane;
        plane.reserve(geo.size());
        for (const QPointF& p : geo) {
            const QPointF at = layout.projection.toPlane({.lat = p.y(), .lon = p.x()});
            if (std::isfinite(at.x()) && std::isfinite(at.y())) {
                plane << at;
            }
        }
        return plane;
    };
    for (const std::vector<QPolygonF>& polygon : area.polygons) {
        std::vector<QPolygonF> rings;
        for (const QPolygonF& ring : polygon) {
            if (!meets(ring.boundingRect(), box)) {
                if (rings.empty()) {
                    break;  // the outer ring is outside, and its holes with it
                }
                continue;
            }
            QPolygonF page = northUp ? toMm.map(toPage(cutToBox(ring, box)))
                                     : toMm.map(clipRing(toPage(ring), layout.extent));
            page = simplified(thinned(page, kOutlineMm), kOutlineMm);
            if (page.size() >= 3) {
                rings.push_back(std::move(page));
            } else if (rings.empty()) {
                break;
            }
        }
        if (!rings.empty()) {
            out.push_back(std::move(rings));
        }
    }
    return out;
}

// The most a point has inside any of the polygons.
double roomIn(QPointF point, const std::vector<std::vector<QPolygonF>>& polygons) {
    double best = -INFINITY;
    for (const std::vector<QPolygonF>& rings : polygons) {
        if (!rings.empty() && rings.front().boundingRect().contains(point)) {
            best = std::max(best, roomAt(point, rings));
        }
    }
    return best;
}

struct Name {
    PlaceKind kind;
    QString text;
    std::vector<std::vector<QPolygonF>> polygons;  // on the first panel
    LabelSpot spot;
};

// Offsets from a name's spot in steps, at most reach steps away, nearest first, in a fixed
// order.
std::vector<QPoint> offsets(int reach) {
    std::vector<QPoint> grid;
    for (int y = -reach; y <= reach; ++y) {
        for (int x = -reach; x <= reach; ++x) {
            if (x * x + y * y <= reach * reach) {
                grid.emplace_back(x, y);
            }
        }
    }
    std::stable_sort(grid.begin(), grid.end(), [](QPoint a, QPoint b) {
        return a.x() * a.x() + a.y() * a.y() < b.x() * b.x() + b.y() * b.y();
    });
    return grid;
}

}  // namespace

void layOutPlaceNames(FigureLayout& layout, const FigureMap& map) {
    const FigureOptions& options = layout.options;
    if (!options.nameCountries && !options.nameDivisions) {
        return;
    }
    const QString own = ownCountry(map.map());
    std::vector<Name> names;
    if (options.nameCountries) {
        for (const FigureMap::NamedArea& area : map.countryAreas()) {
            const QString text =
                options.language == FigureLanguage::Russian ? area.nameRu : area.name;
            names.push_back({PlaceKind::Country, text.toUpper(), areaInFrame(layout, area), {}});
        }
    }
    const std::size_t countries = names.size();
    if (options.nameDivisions) {
        for (const FigureMap::NamedArea& area : map.divisionAreas(options.divisions)) {
            if (area.country == own) {
                names.push_back({PlaceKind::Division, area.name, areaInFrame(layout, area), {}});
            }
        }
    }
    if (names.empty()) {
        layout.warnings << QStringLiteral(
            "В данных карты нет названий стран и областей: подписей на рисунке нет");
        return;
    }
    for (Name& n : names) {
        n.spot = labelSpot(n.polygons, kSpotPrecisionMm);
    }
    // Countries with the most room first, then the divisions with the least: those have the
    // fewest places to go.
    std::stable_sort(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(countries),
                     [](const Name& a, const Name& b) { return a.spot.room > b.spot.room; });
    std::stable_sort(names.begin() + static_cast<std::ptrdiff_t>(countries), names.end(),
                     [](const Name& a, const Name& b) { return a.spot.room < b.spot.room; });

    const FigureText countryFont(options.fontPt * kCountryNameScale, false, false);
    const FigureText divisionFont(options.fontPt * kDivisionNameScale, false, false);
    for (const Name& n : names) {
        if (n.polygons.empty()) {
            layout.namesLeftOut.push_back({n.kind, n.text, 0, true, kOutside});
        }
    }
    std::map<int, std::vector<QPoint>> steps;  // by reach
    const QPointF first = layout.panels.front().frame.topLeft();
    for (int panel = 0; panel < static_cast<int>(layout.panels.size()); ++panel) {
        const FigurePanel& p = layout.panels[static_cast<std::size_t>(panel)];
        const QPointF shift = p.frame.topLeft() - first;
        const QTransform toPlane = layout.mmFromPlane(p).inverted();
        TakenRoom room = takenRoomOf(layout, panel);
        for (const Name& n : names) {
            if (n.polygons.empty()) {
                continue;
            }
            const FigureText& font = n.kind == PlaceKind::Country ? countryFont : divisionFont;
            const QSizeF size(font.widthMm(n.text) + 2 * kHaloMm, font.heightMm() + 2 * kHaloMm);
            const double inside = font.heightMm() * kInsideShare;
            const double step = font.heightMm() * kStepShare;
            const int reach = static_cast<int>(
                std::ceil(std::max(size.width(), font.heightMm() * kReachHeights) / step));
            auto around = steps.find(reach);
            if (around == steps.end()) {
                around = steps.emplace(reach, offsets(reach)).first;
            }
            bool placed = false;
            if (n.spot.room >= inside) {
                for (const QPoint offset : around->second) {
                    const QPointF centre = n.spot.point + QPointF(offset) * step;
                    const QRectF box(centre + shift - QPointF(size.width(), size.height()) / 2,
                                     size);
                    if (!room.isFree(box) || roomIn(centre, n.polygons) < inside) {
                        continue;
                    }
                    room.take(box);
                    const QPointF baseline(
                        box.left() + kHaloMm,
                        box.center().y() + (font.ascentMm() - font.descentMm()) / 2);
                    layout.names.push_back({n.kind, n.text, panel, baseline, box,
                                            layout.projection.toGeo(toPlane.map(box.center()))});
                    placed = true;
                    break;
                }
            }
            if (!placed) {
                layout.namesLeftOut.push_back({n.kind, n.text, panel, false, kNoRoom});
            }
        }
    }
}

}  // namespace zelkora
