#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <vector>

#include "figure/FigureMap.h"
#include "figure/FigureOptions.h"
#include "figure/Graticule.h"
#include "projection/GeoPoint.h"

namespace zelkora {

class PointTable;

// A point of the table on the figure: its cell, its degrees and its place on the map's
// normal-resolution picture, where the window's marker pass puts it.
struct FigurePoint {
    int column = 0;
    int row = 0;
    GeoPoint geo;
    QPointF pixel;
};

struct LeftOutPoint {
    FigurePoint point;
    QString reason;
};

// A graticule label on the frame: its tick and its text, in millimetres.
struct FrameLabel {
    QLineF tick;
    QPointF baseline;
    QString text;
};

// One map frame of the figure, with what is drawn around it. Every panel shows the same extent.
struct FigurePanel {
    QRectF frame;     // millimetres on the page
    int column = -1;  // the column whose points it shows; -1 for all
    QString letter;   // "a", "b", ... when the figure has panels
    QString title;    // the column's header text
    QPointF letterBaseline;
    QPointF titleMarker;  // centre of the marker before the title
    QPointF titleBaseline;
    std::vector<FrameLabel> labels;
};

struct LegendEntry {
    int column = 0;
    QString text;
    int points = 0;
    QPointF marker;    // centre, millimetres
    QPointF baseline;  // of the text
};

struct FigureLegend {
    FigureCorner corner = FigureCorner::None;  // where it went; None when not drawn
    int panel = 0;
    QRectF box;
    std::vector<LegendEntry> entries;
    int coveredPoints = 0;
};

struct FigureScaleBar {
    FigureCorner corner = FigureCorner::None;  // where it went; None when not drawn
    int panel = 0;
    QRectF box;
    QLineF bar;  // along the x axis, at the middle of the bar's thickness
    double thicknessMm = 0.0;
    double km = 0.0;
    QString label;
    QPointF labelBaseline;
    double latitude = 0.0;          // where the bar is true
    double variationPercent = 0.0;  // of the scale across the frame, relative to the bar's
    int coveredPoints = 0;          // markers its box covers in its panel
};

// Everything about a figure but the drawing itself: the page, the extent, the panels and where
// every marker, label, legend entry and the scale bar go, all in millimetres. The renderer draws
// it as it stands, and the report is read from it.
struct FigureLayout {
    FigureOptions options;
    QSizeF pageMm;
    QSize pixels;             // the page at the options' dpi
    QRectF extent;            // in the map's normal-resolution pixels
    double mmPerPixel = 0.0;  // one uniform scale, so the map keeps its own shape
    GeoRange range;
    int graticuleInterval = 0;
    std::vector<GraticuleLine> graticule;
    std::vector<FigurePanel> panels;
    std::vector<FigurePoint> drawn;  // in the marker pass's order
    std::vector<LeftOutPoint> leftOut;
    FigureLegend legend;
    FigureScaleBar scaleBar;
    double markerOutlineMm = 0.0;
    double rasterDpi = 0.0;  // a map without vector data: its picture's printed resolution
    QStringList warnings;

    // The mapping from the map's pixels to millimetres on the page within a panel's frame.
    QTransform mmFromPixel(const FigurePanel& panel) const;
    // The extent's corners in degrees: top left, top right, bottom right, bottom left.
    std::vector<GeoPoint> corners(const FigureMap& map) const;
};

// Lays out a figure of the table's points on the map. Throws ZelkoraError with the user's
// message when the options are out of range, there are no points to fit, the box misses the
// map, or the figure comes out larger than its preset allows (naming the limit).
FigureLayout layOutFigure(const FigureOptions& options, const FigureMap& map,
                          const PointTable& table);

// The bounds of a box's outline in degrees on the map, in its normal-resolution pixels; empty
// when no point of it has a place on the map.
QRectF boxOutlineBounds(const FigureMap& map, const DegreeBox& box);
// The extent of a box in degrees: the bounds of its outline, cut to the map. Throws ZelkoraError
// when the box misses the map.
QRectF boxExtent(const FigureMap& map, const DegreeBox& box);

// The text a column is called by on the figure: its header cell without surrounding blanks, or
// the marker type's name when the cell is empty.
QString columnTitle(const PointTable& table, int column);

}  // namespace zelkora
