#include "figure/FigurePainter.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "figure/Extent.h"
#include "figure/FigureLayout.h"
#include "figure/FigureMap.h"
#include "figure/FigureSizes.h"
#include "figure/FigureText.h"
#include "figure/PathClip.h"
#include "plot/MarkerShape.h"
#include "vectormap/MapPalette.h"

namespace zelkora {

namespace {

// Line widths in points, like the window's map at print size.
constexpr double kGraticulePt = 0.35;
constexpr double kDivisionPt = 0.6;
constexpr double kBorderPt = 1.0;
constexpr double kSeaShorePt = 0.6;
constexpr double kLakeShorePt = 0.45;
constexpr double kFramePt = 0.6;
constexpr double kTickPt = 0.4;
constexpr double kBoxLinePt = 0.4;
// GSHHG river levels: 0 banks of river-lakes, 1 major rivers, 2, 3 and 4 smaller ones.
constexpr std::array<double, 5> kRiverPt = {0.5, 0.8, 0.65, 0.5, 0.36};
// Lines are thinned to this part of a device pixel on a raster.
constexpr double kDevicePixelShare = 0.35;
constexpr double kInsetFramePt = 0.4;
constexpr double kInsetFigurePt = 0.8;
const QColor kInsetFigure(200, 30, 30);
// Names of countries in near black, of divisions in a darker shade of their lines' colour.
const QColor kCountryName(0x30, 0x30, 0x30);
const QColor kDivisionName(0x5E, 0x40, 0x6E);
// The geometry is cut a little beyond the frame, so that no line ends inside it: this part of
// the frame's span in degrees on each side.
constexpr double kClipSlack = 0.02;
// Long lines are stroked in runs of this many points: Qt's rasterizer slows down sharply on one
// wide outline of many thousand points, and round joins hide where the runs meet.
constexpr qsizetype kStrokeRun = 128;

// Mitred joins and square ends: lines this thin look the same with round ones, which cost the
// rasterizer a curve at every bend. Dashes keep their exact length.
QPen linePen(QColor colour, double pt, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour, pt * kMmPerPt, style, Qt::SquareCap, Qt::MiterJoin);
    if (style == Qt::CustomDashLine) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({5, 3});
    }
    return pen;
}

// The map's geometry of one panel, taken to millimetres and thinned to the device line by line,
// then cut to a little beyond what is shown. A line is thinned the same way whatever part of it
// is shown, so a raster drawn in bands has the pixels of one drawn whole.
class PanelGeometry {
  public:
    PanelGeometry(const QTransform& toMm, const QRectF& frameMm, double toleranceMm,
                  const QRectF& visibleMm)
        : toMm_(toMm), tolerance_(toleranceMm) {
        // Wide enough that the widest line's end and the cut rings' edges stay outside what is
        // shown.
        constexpr double kSlackMm = 2.0;
        viewMm_ = visibleMm.intersected(frameMm).adjusted(-kSlackMm, -kSlackMm, kSlackMm, kSlackMm);
        view_ = toMm_.inverted().mapRect(viewMm_);
    }

    bool visible(const QRectF& bounds) const { return bounds.intersects(view_); }

    void lines(const QPolygonF& pixels, const QRectF& bounds, std::vector<QPolygonF>& out) const {
        out.clear();
        if (!visible(bounds)) {
            return;
        }
        if (view_.contains(bounds)) {
            out.push_back(toMm(pixels));
            return;
        }
        clipPolyline(toMm(pixels), viewMm_, out);
    }

    QPolygonF ring(const QPolygonF& pixels, const QRectF& bounds) const {
        if (view_.contains(bounds)) {
            return toMm(pixels);
        }
        return clipRing(toMm(pixels), viewMm_);
    }

  private:
    QPolygonF toMm(const QPolygonF& pixels) const {
        QPolygonF mm(pixels.size());
        const double a = toMm_.m11();
        const double dx = toMm_.dx();
        const double dy = toMm_.dy();
        for (qsizetype i = 0; i < pixels.size(); ++i) {
            mm[i] = QPointF(pixels[i].x() * a + dx, pixels[i].y() * a + dy);
        }
        return thinned(mm, tolerance_);
    }

    QTransform toMm_;
    double tolerance_;
    QRectF viewMm_;
    QRectF view_;  // the same in the map's pixels
};

