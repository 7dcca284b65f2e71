#pragma once

#include <QPointF>
#include <vector>

// A line on the Earth: points hold longitude in x and latitude in y, in degrees. The level is the
// source's own rank (GSHHG shore or river level), 0 where the source has none.
struct GeoPolyline {
    std::vector<QPointF> points;
    int level = 0;
};
