#include "figure/FigureLayout.h"

#include <algorithm>
#include <cmath>

#include "common/ZelkoraError.h"
#include "figure/Extent.h"
#include "figure/FigureSizes.h"
#include "figure/FigureText.h"
#include "figure/FrameAnnotation.h"
#include "figure/FrameCorners.h"
#include "figure/Inset.h"
#include "figure/Legend.h"
#include "figure/NorthArrow.h"
#include "figure/PanelGrid.h"
#include "figure/PlaceNames.h"
#include "figure/PointNumbers.h"
#include "figure/ScaleBar.h"
#include "plot/MarkerShape.h"
#include "plot/Tpoints.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

constexpr double kMmPerInch = 25.4;
// Below this a map's picture looks grainy in print.
constexpr double kMinRasterDpi = 300.0;
// The narrowest figure a preset that narrows may try, and how closely the widest width that
// fits is looked for.
constexpr double kMinWidthMm = 20.0;
constexpr double kWidthSearchMm = 0.05;

QString number(double value) {
    return QString::number(value, 'g', 6);
}

struct TablePoints {
    std::vector<FigurePoint> candidates;  // in the marker pass's order
    std::vector<int> columns;             // that hold a point, in order
};

// The points, read as the marker pass reads them. Those it cannot place are left out, and for a
// frame fitted to them those beyond the map's picture too.
TablePoints readPoints(const PointTable& table, const FigureMap& map, FigureLayout& layout) {
    TablePoints read;
    const QRectF mapRect(QPointF(0, 0), QSizeF(map.size()));
    const bool fitted = layout.options.extent == FigureExtent::Points;
    forEachPointCell(table, [&](int column, int row, double lat, double lon) {
        const FigurePoint p{column, row, {.lat = lat, .lon = lon}, {}};
        const QPointF pixel = map.projection().toPlane(p.geo);
        if (column >= kMarkerTypeCount) {
            layout.leftOut.push_back(
                {p, QStringLiteral("в столбце %1 нет значка").arg(column + 1)});
        } else if (!std::isfinite(pixel.x()) || !std::isfinite(pixel.y())) {
            layout.leftOut.push_back({p, QStringLiteral("не ложится на карту")});
        } else if (fitted && !mapRect.contains(pixel)) {
            layout.leftOut.push_back({p, QStringLiteral("вне карты")});
        } else {
            read.candidates.push_back(p);
        }
    });
    for (const FigurePoint& p : read.candidates) {
        if (std::find(read.columns.begin(), read.columns.end(), p.column) == read.columns.end()) {
            read.columns.push_back(p.column);
        }
    }
    std::sort(read.columns.begin(), read.columns.end());
    return read;
}

PanelRoom roomFor(const FigureOptions& options, bool minutes) {
    const FigureText label(options.fontPt, false, false);
    const FigureText bold(options.fontPt, true, false);
    PanelRoom room{frameRoom(label, options, minutes), 0.0};
    if (options.panels) {
        room.title = std::max(bold.heightMm(), options.markerMm) + kTitleGapMm;
    }
    return room;
}

QSize pagePixels(QSizeF pageMm, double dpi) {
    return {pixelsForMm(pageMm.width(), dpi), std::max(1, pixelsForMm(pageMm.height(), dpi))};
}

// Whether a page is within the preset's limits.
bool withinLimits(const FigureOptions& o, double widthMm, double heightMm) {
    const QSize px = pagePixels(QSizeF(widthMm, heightMm), o.dpi);
    return !(o.maxHeightMm > 0 && heightMm > o.maxHeightMm + 1e-9) &&
           !(o.maxWidthPx > 0 && px.width() > o.maxWidthPx) &&
           !(o.maxHeightPx > 0 && px.height() > o.maxHeightPx);
}