void strokeInRuns(QPainter& painter, const QPolygonF& line) {
    // A dashed line's pattern goes on from one run to the next.
    const bool dashed = painter.pen().style() == Qt::CustomDashLine;
    QPen pen = painter.pen();
    double offset = 0.0;
    for (qsizetype start = 0; start + 1 < line.size(); start += kStrokeRun) {
        const qsizetype count = std::min(kStrokeRun + 1, line.size() - start);
        if (dashed) {
            pen.setDashOffset(offset / pen.widthF());
            painter.setPen(pen);
            for (qsizetype i = start + 1; i < start + count; ++i) {
                offset += QLineF(line[i - 1], line[i]).length();
            }
        }
        painter.drawPolyline(line.constData() + start, static_cast<int>(count));
    }
}

void drawLines(QPainter& painter, const PanelGeometry& geometry,
               const std::vector<FigureMap::Line>& lines, const QPen& pen, int level = -1) {
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    std::vector<QPolygonF> pieces;
    for (const FigureMap::Line& line : lines) {
        if (level >= 0 && line.level != level) {
            continue;
        }
        geometry.lines(line.points, line.bounds, pieces);
        for (const QPolygonF& piece : pieces) {
            strokeInRuns(painter, piece);
        }
    }
}

// What one frame shows of the map: its geometry on the page and the frame it is cut to.
struct MapView {
    const FigureMap::Projected& geometry;
    QTransform toMm;
    QRectF frame;             // millimetres
    QPolygonF outline;        // millimetres, closed
    bool rectangular = true;  // the outline is its bounds
};

void clipTo(QPainter& painter, const MapView& view, const QRectF& visible) {
    if (view.rectangular) {
        painter.setClipRect(view.frame.intersected(visible));
    } else {
        QPainterPath path;
        path.addPolygon(view.outline);
        path.closeSubpath();
        painter.setClipPath(path);
    }
}

void drawAreas(QPainter& painter, const MapView& view, const PanelGeometry& geometry) {
    painter.fillRect(view.frame, kMapSea);
    painter.setPen(Qt::NoPen);
    for (const FigureMap::Area& area : view.geometry.areas) {
        if (!geometry.visible(area.bounds)) {
            continue;
        }
        painter.setBrush(area.level % 2 == 1 ? kMapLand : kMapSea);
        if (area.rings.size() == 1) {
            const QPolygonF ring = geometry.ring(area.rings.front(), area.bounds);
            if (ring.size() >= 3) {
                painter.drawPolygon(ring);
            }
            continue;
        }
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const QPolygonF& ring : area.rings) {
            const QPolygonF cut = geometry.ring(ring, ring.boundingRect());
            if (cut.size() >= 3) {
                path.addPolygon(cut);
                path.closeSubpath();
            }
        }
        painter.drawPath(path);
    }
}

void drawVectorMap(QPainter& painter, const FigureLayout& layout, const MapView& view,
                   const PanelGeometry& geometry) {
    drawAreas(painter, view, geometry);
    const FigureMap::Projected& map = view.geometry;
    const auto& on = layout.options.layers;
    if (on[0] && layout.options.graticuleLines) {
        painter.setPen(linePen(kMapGraticule, kGraticulePt));
        std::vector<QPolygonF> pieces;
        for (const GraticuleLine& line : layout.graticule) {
            geometry.lines(line.plane, line.plane.boundingRect(), pieces);
            for (const QPolygonF& piece : pieces) {
                strokeInRuns(painter, piece);
            }
        }
    }
    if (on[1]) {
        const auto& rivers = map.of(FigureMap::LineLayer::Rivers);
        // Small rivers first, so the major ones lie on top.
        for (const int level : {4, 3, 0, 2, 1}) {
            drawLines(painter, geometry, rivers,
                      linePen(kMapRiver, kRiverPt[static_cast<std::size_t>(level)]), level);
        }
    }
    if (on[2]) {
        drawLines(painter, geometry, map.of(FigureMap::LineLayer::Divisions),
                  linePen(kMapDivision, kDivisionPt, Qt::CustomDashLine));
    }
    if (on[3]) {
        drawLines(painter, geometry, map.of(FigureMap::LineLayer::Borders),
                  linePen(kMapBorder, kBorderPt));
    }
    if (on[4]) {
        const auto& shores = map.of(FigureMap::LineLayer::Shores);
        for (const int level : {4, 3, 2}) {
            drawLines(painter, geometry, shores, linePen(kMapShore, kLakeShorePt), level);
        }
        drawLines(painter, geometry, shores, linePen(kMapShore, kSeaShorePt), 1);
        drawLines(painter, geometry, shores, linePen(kMapShore, kSeaShorePt), 0);
    }
}

