#include "figure/FigureReport.h"

#include <QJsonArray>
#include <cmath>

#include "figure/FigureLayout.h"
#include "figure/FigureMap.h"

namespace zelkora {

namespace {

double rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

QJsonObject degrees(GeoPoint p) {
    return {{QStringLiteral("lat"), rounded(p.lat, 6)}, {QStringLiteral("lon"), rounded(p.lon, 6)}};
}

QJsonObject pointObject(const FigurePoint& p) {
    return {{QStringLiteral("column"), p.column},
            {QStringLiteral("row"), p.row},
            {QStringLiteral("lat"), p.geo.lat},
            {QStringLiteral("lon"), p.geo.lon}};
}

QString cornerName(FigureCorner corner) {
    switch (corner) {
        case FigureCorner::TopLeft:
            return QStringLiteral("top-left");
        case FigureCorner::TopRight:
            return QStringLiteral("top-right");
        case FigureCorner::BottomLeft:
            return QStringLiteral("bottom-left");
        case FigureCorner::BottomRight:
            return QStringLiteral("bottom-right");
        default:
            return QStringLiteral("none");
    }
}

QString kindName(PlaceKind kind) {
    return kind == PlaceKind::Country ? QStringLiteral("country") : QStringLiteral("division");
}

// The names written and those left out, with the reason.
QJsonObject namesObject(const FigureLayout& layout) {
    const FigureOptions& o = layout.options;
    QJsonArray kinds;
    if (o.nameCountries) {
        kinds.append(QStringLiteral("countries"));
    }
    if (o.nameDivisions) {
        kinds.append(QStringLiteral("divisions"));
    }
    QJsonArray drawn;
    for (const PlaceName& n : layout.names) {
        QJsonObject name{{QStringLiteral("text"), n.text},
                         {QStringLiteral("kind"), kindName(n.kind)},
                         {QStringLiteral("lat"), rounded(n.at.lat, 6)},
                         {QStringLiteral("lon"), rounded(n.at.lon, 6)}};
        if (o.panels) {
            name.insert(QStringLiteral("panel"), n.panel);
        }
        drawn.append(name);
    }
    QJsonArray leftOut;
    for (const LeftOutName& n : layout.namesLeftOut) {
        QJsonObject name{{QStringLiteral("text"), n.text},
                         {QStringLiteral("kind"), kindName(n.kind)},
                         {QStringLiteral("reason"), n.reason}};
        if (o.panels) {
            name.insert(QStringLiteral("panel"), n.panel);
        }
        leftOut.append(name);
    }
    return {
        {QStringLiteral("of"), kinds},
        {QStringLiteral("divisions"),
         o.divisions == FigureDivisions::Of2008 ? QStringLiteral("2008") : QStringLiteral("2025")},
        {QStringLiteral("drawn"), drawn},
        {QStringLiteral("left_out"), leftOut}};
}

// The numbers with the key of each: its column and row, the column's name and the point.
QJsonObject numbersObject(const FigureLayout& layout) {
    QJsonArray key;
    for (const PointNumber& n : layout.numbers) {
        QJsonObject entry = pointObject(n.point);
        entry.insert(QStringLiteral("number"), n.number);
        entry.insert(QStringLiteral("name"), n.columnName);
        entry.insert(QStringLiteral("drawn"), n.drawn);
        key.append(entry);
    }
    return {{QStringLiteral("restart"), layout.options.numbering == PointNumbering::PerColumn
                                            ? QStringLiteral("column")
                                            : QStringLiteral("all")},
            {QStringLiteral("key"), key}};
}

}  // namespace

QJsonObject figureReport(const FigureLayout& layout, const FigureMap& map) {
    const FigureOptions& o = layout.options;
    const QJsonObject size{{QStringLiteral("width_px"), layout.pixels.width()},
                           {QStringLiteral("height_px"), layout.pixels.height()},
                           {QStringLiteral("width_mm"), rounded(layout.pageMm.width(), 3)},
                           {QStringLiteral("height_mm"), rounded(layout.pageMm.height(), 3)},
                           {QStringLiteral("dpi"), o.dpi}};

    const std::vector<GeoPoint> corners = layout.corners();
    const QJsonObject extent{{QStringLiteral("top_left"), degrees(corners[0])},
                             {QStringLiteral("top_right"), degrees(corners[1])},
                             {QStringLiteral("bottom_right"), degrees(corners[2])},
                             {QStringLiteral("bottom_left"), degrees(corners[3])},
                             {QStringLiteral("south"), rounded(layout.range.south, 6)},
                             {QStringLiteral("west"), rounded(layout.range.west, 6)},
                             {QStringLiteral("north"), rounded(layout.range.north, 6)},
                             {QStringLiteral("east"), rounded(layout.range.east, 6)}};
    const Tpar& par = layout.projection.par();
    constexpr double kDegreesPerHalfTurn = 180.0;
    const QJsonObject projection{
        {QStringLiteral("kind"),
         layout.projection.isNorthUp() ? QStringLiteral("north-up") : QStringLiteral("map")},
        {QStringLiteral("central_meridian"), rounded(par.left_Bottom_y, 6)},
        {QStringLiteral("origin_latitude"), rounded(par.left_Bottom_x, 6)},
        {QStringLiteral("standard_parallels"), QJsonArray{rounded(par.x * kDegreesPerHalfTurn, 6),
                                                          rounded(par.y * kDegreesPerHalfTurn, 6)}},
        {QStringLiteral("rotation_deg"), par.alpha}};
    int latitudeLabels = 0;
    int longitudeLabels = 0;
    const FigurePanel& first = layout.panels.front();
    for (const FrameLabel& l : first.labels) {
        (l.latitude ? latitudeLabels : longitudeLabels)++;
    }
    const QJsonObject graticule{
        {QStringLiteral("latitude_minutes"), layout.latitudeMinutes},
        {QStringLiteral("longitude_minutes"), layout.longitudeMinutes},
        {QStringLiteral("latitude_labels"), latitudeLabels},
        {QStringLiteral("longitude_labels"), longitudeLabels},
        {QStringLiteral("lines"), layout.options.layers[0] && layout.options.graticuleLines}};
    QJsonObject scaleBar{{QStringLiteral("shown"), layout.scaleBar.corner != FigureCorner::None}};
    if (layout.scaleBar.corner != FigureCorner::None) {
        const FigureScaleBar& bar = layout.scaleBar;
        scaleBar.insert(QStringLiteral("km"), bar.km);
        scaleBar.insert(QStringLiteral("label"), bar.label);
        scaleBar.insert(QStringLiteral("length_mm"), rounded(bar.bar.length(), 4));
        scaleBar.insert(QStringLiteral("length_px"), rounded(bar.bar.length() / 25.4 * o.dpi, 2));
        scaleBar.insert(QStringLiteral("true_at_lat"), rounded(bar.latitude, 4));
        scaleBar.insert(QStringLiteral("scale_variation_percent"),
                        rounded(bar.variationPercent, 2));
        scaleBar.insert(QStringLiteral("corner"), cornerName(bar.corner));
        scaleBar.insert(QStringLiteral("style"), o.scaleBarStyle == ScaleBarStyle::Ticked
                                                     ? QStringLiteral("ticked")
                                                     : QStringLiteral("plain"));
    }

    QJsonArray entries;
    for (const LegendEntry& e : layout.legend.entries) {
        entries.append(QJsonObject{{QStringLiteral("column"), e.column},
                                   {QStringLiteral("text"), e.text},
                                   {QStringLiteral("italic"), e.italic},
                                   {QStringLiteral("points"), e.points}});
    }
    QJsonArray panels;
    if (o.panels) {
        for (const FigurePanel& p : layout.panels) {
            panels.append(QJsonObject{{QStringLiteral("letter"), p.letter},
                                      {QStringLiteral("column"), p.column},
                                      {QStringLiteral("title"), p.title}});
        }
    }
    QJsonArray leftOut;
    for (const LeftOutPoint& l : layout.leftOut) {
        QJsonObject p = pointObject(l.point);
        p.insert(QStringLiteral("reason"), l.reason);
        leftOut.append(p);
    }
    QJsonArray warnings;
    for (const QString& w : layout.warnings) {
        warnings.append(w);
    }
    QJsonObject report{
        {QStringLiteral("size"), size},
        {QStringLiteral("extent"), extent},
        {QStringLiteral("projection"), projection},
        {QStringLiteral("graticule"), graticule},
        {QStringLiteral("north_arrow"),
         QJsonObject{{QStringLiteral("corner"), cornerName(layout.northArrow.corner)},
                     {QStringLiteral("bearing_deg"), rounded(layout.northArrow.bearingDeg, 3)}}},
        {QStringLiteral("inset"), cornerName(layout.inset.corner)},
        {QStringLiteral("scale_bar"), scaleBar},
        {QStringLiteral("legend"),
         QJsonObject{{QStringLiteral("corner"), cornerName(layout.legend.corner)},
                     {QStringLiteral("entries"), entries}}},
        {QStringLiteral("points"),
         QJsonObject{{QStringLiteral("drawn"), static_cast<int>(layout.drawn.size())},
                     {QStringLiteral("outside"), static_cast<int>(layout.leftOut.size())},
                     {QStringLiteral("left_out"), leftOut}}},
        {QStringLiteral("warnings"), warnings},
    };
    if (o.panels) {
        report.insert(QStringLiteral("panels"), panels);
    }
    if (o.nameCountries || o.nameDivisions) {
        report.insert(QStringLiteral("names"), namesObject(layout));
    }
    if (o.numbering != PointNumbering::None) {
        report.insert(QStringLiteral("numbers"), numbersObject(layout));
    }
    if (!map.hasVector()) {
        report.insert(QStringLiteral("raster_dpi"), rounded(layout.rasterDpi, 1));
    }
    return report;
}

}  // namespace zelkora