[[noreturn]] void refuse(const FigureOptions& o, double widthMm, double heightMm,
                         std::optional<double> fitsAtMm) {
    const QString presetName =
        o.preset.isEmpty() ? QString() : QStringLiteral(" «%1»").arg(o.preset);
    const QSize px = pagePixels(QSizeF(widthMm, heightMm), o.dpi);
    QString message;
    if (o.maxHeightMm > 0 && heightMm > o.maxHeightMm + 1e-9) {
        message = QStringLiteral(
                      "Рисунок выходит высотой %1 мм, а размер%2 допускает не больше "
                      "%3 мм")
                      .arg(QString::number(heightMm, 'f', 1), presetName, number(o.maxHeightMm));
    } else if (o.maxWidthPx > 0 && px.width() > o.maxWidthPx) {
        message = QStringLiteral(
                      "Рисунок выходит шириной %1 пикселей, а размер%2 допускает не "
                      "больше %3 пикселей")
                      .arg(px.width())
                      .arg(presetName)
                      .arg(o.maxWidthPx);
    } else {
        message = QStringLiteral(
                      "Рисунок выходит высотой %1 пикселей, а размер%2 допускает не "
                      "больше %3 пикселей")
                      .arg(px.height())
                      .arg(presetName)
                      .arg(o.maxHeightPx);
    }
    if (fitsAtMm) {
        message += QStringLiteral(
                       ": он поместится при ширине %1 мм или меньше, или возьмите "
                       "рамку поуже")
                       .arg(QString::number(std::floor(*fitsAtMm * 10) / 10, 'f', 1));
    } else {
        message += QStringLiteral(": возьмите рамку поуже");
    }
    throw ZelkoraError(message);
}

}  // namespace

QTransform FigureLayout::mmFromPlane(const FigurePanel& panel) const {
    return QTransform::fromTranslate(-extent.left(), -extent.top()) *
           QTransform::fromScale(mmPerUnit, mmPerUnit) *
           QTransform::fromTranslate(panel.frame.left(), panel.frame.top());
}

