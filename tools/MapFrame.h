#pragma once

#include <QPointF>
#include <QSize>

#include "projection/Tpar.h"

// Geographic bounds, degrees. Longitudes are continuous across 180 (east may exceed 180).
struct GeoBox {
    double west = 0.0;
    double east = 0.0;
    double south = 0.0;
    double north = 0.0;
};

// One map raster: its projection constants, resolution and size. Forward mapping goes through
// the program's own geo, so the pictures and the plotted points always agree. Pixel coordinates
// are those of geo and of QPainter alike: pixel i covers [i, i + 1), its centre is i + 0.5.
class MapFrame {
  public:
    MapFrame(const Tpar& par, bool hiRes, QSize size);

    QSize size() const { return size_; }
    bool hiRes() const { return hiRes_; }
    double scale() const { return hiRes_ ? 2.0 : 1.0; }

    // Pixel position of a latitude and longitude; longitudes are wrapped by geo.
    QPointF toPixel(double lat, double lon) const;
    // The latitude (y) and longitude (x) shown at a pixel position; the longitude is continuous
    // around the central meridian.
    QPointF toGeo(QPointF pixel) const;
    // The longitude as geo sees it: moved to within 180 degrees of the central meridian.
    double wrapped(double lon) const;

    // Bounds of everything the raster shows, with a margin in degrees.
    GeoBox bounds(double marginDeg) const;

  private:
    Tpar par_;
    bool hiRes_;
    QSize size_;
    // Cone constants of the Lambert conic, worked out as geo does.
    double n_ = 0.0;
    double ff_ = 0.0;
    double p0_ = 0.0;
};
