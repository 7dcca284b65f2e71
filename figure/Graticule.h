#pragma once

#include <QPolygonF>
#include <QString>
#include <vector>

#include "figure/FigureOptions.h"
#include "figure/FigureProjection.h"

namespace zelkora {

// Parallels and meridians of a figure and their names, through the figure's projection.

// The degrees as the figure labels them: "45°N", "170°W", "0°"; in Russian "45° с.ш.". With
// minutes, degrees and whole minutes: "43°05′N", "131°30′E".
QString latitudeLabel(double latDeg, FigureLanguage language, bool minutes = false);
QString longitudeLabel(double lonDeg, FigureLanguage language, bool minutes = false);

// The latitudes and the (continuous) longitudes a part of the map shows.
struct GeoRange {
    double south = 0.0;
    double north = 0.0;
    double west = 0.0;
    double east = 0.0;
};

struct GraticuleLine {
    QPolygonF plane;  // on the projection's plane, beyond the range on every side
    bool meridian = false;
    double degrees = 0.0;
};
// The parallels every latitudeMinutes and the meridians every longitudeMinutes across range.
std::vector<GraticuleLine> graticuleLines(const FigureProjection& projection, const GeoRange& range,
                                          int latitudeMinutes, int longitudeMinutes);

}  // namespace zelkora