int FigureLayout::panelOf(const FigurePoint& point) const {
    for (std::size_t i = 0; i < panels.size(); ++i) {
        if (panels[i].column < 0 || panels[i].column == point.column) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

std::vector<QRectF> FigureLayout::markerBoxes(int panel) const {
    const FigurePanel& p = panels.at(static_cast<std::size_t>(panel));
    const QTransform toMm = mmFromPlane(p);
    const double half = options.markerMm / 2 + markerOutlineMm;
    std::vector<QRectF> boxes;
    for (const FigurePoint& point : drawn) {
        if (p.column < 0 || p.column == point.column) {
            boxes.emplace_back(toMm.map(point.plane) - QPointF(half, half),
                               QSizeF(2 * half, 2 * half));
        }
    }
    return boxes;
}

std::vector<GeoPoint> FigureLayout::corners() const {
    if (projection.isNorthUp()) {
        return {{box.north, box.west},
                {box.north, box.east},
                {box.south, box.east},
                {box.south, box.west}};
    }
    return {projection.toGeo(extent.topLeft()), projection.toGeo(extent.topRight()),
            projection.toGeo(extent.bottomRight()), projection.toGeo(extent.bottomLeft())};
}

FigureLayout layOutFigure(const FigureOptions& requested, const FigureMap& map,
                          const PointTable& table) {
    checkFigureOptions(requested);
    // A map's picture is drawn as it is: without vector data, in the map's own projection.
    FigureOptions options = requested;
    if (!map.hasVector()) {
        options.projection = FigureProjectionKind::Map;
    }
    if (options.map != map.map()) {
        throw ZelkoraError(QStringLiteral("Рисунок и карта расходятся: карта %1, а не %2")
                               .arg(map.map())
                               .arg(options.map));
    }
    if (options.divisions == FigureDivisions::Of2008 && !map.hasDivisions2008()) {
        throw ZelkoraError(
            QStringLiteral("У карты «%1» нет границ 2008 года: они есть только у карты «%2» "
                           "(её 63 провинции до 1 июля 2025 года)")
                .arg(kMapCaptions.value(map.map()), kMapCaptions.value(kMapVietnam)));
    }
    FigureLayout layout;
    layout.options = options;
    layout.markerOutlineMm = kMarkerOutlineMm;
    const double markerHalfMm = options.markerMm / 2 + kMarkerOutlineMm;

    TablePoints points = readPoints(table, map, layout);
    if (options.extent != FigureExtent::Points) {
        // A frame of its own: the points beyond it are left out, and their columns with them.
        const FrameExtent fixed = fixedExtent(options, map);
        std::vector<FigurePoint> inside;
        points.columns.clear();
        for (const FigurePoint& p : points.candidates) {
            if (fixed.outline.containsPoint(fixed.projection.toPlane(p.geo), Qt::OddEvenFill)) {
                inside.push_back(p);
                if (std::find(points.columns.begin(), points.columns.end(), p.column) ==
                    points.columns.end()) {
                    points.columns.push_back(p.column);
                }
            } else {
                layout.leftOut.push_back({p, QStringLiteral("вне рамки")});
            }
        }
        std::sort(points.columns.begin(), points.columns.end());
        points.candidates = std::move(inside);
    }
    if (options.extent == FigureExtent::Points && points.candidates.empty()) {
        throw ZelkoraError(QStringLiteral(
            "На карте нет точек, рамку по точкам не построить: выберите всю карту или "
            "границы в градусах"));
    }
    std::vector<GeoPoint> geoPoints;
    for (const FigurePoint& p : points.candidates) {
        geoPoints.push_back(p.geo);
    }
    const int panelCount =
        options.panels ? std::max<int>(1, static_cast<int>(points.columns.size())) : 1;

    // The frame, the grid of panels and the page. The labels' room depends on whether they
    // show minutes, which the frame's size decides: minutes first, degrees when they do.
    const auto gridAt = [&](double widthMm, bool minutes) {
        return choosePanelGrid(options, map, geoPoints, panelCount, roomFor(options, minutes),
                               widthMm, markerHalfMm);
    };
    double widthMm = options.widthMm;
    PanelGrid grid = gridAt(widthMm, true);
    if (!withinLimits(options, widthMm, grid.pageHeightMm)) {
        // The widest width that fits, looked for between the narrowest and this one.
        double lo =
            options.minWidthPx > 0 ? options.minWidthPx * kMmPerInch / options.dpi : kMinWidthMm;
        double hi = widthMm;
        std::optional<double> fits;
        if (withinLimits(options, lo, gridAt(lo, true).pageHeightMm)) {
            fits = lo;
            while (hi - lo > kWidthSearchMm) {
                const double mid = (lo + hi) / 2;
                (withinLimits(options, mid, gridAt(mid, true).pageHeightMm) ? lo : hi) = mid;
            }
            fits = lo;
        }
        if (options.minWidthPx == 0 || !fits) {
            refuse(options, widthMm, grid.pageHeightMm, fits);
        }
        // A preset that narrows takes the widest width that fits, to its pixel.
        widthMm = std::floor(*fits / kMmPerInch * options.dpi) * kMmPerInch / options.dpi;
        grid = gridAt(widthMm, true);
        layout.options.widthMm = widthMm;
        layout.warnings << QStringLiteral(
                               "Ширина уменьшена до %1 мм (%2 пикселей), чтобы рисунок "
                               "поместился в размер «%3»")
                               .arg(QString::number(widthMm, 'f', 1))
                               .arg(pixelsForMm(widthMm, options.dpi))
                               .arg(options.preset);
    }
    const auto apply = [&](const PanelGrid& g, bool minutes) {
        layout.projection = g.frame.projection;
        layout.box = g.frame.box;
        layout.extent = g.frame.extent;
        layout.outline = g.frame.outline;
        layout.mmPerUnit = g.frameWidthMm / g.frame.extent.width();
        layout.pageMm = QSizeF(widthMm, g.pageHeightMm);
        layout.pixels = pagePixels(layout.pageMm, options.dpi);
        setPanels(layout, g, roomFor(options, minutes), points.columns, table);
    };
    apply(grid, true);
    const FigureText label(options.fontPt, false, false);
    FrameAnnotation annotation = annotateFrame(layout, label);
    if (!labelsShowMinutes(annotation.latitudeMinutes) &&
        !labelsShowMinutes(annotation.longitudeMinutes)) {
        const PanelGrid degrees = gridAt(widthMm, false);
        if (withinLimits(layout.options, widthMm, degrees.pageHeightMm)) {
            apply(degrees, false);
            const FrameAnnotation again = annotateFrame(layout, label);
            if (labelsShowMinutes(again.latitudeMinutes) ||
                labelsShowMinutes(again.longitudeMinutes)) {
                apply(grid, true);
            } else {
                annotation = again;
            }
        }
    }

    // The points in the frame.
    if (options.panels) {
        std::vector<int> shown;
        for (const FigurePoint& p : points.candidates) {
            if (layout.outline.containsPoint(layout.projection.toPlane(p.geo), Qt::OddEvenFill) &&
                std::find(shown.begin(), shown.end(), p.column) == shown.end()) {
                shown.push_back(p.column);
            }
        }
        if (shown.empty()) {
            throw ZelkoraError(QStringLiteral("В рамке нет точек: панелям нечего показать"));
        }
    }
    for (FigurePoint p : points.candidates) {
        p.plane = layout.projection.toPlane(p.geo);
        if (layout.outline.containsPoint(p.plane, Qt::OddEvenFill)) {
            layout.drawn.push_back(p);
        } else {
            layout.leftOut.push_back({p, QStringLiteral("вне рамки")});
        }
    }

    // The graticule, the frame's ticks and labels.
    if (layout.projection.isNorthUp()) {
        layout.range = {layout.box.south, layout.box.north, layout.box.west, layout.box.east};
    } else {
        layout.range = rangeOfRectangle(layout.projection, layout.extent);
    }
    layout.latitudeMinutes = annotation.latitudeMinutes;
    layout.longitudeMinutes = annotation.longitudeMinutes;
    layout.graticule = graticuleLines(layout.projection, layout.range, layout.latitudeMinutes,
                                      layout.longitudeMinutes);
    const QPointF first = layout.panels.front().frame.topLeft();
    for (FigurePanel& panel : layout.panels) {
        const QPointF shift = panel.frame.topLeft() - first;
        for (const QLineF& t : annotation.ticks) {
            panel.ticks.push_back(t.translated(shift));
        }
        for (FrameLabel l : annotation.labels) {
            l.baseline += shift;
            l.box.translate(shift);
            panel.labels.push_back(l);
        }
    }

    // The boxes inside the frames: legend, scale bar, north arrow and inset, each kept off the
    // markers where it may choose its corner.
    const auto cornersOf = [&](int panel) {
        const FigurePanel& p = layout.panels[static_cast<std::size_t>(panel)];
        return FrameCorners(p.outline, p.frame, layout.markerBoxes(panel));
    };
    FrameCorners firstCorners = cornersOf(0);
    layOutLegend(layout, table, points.columns, firstCorners);
    // The scale bar in the first panel of the last row.
    const int barPanel = ((panelCount - 1) / grid.columns) * grid.columns;
    if (barPanel == 0) {
        layOutScaleBar(layout, 0, firstCorners);
    } else {
        FrameCorners barCorners = cornersOf(barPanel);
        layOutScaleBar(layout, barPanel, barCorners);
    }
    layOutNorthArrow(layout, firstCorners);
    layOutInset(layout, map, firstCorners);
    // Numbers and names go where the boxes left room; the names then keep off the numbers.
    layOutPointNumbers(layout, table);
    layOutPlaceNames(layout, map);

    if (!map.hasVector()) {
        const QTransform toRaster = map.rasterFromMap();
        layout.rasterDpi = toRaster.m11() / layout.mmPerUnit * kMmPerInch;
        if (layout.rasterDpi < kMinRasterDpi) {
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