// A map without vector data: its picture, cut to what the frame shows, scaled onto the frame.
void drawRasterMap(QPainter& painter, const FigureLayout& layout, const FigureMap& map,
                   const FigurePanel& panel, const QRectF& visibleMm) {
    const TPngImage& raster = map.raster(layout.options.layers);
    const QImage image(raster.bits(), raster.Width(), raster.Height(),
                       static_cast<qsizetype>(raster.Width()) * TPngImage::kChannels,
                       QImage::Format_RGBA8888);
    const QTransform rasterFromMap = map.rasterFromMap();
    // What is shown of the frame, with two pixels more on each side, so that the smooth scaling
    // sees the same neighbours in every band.
    const QRectF shownPixels =
        layout.mmFromPlane(panel).inverted().mapRect(visibleMm.intersected(panel.frame));
    const QRect source = rasterFromMap.mapRect(shownPixels.intersected(layout.extent))
                             .toAlignedRect()
                             .adjusted(-2, -2, 2, 2)
                             .intersected(image.rect());
    if (source.isEmpty()) {
        return;
    }
    // Only the part shown goes into the output, drawn onto white as the window's export draws
    // it, so that PDF and SVG get one opaque picture.
    QImage shown(source.size(), QImage::Format_RGB32);
    shown.fill(Qt::white);
    {
        QPainter flatten(&shown);
        flatten.drawImage(QPoint(0, 0), image, source);
    }
    painter.fillRect(panel.frame, Qt::white);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setTransform(rasterFromMap.inverted() * layout.mmFromPlane(panel) *
                         painter.transform());
    painter.drawImage(QRectF(source), shown);
    painter.restore();
}

QPainterPath markerPath(int type, double sizeMm) {
    QTransform t;
    t.scale(sizeMm / kMarkerBox, sizeMm / kMarkerBox);
    t.translate(-kMarkerBox / 2.0, -kMarkerBox / 2.0);
    return t.map(markerShape(type));
}

class Markers {
  public:
    // On a raster the shapes' curves are flattened once, at the device's resolution, rather than
    // at every marker; vector output keeps them as curves.
    Markers(const FigureLayout& layout, double deviceMm)
        : colour_(layout.options.red ? kMarkerRed : kMarkerInk),
          halo_(Qt::white, 2 * layout.markerOutlineMm, Qt::SolidLine, Qt::SquareCap,
                Qt::MiterJoin) {
        for (int type = 0; type < kMarkerTypeCount; ++type) {
            QPainterPath path = markerPath(type, layout.options.markerMm);
            if (deviceMm > 0) {
                // Chords of a quarter of a device pixel.
                const double scale = 4.0 / deviceMm;
                QPainterPath flat;
                flat.setFillRule(path.fillRule());
                for (const QPolygonF& ring :
                     path.toSubpathPolygons(QTransform::fromScale(scale, scale))) {
                    flat.addPolygon(QTransform::fromScale(1 / scale, 1 / scale).map(ring));
                    flat.closeSubpath();
                }
                path = flat;
            }
            shapes_[static_cast<std::size_t>(type)] = path;
        }
    }

    // A thin white outline under the shape keeps neighbouring markers and the map's lines apart.
    void draw(QPainter& painter, int type, QPointF centre) const {
        const QPainterPath path = shapes_[static_cast<std::size_t>(type)].translated(centre);
        painter.strokePath(path, halo_);
        painter.fillPath(path, colour_);
    }

  private:
    QColor colour_;
    QPen halo_;
    std::array<QPainterPath, kMarkerTypeCount> shapes_;
};

