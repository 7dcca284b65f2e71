#pragma once

#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

#include "figure/FigureMap.h"
#include "figure/FigureOptions.h"

namespace zelkora {

// Parallels and meridians of a figure, computed for its extent through the map's projection.

// The degrees as the figure labels them: "45°N", "170°W", "0°"; in Russian "45° с.ш.".
QString latitudeLabel(double latDeg, FigureLanguage language);
QString longitudeLabel(double lonDeg, FigureLanguage language);

// The latitudes and the (continuous) longitudes a part of the map shows.
struct GeoRange {
    double south = 0.0;
    double north = 0.0;
    double west = 0.0;
    double east = 0.0;
};
GeoRange geoRangeOf(const FigureMap& map, const QRectF& extent);

// 1, 2, 5 or 10 degrees: the finest at which neither the parallels nor the meridians crossing
// the range number more than eight.
int graticuleInterval(const GeoRange& range);

struct GraticuleLine {
    QPolygonF pixels;  // in the map's pixels, beyond the extent on every side
    bool meridian = false;
    double degrees = 0.0;
};
std::vector<GraticuleLine> graticuleLines(const FigureMap& map, const GeoRange& range,
                                          int interval);

// Where a line meets the left or the bottom side of the extent, steeply enough (at 40° or more
// to the side) to be labelled there.
struct FrameCrossing {
    QPointF pixel;
    bool leftSide = false;
    QString text;
};
std::vector<FrameCrossing> frameCrossings(const std::vector<GraticuleLine>& lines,
                                          const QRectF& extent, FigureLanguage language);

}  // namespace zelkora
