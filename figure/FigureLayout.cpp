#include "figure/FigureLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/ZelkoraError.h"
#include "figure/FigureText.h"
#include "figure/MapScale.h"
#include "plot/MarkerShape.h"
#include "plot/Tpoints.h"
#include "projection/geo.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

// Sizes of the figure's furniture, in millimetres.
constexpr double kTickMm = 1.0;          // graticule ticks outside the frame
constexpr double kLabelGapMm = 0.6;      // between a tick and its label
constexpr double kPanelGapMm = 4.0;      // between panels, either way
constexpr double kInsetMm = 1.5;         // legend and scale bar from the frame
constexpr double kPadMm = 1.0;           // inside the legend's and the scale bar's boxes
constexpr double kMarkerGapMm = 1.5;     // between a marker and its text
constexpr double kBarThicknessMm = 0.7;  // the scale bar
constexpr double kMarkerOutlineMm = 0.15;
// The narrowest panel frame the grid of panels may make.
constexpr double kMinFrameMm = 20.0;
// A figure fitted to points is at most twice as high as wide and at least half as high.
constexpr double kMaxFitAspect = 2.0;
constexpr double kMinFitAspect = 0.5;
// A figure fitted to one point, or to points on one line, still shows this much ground.
constexpr double kMinFitSpanKm = 50.0;

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

struct Margins {
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    double bottom = 0.0;
    double title = 0.0;  // the panels' title band
};

// Room for the graticule labels: the widest label the language can give on the left, a line on
// the bottom, half a label beyond the other two sides for labels at the corners.
Margins frameMargins(const FigureText& label, const FigureText& bold, double markerMm,
                     const FigureOptions& options) {
    double widest = 0.0;
    for (const double lat : {-80.0, 80.0}) {
        widest = std::max(widest, label.widthMm(latitudeLabel(lat, options.language)));
    }
    for (const double lon : {-170.0, 170.0}) {
        widest = std::max(widest, label.widthMm(longitudeLabel(lon, options.language)));
    }
    Margins m;
    m.left = kTickMm + kLabelGapMm + widest;
    m.right = widest / 2;
    m.top = label.heightMm() / 2;
    m.bottom = kTickMm + kLabelGapMm + label.heightMm();
    if (options.panels) {
        m.title = std::max(bold.heightMm(), markerMm) + 1.0;
    }
    return m;
}

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

