#pragma once

#include <QSize>
#include <QString>

#include "projection/GeoPoint.h"

namespace zelkora {

// A map's picture at normal resolution: which map, and its size in pixels. The high-resolution
// picture shows the same ground at twice the scale, so a point lies on both or on neither.
struct MapPicture {
    int map = 0;
    QSize size;
    QString caption;  // the map's name, for the report
};

// Whether the point falls inside the picture, as the marker pass places it: pixel i covers
// [i, i + 1), so the picture holds 0 <= x < width and 0 <= y < height.
bool isOnPicture(GeoPoint point, const MapPicture& picture);

}  // namespace zelkora