void drawBox(QPainter& painter, const QRectF& box) {
    painter.setPen(
        QPen(Qt::black, kBoxLinePt * kMmPerPt, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
}

// The degrees a scene is cut to: the box north up, the range of the frame otherwise, with a
// little more on every side.
DegreeBox clipBoxOf(const FigureProjection& projection, const DegreeBox& box,
                    const QRectF& extent) {
    DegreeBox b = box;
    if (!projection.isNorthUp()) {
        const GeoRange r = rangeOfRectangle(projection, extent);
        b = {r.south, r.west, r.north, r.east};
    }
    const double dLat = (b.north - b.south) * kClipSlack;
    const double dLon = (b.east - b.west) * kClipSlack;
    return {b.south - dLat, b.west - dLon, b.north + dLat, b.east + dLon};
}

// Kilometres on the ground in a millimetre of a frame, the least across it.
double leastKmPerMm(const FigureProjection& projection, const DegreeBox& box, double mmPerUnit) {
    double least = INFINITY;
    for (const double lat : {box.south, (box.south + box.north) / 2, box.north}) {
        least = std::min(least, projection.kmPerUnit(lat) / mmPerUnit);
    }
    return least;
}

void drawInset(QPainter& painter, const FigureLayout& layout, const FigureScene& scene,
               const QRectF& visible) {
    const FigureInset& inset = layout.inset;
    const QTransform toMm = inset.mmFromPlane();
    const MapView view{scene.inset, toMm, inset.box, toMm.map(inset.outline),
                       !inset.projection.isNorthUp()};
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(inset.box);
    clipTo(painter, view, visible);
    drawAreas(painter, view, PanelGeometry(toMm, inset.box, scene.toleranceMm, visible));
    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(linePen(Qt::black, kInsetFramePt));
    painter.drawPolygon(view.outline);
    painter.setPen(linePen(kInsetFigure, kInsetFigurePt));
    painter.drawPolygon(toMm.map(inset.figure));
    painter.restore();
}

// The numbers beside the markers of a panel with their leaders, and the names on its map, each
// over a white halo; only those that meet what is shown, as a halo costs a path.
void drawNumbersAndNames(QPainter& painter, const FigureLayout& layout, int panel,
                         const QRectF& visible) {
    const FigureOptions& options = layout.options;
    if (!layout.numbers.empty()) {
        const FigureText font(options.fontPt * kNumberScale, false, false);
        painter.setPen(QPen(Qt::black, kLeaderPt * kMmPerPt, Qt::SolidLine, Qt::FlatCap));
        for (const PointNumber& n : layout.numbers) {
            if (n.drawn && n.panel == panel && !n.leader.isNull()) {
                painter.drawLine(n.leader);
            }
        }
        painter.setPen(Qt::black);
        for (const PointNumber& n : layout.numbers) {
            if (n.drawn && n.panel == panel && n.box.intersects(visible)) {
                font.drawHaloed(painter, n.baseline, QString::number(n.number), kHaloMm);
            }
        }
    }
    if (!layout.names.empty()) {
        const FigureText country(options.fontPt * kCountryNameScale, false, false);
        const FigureText division(options.fontPt * kDivisionNameScale, false, false);
        for (const PlaceName& n : layout.names) {
            if (n.panel == panel && n.box.intersects(visible)) {
                const bool isCountry = n.kind == PlaceKind::Country;
                painter.setPen(isCountry ? kCountryName : kDivisionName);
                (isCountry ? country : division).drawHaloed(painter, n.baseline, n.text, kHaloMm);
            }
        }
    }
}

}  // namespace

FigureScene prepareFigureScene(const FigureLayout& layout, const FigureMap& map, double deviceMm) {
    FigureScene scene;
    scene.toleranceMm = std::max(kDetailMm, deviceMm * kDevicePixelShare);
    if (!map.hasVector()) {
        return scene;
    }
    scene.frame = map.project(
        layout.projection, clipBoxOf(layout.projection, layout.box, layout.extent),
        scene.toleranceMm * leastKmPerMm(layout.projection, layout.box, layout.mmPerUnit),
        layout.options.divisions);
    if (layout.inset.corner != FigureCorner::None) {
        const FigureInset& inset = layout.inset;
        scene.inset = map.project(
            inset.projection, clipBoxOf(inset.projection, inset.region, inset.extent),
            scene.toleranceMm * leastKmPerMm(inset.projection, inset.region, inset.mmPerUnit));
    }
    return scene;
}

void paintFigure(QPainter& painter, const FigureLayout& layout, const FigureMap& map,
                 const FigureScene& scene, double deviceMm, const QRectF& visibleMm) {
    const QRectF page(QPointF(0, 0), layout.pageMm);
    const QRectF visible = visibleMm.isEmpty() ? page : visibleMm.intersected(page);
    const FigureOptions& options = layout.options;
    const FigureText label(options.fontPt, false, false);
    const FigureText bold(options.fontPt, true, false);
    const FigureText species(options.fontPt, false, options.italic);
    const FigureText upright(options.fontPt, false, false);
    const Markers markers(layout, deviceMm);
    const bool rectangular = !layout.projection.isNorthUp();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(visible, Qt::white);

    for (int panelIndex = 0; panelIndex < static_cast<int>(layout.panels.size()); ++panelIndex) {
        const FigurePanel& panel = layout.panels[static_cast<std::size_t>(panelIndex)];
        if (!panel.frame.adjusted(-20, -20, 20, 20).intersects(visible)) {
            continue;
        }
        const QTransform toMm = layout.mmFromPlane(panel);
        const MapView view{scene.frame, toMm, panel.frame, panel.outline, rectangular};
        painter.save();
        clipTo(painter, view, visible);
        if (map.hasVector()) {
            drawVectorMap(painter, layout, view,
                          PanelGeometry(toMm, panel.frame, scene.toleranceMm, visible));
        } else {
            drawRasterMap(painter, layout, map, panel, visible);
        }
        // Markers by type, then in list order, as the window draws them: later ones lie on top.
        for (int type = 0; type < kMarkerTypeCount; ++type) {
            for (const FigurePoint& p : layout.drawn) {
                if (p.column == type && (panel.column < 0 || panel.column == p.column)) {
                    markers.draw(painter, type, toMm.map(p.plane));
                }
            }
        }
        painter.restore();
        drawNumbersAndNames(painter, layout, panelIndex, visible);

        painter.setBrush(Qt::NoBrush);
        painter.setPen(
            QPen(Qt::black, kFramePt * kMmPerPt, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        if (rectangular) {
            painter.drawRect(panel.frame);
        } else {
            painter.drawPolygon(panel.outline);
        }
        painter.setPen(QPen(Qt::black, kTickPt * kMmPerPt, Qt::SolidLine, Qt::FlatCap));
        for (const QLineF& t : panel.ticks) {
            painter.drawLine(t);
        }
        painter.setPen(Qt::black);
        for (const FrameLabel& l : panel.labels) {
            label.draw(painter, l.baseline, l.text);
        }
        if (!panel.letter.isEmpty()) {
            bold.draw(painter, panel.letterBaseline, panel.letter);
            markers.draw(painter, panel.column, panel.titleMarker);
            painter.setPen(Qt::black);
            (panel.titleItalic ? species : upright).draw(painter, panel.titleBaseline, panel.title);
        }
    }

    if (layout.inset.corner != FigureCorner::None) {
        drawInset(painter, layout, scene, visible);
    }
    if (layout.legend.corner != FigureCorner::None) {
        drawBox(painter, layout.legend.box);
        for (const LegendEntry& e : layout.legend.entries) {
            markers.draw(painter, e.column, e.marker);
            painter.setPen(Qt::black);
            (e.italic ? species : upright).draw(painter, e.baseline, e.text);
        }
    }
    const FigureScaleBar& bar = layout.scaleBar;
    if (bar.corner != FigureCorner::None) {
        drawBox(painter, bar.box);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (const QRectF& r : bar.blackSegments) {
            painter.drawRect(r);
        }
        painter.setPen(
            QPen(Qt::black, kBoxLinePt * kMmPerPt, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::white);
        for (const QRectF& r : bar.whiteSegments) {
            painter.drawRect(r);
        }
        painter.setPen(Qt::black);
        for (const ScaleBarLabel& l : bar.labels) {
            label.draw(painter, l.baseline, l.text);
        }
    }
    const FigureNorthArrow& arrow = layout.northArrow;
    if (arrow.corner != FigureCorner::None) {
        drawBox(painter, arrow.box);
        painter.setPen(
            QPen(Qt::black, kBoxLinePt * kMmPerPt, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::black);
        painter.drawPolygon(arrow.blackHalf);
        painter.setBrush(Qt::white);
        painter.drawPolygon(arrow.whiteHalf);
        painter.setPen(Qt::black);
        bold.draw(painter, arrow.letterBaseline, arrow.letter);
    }
    painter.restore();
}

}  // namespace zelkora
