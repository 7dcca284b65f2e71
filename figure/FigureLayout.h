#pragma once

#include <QLineF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <vector>

#include "figure/FigureMap.h"
#include "figure/FigureOptions.h"
#include "figure/FigureProjection.h"
#include "figure/Graticule.h"
#include "projection/GeoPoint.h"

namespace zelkora {

class PointTable;

// A point of the table on the figure: its cell, its degrees and its place on the figure's plane.
struct FigurePoint {
    int column = 0;
    int row = 0;
    GeoPoint geo;
    QPointF plane;
};

struct LeftOutPoint {
    FigurePoint point;
    QString reason;
};

// A graticule label on the frame: its text, its baseline and the box it covers, in millimetres.
struct FrameLabel {
    QPointF baseline;
    QString text;
    QRectF box;
    bool latitude = false;  // beside the frame; a longitude stands under or over it
};

// One map frame of the figure, with what is drawn around it. Every panel shows the same extent.
struct FigurePanel {
    QRectF frame;       // the bounds of the frame, millimetres on the page
    QPolygonF outline;  // the frame itself, closed: a rectangle, or the meridians and parallels
                        // of a box north up
    int column = -1;    // the column whose points it shows; -1 for all
    QString letter;     // "a", "b", ... when the figure has panels
    QString title;      // the column's name
    bool titleItalic = false;
    QPointF letterBaseline;
    QPointF titleMarker;  // centre of the marker before the title
    QPointF titleBaseline;
    std::vector<QLineF> ticks;
    std::vector<FrameLabel> labels;
};

struct LegendEntry {
    int column = 0;
    QString text;
    bool italic = false;  // a species' name; a marker type's name stays upright
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

struct ScaleBarLabel {
    QPointF baseline;
    QString text;
};

struct FigureScaleBar {
    FigureCorner corner = FigureCorner::None;  // where it went; None when not drawn
    int panel = 0;
    QRectF box;
    QLineF bar;  // along the x axis, at the middle of the bar's thickness
    double thicknessMm = 0.0;
    double km = 0.0;
    QString label;                      // the whole length with its unit
    std::vector<QRectF> blackSegments;  // plain: the whole bar; ticked: every other segment
    std::vector<QRectF> whiteSegments;
    std::vector<ScaleBarLabel> labels;
    double latitude = 0.0;          // where the bar is true
    double variationPercent = 0.0;  // of the scale across the frame, relative to the bar's
    int coveredPoints = 0;          // markers its box covers in its panel
};

struct FigureNorthArrow {
    FigureCorner corner = FigureCorner::None;  // None when not drawn
    int panel = 0;
    QRectF box;
    QPolygonF blackHalf;  // the arrow's head split along its axis
    QPolygonF whiteHalf;
    QString letter;
    QPointF letterBaseline;
    double bearingDeg = 0.0;  // of north from the page's up, clockwise
};

// The locator map: the whole region in a small frame, the figure's frame drawn on it.
struct FigureInset {
    FigureCorner corner = FigureCorner::None;  // None when not drawn
    int panel = 0;
    QRectF box;  // millimetres on the page
    FigureProjection projection;
    DegreeBox region;   // the region shown
    QRectF extent;      // on its plane
    QPolygonF outline;  // its frame on its plane
    QPolygonF figure;   // the figure's frame on its plane
    double mmPerUnit = 0.0;
    QTransform mmFromPlane() const;
};

// A name written on the map: a country's or a division's.
enum class PlaceKind { Country, Division };

struct PlaceName {
    PlaceKind kind = PlaceKind::Division;
    QString text;  // as drawn (a country's in capitals)
    int panel = 0;
    QPointF baseline;  // millimetres on the page
    QRectF box;        // what it covers, its halo included
    GeoPoint at;       // the ground under its middle
};

// A name not written, and why: its area lies outside the frame, or has no room for it.
struct LeftOutName {
    PlaceKind kind = PlaceKind::Division;
    QString text;
    int panel = 0;         // where it found no room; outside the frame: every panel, given as 0
    bool outside = false;  // its area is outside the frame; otherwise it found no room
    QString reason;
};

// A marker's number, and the line of the key it stands for. A number that finds no room beside
// its marker stands off it with a leader line, or is not drawn at all.
struct PointNumber {
    int number = 0;
    FigurePoint point;
    QString columnName;  // the column's name, as the legend names it
    bool drawn = false;
    int panel = 0;
    QPointF baseline;
    QRectF box;
    QLineF leader;  // from the marker's edge to the number's box; null when it stands beside
};

// Everything about a figure but the drawing itself: the page, the projection, the extent, the
// panels and where every marker, label, legend entry, the scale bar, the north arrow and the
// inset go, all in millimetres. The renderer draws it as it stands, and the report is read from
// it.
struct FigureLayout {
    FigureOptions options;
    QSizeF pageMm;
    QSize pixels;  // the page at the options' dpi
    FigureProjection projection;
    QRectF extent;            // the bounds of the frame on the projection's plane
    QPolygonF outline;        // the frame on the plane, closed
    DegreeBox box;            // north up: the box the frame follows; the map's own: its range
    double mmPerUnit = 0.0;   // one uniform scale, so the map keeps its shape
    GeoRange range;           // the latitudes and longitudes the frame holds
    int latitudeMinutes = 0;  // the graticule's intervals
    int longitudeMinutes = 0;
    std::vector<GraticuleLine> graticule;
    std::vector<FigurePanel> panels;
    std::vector<FigurePoint> drawn;  // in the marker pass's order
    std::vector<LeftOutPoint> leftOut;
    FigureLegend legend;
    FigureScaleBar scaleBar;
    FigureNorthArrow northArrow;
    FigureInset inset;
    std::vector<PointNumber> numbers;  // in the order of their numbers
    std::vector<PlaceName> names;
    std::vector<LeftOutName> namesLeftOut;
    double markerOutlineMm = 0.0;
    double rasterDpi = 0.0;  // a map without vector data: its picture's printed resolution
    QStringList warnings;

    // The mapping from the projection's plane to millimetres on the page within a panel's frame.
    QTransform mmFromPlane(const FigurePanel& panel) const;
    // The panel a point is drawn in.
    int panelOf(const FigurePoint& point) const;
    // The boxes of the markers drawn in a panel, their outline included, millimetres on the page.
    std::vector<QRectF> markerBoxes(int panel) const;
    // The frame's corners in degrees: top left, top right, bottom right, bottom left.
    std::vector<GeoPoint> corners() const;
};

// Lays out a figure of the table's points on the map. Throws ZelkoraError with the user's
// message when the options are out of range, there are no points to fit, the box misses the
// map, or the figure comes out larger than its preset allows (naming the limit, and the width at
// which it would fit).
FigureLayout layOutFigure(const FigureOptions& options, const FigureMap& map,
                          const PointTable& table);

}  // namespace zelkora