// The extent for points: their bounds with the margin on each side, within the map, widened or
// heightened to a sensible shape, and grown until every marker lies wholly inside.
QRectF fitExtent(const QRectF& points, const QRectF& mapRect, double frameMm, double maxAspect,
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
    for (int round = 0; round < 50; ++round) {
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

QRectF boxOutlineBounds(const FigureMap& map, const DegreeBox& box) {
    Bounds bounds;
    constexpr int kSteps = 64;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        const double lat = box.south + (box.north - box.south) * t;
        const double lon = box.west + (box.east - box.west) * t;
        for (const GeoPoint p : {GeoPoint{lat, box.west}, GeoPoint{lat, box.east},
                                 GeoPoint{box.south, lon}, GeoPoint{box.north, lon}}) {
            const QPointF pixel = map.toPixel(p);
            if (std::isfinite(pixel.x()) && std::isfinite(pixel.y())) {
                bounds.add(pixel);
            }
        }
    }
    return bounds.rect();
}

QRectF boxExtent(const FigureMap& map, const DegreeBox& box) {
    const QRectF cut =
        boxOutlineBounds(map, box).intersected(QRectF(QPointF(0, 0), QSizeF(map.size())));
    if (cut.width() <= 0 || cut.height() <= 0) {
        throw ZelkoraError(QStringLiteral("Границы %1, %2, %3, %4 не задевают карту «%5»")
                               .arg(box.south)
                               .arg(box.west)
                               .arg(box.north)
                               .arg(box.east)
                               .arg(kMapCaptions.value(map.map())));
    }
    return cut;
}

namespace {

QRectF cornerRect(const QRectF& frame, QSizeF size, FigureCorner corner) {
    const bool left = corner == FigureCorner::TopLeft || corner == FigureCorner::BottomLeft;
    const bool top = corner == FigureCorner::TopLeft || corner == FigureCorner::TopRight;
    const double x = left ? frame.left() + kInsetMm : frame.right() - kInsetMm - size.width();
    const double y = top ? frame.top() + kInsetMm : frame.bottom() - kInsetMm - size.height();
    return {QPointF(x, y), size};
}

struct Placed {
    FigureCorner corner = FigureCorner::None;
    QRectF rect;
    int covered = 0;
};

// The requested corner, or for Auto the first of preferred that covers the fewest markers.
// Another item already in the same corner pushes this one towards the frame's middle.
Placed place(const QRectF& frame, QSizeF size, FigureCorner requested,
             const std::vector<FigureCorner>& preferred, const std::vector<QRectF>& markers,
             const Placed* other) {
    const auto at = [&](FigureCorner corner) {
        QRectF r = cornerRect(frame, size, corner);
        if (other && other->corner == corner) {
            const bool top = corner == FigureCorner::TopLeft || corner == FigureCorner::TopRight;
            r.translate(0,
                        top ? other->rect.height() + kInsetMm : -(other->rect.height() + kInsetMm));
        }
        int covered = 0;
        for (const QRectF& m : markers) {
            covered += r.intersects(m) ? 1 : 0;
        }
        return Placed{corner, r, covered};
    };
    if (requested != FigureCorner::Auto) {
        return at(requested);
    }
    Placed best;
    best.covered = std::numeric_limits<int>::max();
    for (const FigureCorner corner : preferred) {
        if (other && other->corner == corner) {
            continue;
        }
        const Placed p = at(corner);
        if (p.covered < best.covered) {
            best = p;
        }
    }
    return best;
}

QString number(double value) {
    return QString::number(value, 'g', 6);
}

}  // namespace

QString columnTitle(const PointTable& table, int column) {
    QString text = table.cell(column, 0).trimmed();
    if (text.isEmpty() && column < static_cast<int>(kMarkerTypeNames.size())) {
        const std::u16string_view name = kMarkerTypeNames[static_cast<std::size_t>(column)];
        text = QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size())).trimmed();
    }
    return text;
}

QTransform FigureLayout::mmFromPixel(const FigurePanel& panel) const {
    return QTransform::fromTranslate(-extent.left(), -extent.top()) *
           QTransform::fromScale(mmPerPixel, mmPerPixel) *
           QTransform::fromTranslate(panel.frame.left(), panel.frame.top());
}

std::vector<GeoPoint> FigureLayout::corners(const FigureMap& map) const {
    return {map.toGeo(extent.topLeft()), map.toGeo(extent.topRight()),
            map.toGeo(extent.bottomRight()), map.toGeo(extent.bottomLeft())};
}

FigureLayout layOutFigure(const FigureOptions& options, const FigureMap& map,
                          const PointTable& table) {
    checkFigureOptions(options);
    if (options.map != map.map()) {
        throw ZelkoraError(QStringLiteral("Рисунок и карта расходятся: карта %1, а не %2")
                               .arg(map.map())
                               .arg(options.map));
    }
    FigureLayout layout;
    layout.options = options;
    layout.markerOutlineMm = kMarkerOutlineMm;
    const FigureText label(options.fontPt, false, false);
    const FigureText bold(options.fontPt, true, false);
    const FigureText names(options.fontPt, false, options.italic);
    const double markerHalfMm = options.markerMm / 2 + kMarkerOutlineMm;

    // The points, read as the marker pass reads them and placed where it places them.
    std::vector<FigurePoint> placed;
    forEachPointCell(table, [&](int col, int row, double lat, double lon) {
        Tpoint t;
        t.t = col;
        t.x = lat;
        t.y = lon;
        t = geo(t, map.par(), false, map.size().height());
        const FigurePoint p{col, row, {lat, lon}, {t.xImg, t.yImg}};
        if (col >= kMarkerTypeCount) {
            layout.leftOut.push_back({p, QStringLiteral("в столбце %1 нет значка").arg(col + 1)});
        } else if (!std::isfinite(t.xImg) || !std::isfinite(t.yImg)) {
            layout.leftOut.push_back({p, QStringLiteral("не ложится на карту")});
        } else {
            placed.push_back(p);
        }
    });

    const QRectF mapRect(QPointF(0, 0), QSizeF(map.size()));
    std::vector<FigurePoint> candidates;
    QRectF fixedExtent;
    const auto leaveOutBeyond = [&](const QRectF& rect, const QString& reason) {
        for (const FigurePoint& p : placed) {
            if (rect.contains(p.pixel)) {
                candidates.push_back(p);
            } else {
                layout.leftOut.push_back({p, reason});
            }
        }
    };
    if (options.extent == FigureExtent::Points) {
        leaveOutBeyond(mapRect, QStringLiteral("вне карты"));
        if (candidates.empty()) {
            throw ZelkoraError(QStringLiteral(
                "На карте нет точек, рамку по точкам не построить: выберите всю карту или "
                "границы в градусах"));
        }
    } else {
        fixedExtent =
            options.extent == FigureExtent::WholeMap ? mapRect : boxExtent(map, options.box);
        leaveOutBeyond(fixedExtent, QStringLiteral("вне рамки"));
    }
    std::vector<int> columns;
    for (const FigurePoint& p : candidates) {
        if (std::find(columns.begin(), columns.end(), p.column) == columns.end()) {
            columns.push_back(p.column);
        }
    }
    std::sort(columns.begin(), columns.end());
    if (options.panels && columns.empty()) {
        throw ZelkoraError(QStringLiteral("В рамке нет точек: панелям нечего показать"));
    }

    const Margins margins = frameMargins(label, bold, options.markerMm, options);
    const int panelCount = options.panels ? static_cast<int>(columns.size()) : 1;
    Bounds bounds;
    for (const FigurePoint& p : candidates) {
        bounds.add(p.pixel);
    }
    const QRectF pointBounds = bounds.rect();

    // The grid of panels: the fewest columns whose figure keeps within the depth allowed (the
    // preset's, or that of a portrait A-series page for a figure without one).
    struct Grid {
        int columns = 1;
        int rows = 1;
        double frameW = 0.0;
        double frameH = 0.0;
        double boxW = 0.0;
        double total = 0.0;
        QRectF extent;
    };
    const double depthTarget =
        options.maxHeightMm > 0 ? options.maxHeightMm : options.widthMm * std::sqrt(2.0);
    std::vector<Grid> grids;
    for (int c = 1; c <= panelCount; ++c) {
        Grid g;
        g.columns = c;
        g.rows = (panelCount + c - 1) / c;
        g.boxW = (options.widthMm - (c - 1) * kPanelGapMm) / c;
        g.frameW = g.boxW - margins.left - margins.right;
        if (g.frameW < kMinFrameMm && c > 1) {
            break;
        }
        if (g.frameW <= 0) {
            throw ZelkoraError(QStringLiteral("Ширина %1 мм слишком мала для рисунка")
                                   .arg(number(options.widthMm)));
        }
        const double fixed =
            g.rows * (margins.title + margins.top + margins.bottom) + (g.rows - 1) * kPanelGapMm;
        if (options.extent == FigureExtent::Points) {
            double maxAspect = kMaxFitAspect;
            if (options.maxHeightMm > 0) {
                maxAspect = std::min(maxAspect, (options.maxHeightMm - fixed) / g.rows / g.frameW);
            }
            const GeoPoint centre = map.toGeo(pointBounds.center());
            const double minSpan = kMinFitSpanKm / kmPerPixelAlongX(map, centre.lat);
            g.extent = fitExtent(pointBounds, mapRect, g.frameW, maxAspect, options.marginPercent,
                                 minSpan, markerHalfMm);
        } else {
            g.extent = fixedExtent;
        }
        g.frameH = g.frameW * g.extent.height() / g.extent.width();
        g.total = g.rows * g.frameH + fixed;
        grids.push_back(g);
    }
    const Grid* chosen = nullptr;
    for (const Grid& g : grids) {
        if (g.total <= depthTarget + 1e-9) {
            chosen = &g;
            break;
        }
    }
    if (!chosen) {
        chosen = &*std::min_element(grids.begin(), grids.end(),
                                    [](const Grid& a, const Grid& b) { return a.total < b.total; });
    }
    const Grid grid = *chosen;

    layout.extent = grid.extent;
    layout.mmPerPixel = grid.frameW / grid.extent.width();
    layout.pageMm = QSizeF(options.widthMm, grid.total);
    layout.pixels = QSize(pixelsForMm(layout.pageMm.width(), options.dpi),
                          std::max(1, pixelsForMm(layout.pageMm.height(), options.dpi)));

    const QString presetName =
        options.preset.isEmpty() ? QString() : QStringLiteral(" «%1»").arg(options.preset);
    if (options.maxHeightMm > 0 && layout.pageMm.height() > options.maxHeightMm + 1e-9) {
        throw ZelkoraError(
            QStringLiteral("Рисунок выходит высотой %1 мм, а размер%2 допускает не больше %3 мм: "
                           "возьмите рамку поуже или размер шире")
                .arg(QString::number(layout.pageMm.height(), 'f', 1), presetName,
                     number(options.maxHeightMm)));
    }
    if (options.maxWidthPx > 0 && layout.pixels.width() > options.maxWidthPx) {
        throw ZelkoraError(
            QStringLiteral("Рисунок выходит шириной %1 пикселей, а размер%2 допускает не больше "
                           "%3 пикселей")
                .arg(layout.pixels.width())
                .arg(presetName)
                .arg(options.maxWidthPx));
    }
    if (options.maxHeightPx > 0 && layout.pixels.height() > options.maxHeightPx) {
        throw ZelkoraError(
            QStringLiteral("Рисунок выходит высотой %1 пикселей, а размер%2 допускает не больше "
                           "%3 пикселей: возьмите рамку поуже")
                .arg(layout.pixels.height())
                .arg(presetName)
                .arg(options.maxHeightPx));
    }

    // Panels, row by row.
    for (int i = 0; i < panelCount; ++i) {
        FigurePanel panel;
        const double boxLeft = (i % grid.columns) * (grid.boxW + kPanelGapMm);
        const double boxTop = (i / grid.columns) * (margins.title + margins.top + grid.frameH +
                                                    margins.bottom + kPanelGapMm);
        panel.frame = QRectF(boxLeft + margins.left, boxTop + margins.title + margins.top,
                             grid.frameW, grid.frameH);
        if (options.panels) {
            panel.column = columns[static_cast<std::size_t>(i)];
            panel.letter = QString(QChar(u'a' + i));
            const double baseline = boxTop + margins.title - 1.0 - bold.descentMm();
            panel.letterBaseline = QPointF(panel.frame.left(), baseline);
            const double markerX = panel.frame.left() + bold.widthMm(panel.letter) + kMarkerGapMm +
                                   options.markerMm / 2;
            panel.titleMarker = QPointF(markerX, baseline - bold.ascentMm() * 0.36);
            panel.titleBaseline = QPointF(markerX + options.markerMm / 2 + kMarkerGapMm, baseline);
            panel.title = names.elided(columnTitle(table, panel.column),
                                       panel.frame.right() - panel.titleBaseline.x());
        }
        layout.panels.push_back(panel);
    }
    for (const FigurePoint& p : candidates) {
        if (layout.extent.contains(p.pixel)) {
            layout.drawn.push_back(p);
        } else {
            layout.leftOut.push_back({p, QStringLiteral("вне рамки")});
        }
    }

    // The graticule and its labels on the left and bottom sides of each frame.
    layout.range = geoRangeOf(map, layout.extent);
    layout.graticuleInterval = graticuleInterval(layout.range);
    layout.graticule = graticuleLines(map, layout.range, layout.graticuleInterval);
    const std::vector<FrameCrossing> crossings =
        frameCrossings(layout.graticule, layout.extent, options.language);
    const QRectF page(QPointF(0, 0), layout.pageMm);
    for (FigurePanel& panel : layout.panels) {
        const QTransform toMm = layout.mmFromPixel(panel);
        std::vector<QRectF> taken;
        std::vector<std::pair<double, FrameLabel>> ordered;
        for (const FrameCrossing& c : crossings) {
            const QPointF at = toMm.map(c.pixel);
            FrameLabel l;
            l.text = c.text;
            const double width = label.widthMm(c.text);
            if (c.leftSide) {
                l.tick = QLineF(panel.frame.left(), at.y(), panel.frame.left() - kTickMm, at.y());
                l.baseline = QPointF(panel.frame.left() - kTickMm - kLabelGapMm - width,
                                     at.y() + (label.ascentMm() - label.descentMm()) / 2);
            } else {
                l.tick =
                    QLineF(at.x(), panel.frame.bottom(), at.x(), panel.frame.bottom() + kTickMm);
                l.baseline = QPointF(at.x() - width / 2, panel.frame.bottom() + kTickMm +
                                                             kLabelGapMm + label.ascentMm());
            }
            ordered.emplace_back(c.leftSide ? at.y() : at.x() + 1e6, l);
        }
        std::sort(ordered.begin(), ordered.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [key, l] : ordered) {
            const QRectF r(QPointF(l.baseline.x(), l.baseline.y() - label.ascentMm()),
                           QSizeF(label.widthMm(l.text), label.heightMm()));
            const QRectF spaced = r.adjusted(-0.5, -0.3, 0.5, 0.3);
            const bool clash = std::any_of(taken.begin(), taken.end(),
                                           [&](const QRectF& t) { return t.intersects(spaced); });
            if (!clash && page.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(r)) {
                taken.push_back(r);
                panel.labels.push_back(l);
            }
        }
    }

    // Markers on the page, panel by panel, for placing the legend and the scale bar.
    const auto markersOf = [&](const FigurePanel& panel) {
        std::vector<QRectF> rects;
        const QTransform toMm = layout.mmFromPixel(panel);
        for (const FigurePoint& p : layout.drawn) {
            if (panel.column < 0 || panel.column == p.column) {
                const QPointF c = toMm.map(p.pixel);
                rects.emplace_back(c - QPointF(markerHalfMm, markerHalfMm),
                                   QSizeF(2 * markerHalfMm, 2 * markerHalfMm));
            }
        }
        return rects;
    };

    // The legend: one entry per column with a drawn point, in column order. Panels carry their
    // names in their titles instead.
    Placed legendPlace;
    if (!options.panels && options.legend != FigureCorner::None) {
        for (const int column : columns) {
            const int count = static_cast<int>(
                std::count_if(layout.drawn.begin(), layout.drawn.end(),
                              [&](const FigurePoint& p) { return p.column == column; }));
            if (count > 0) {
                layout.legend.entries.push_back(
                    {column, columnTitle(table, column), count, {}, {}});
            }
        }
    }
    const FigurePanel& first = layout.panels.front();
    if (!layout.legend.entries.empty()) {
        const double rowMm = std::max(options.markerMm, names.heightMm()) + 0.6;
        const double textRoom =
            first.frame.width() - 2 * kInsetMm - 2 * kPadMm - options.markerMm - kMarkerGapMm;
        double textWidth = 0.0;
        for (LegendEntry& e : layout.legend.entries) {
            e.text = names.elided(e.text, textRoom);
            textWidth = std::max(textWidth, names.widthMm(e.text));
        }
        const QSizeF size(
            2 * kPadMm + options.markerMm + kMarkerGapMm + textWidth,
            2 * kPadMm - 0.6 + rowMm * static_cast<double>(layout.legend.entries.size()));
        legendPlace = place(first.frame, size, options.legend,
                            {FigureCorner::TopLeft, FigureCorner::TopRight,
                             FigureCorner::BottomLeft, FigureCorner::BottomRight},
                            markersOf(first), nullptr);
        layout.legend.corner = legendPlace.corner;
        layout.legend.box = legendPlace.rect;
        layout.legend.coveredPoints = legendPlace.covered;
        double y = legendPlace.rect.top() + kPadMm;
        for (LegendEntry& e : layout.legend.entries) {
            const double middle = y + (rowMm - 0.6) / 2;
            e.marker = QPointF(legendPlace.rect.left() + kPadMm + options.markerMm / 2, middle);
            e.baseline = QPointF(e.marker.x() + options.markerMm / 2 + kMarkerGapMm,
                                 middle + (names.ascentMm() - names.descentMm()) / 2);
            y += rowMm;
        }
        if (legendPlace.covered > 0) {
            layout.warnings
                << QStringLiteral("Легенда закрывает точек: %1").arg(legendPlace.covered);
        }
    } else {
        layout.legend.entries.clear();
    }

    // The scale bar, once: in the first panel of the last row. Its length is a round number of
    // kilometres near a quarter of the frame's width, true at the latitude of its middle.
    if (options.scaleBar != FigureCorner::None) {
        const int index = ((panelCount - 1) / grid.columns) * grid.columns;
        const FigurePanel& panel = layout.panels[static_cast<std::size_t>(index)];
        const QTransform toPixel = layout.mmFromPixel(panel).inverted();
        FigureScaleBar& bar = layout.scaleBar;
        bar.panel = index;
        bar.latitude = map.toGeo(toPixel.map(panel.frame.center())).lat;
        Placed where;
        for (int round = 0; round < 8; ++round) {
            const double kmPerMm = kmPerPixelAlongX(map, bar.latitude) / layout.mmPerPixel;
            bar.km = roundScaleKm(panel.frame.width() / 4 * kmPerMm);
            const double lengthMm = bar.km / kmPerMm;
            bar.label = QStringLiteral("%1 %2").arg(
                number(bar.km), options.language == FigureLanguage::Russian ? QStringLiteral("км")
                                                                            : QStringLiteral("km"));
            const QSizeF size(2 * kPadMm + std::max(lengthMm, label.widthMm(bar.label)),
                              2 * kPadMm + label.heightMm() + 0.5 + kBarThicknessMm);
            where = place(
                panel.frame, size, options.scaleBar,
                {FigureCorner::BottomLeft, FigureCorner::BottomRight, FigureCorner::TopLeft,
                 FigureCorner::TopRight},
                markersOf(panel),
                index == 0 && legendPlace.corner != FigureCorner::None ? &legendPlace : nullptr);
            const double middleX = where.rect.center().x();
            const double barY = where.rect.bottom() - kPadMm - kBarThicknessMm / 2;
            bar.bar = QLineF(middleX - lengthMm / 2, barY, middleX + lengthMm / 2, barY);
            bar.labelBaseline = QPointF(middleX - label.widthMm(bar.label) / 2,
                                        where.rect.top() + kPadMm + label.ascentMm());
            const double latitude = map.toGeo(toPixel.map(bar.bar.center())).lat;
            const bool settled = std::fabs(latitude - bar.latitude) < 1e-9;
            bar.latitude = latitude;
            if (settled) {
                break;
            }
        }
        bar.corner = where.corner;
        bar.box = where.rect;
        bar.thicknessMm = kBarThicknessMm;
        bar.coveredPoints = where.covered;
        if (where.covered > 0) {
            layout.warnings
                << QStringLiteral("Масштабная линейка закрывает точек: %1").arg(where.covered);
        }
        const double kBar = map.conic().scaleFactor(bar.latitude);
        double kMin = INFINITY;
        double kMax = 0.0;
        constexpr int kSamples = 16;
        for (int i = 0; i <= kSamples; ++i) {
            for (int j = 0; j <= kSamples; ++j) {
                const QPointF pixel(layout.extent.left() + layout.extent.width() * i / kSamples,
                                    layout.extent.top() + layout.extent.height() * j / kSamples);
                const double k = map.conic().scaleFactor(map.toGeo(pixel).lat);
                kMin = std::min(kMin, k);
                kMax = std::max(kMax, k);
            }
        }
        bar.variationPercent = (kMax - kMin) / kBar * 100.0;
    }

    if (!map.hasVector()) {
        const QTransform toRaster = map.rasterFromMap();
        layout.rasterDpi = toRaster.m11() / layout.mmPerPixel * 25.4;
        if (layout.rasterDpi < 300.0) {
            layout.warnings << QStringLiteral(
                                   "У карты нет векторных данных: её растр напечатан с "
                                   "разрешением %1 dpi (меньше 300)")
                                   .arg(std::lround(layout.rasterDpi));
        }
    }
    // Named in the table's order, whatever kept them off the figure.
    std::stable_sort(layout.leftOut.begin(), layout.leftOut.end(),
                     [](const LeftOutPoint& a, const LeftOutPoint& b) {
                         return std::pair(a.point.column, a.point.row) <
                                std::pair(b.point.column, b.point.row);
                     });
    return layout;
}

}  // namespace zelkora
