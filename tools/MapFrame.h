#pragma once

#include <QPointF>
#include <QSize>

#include "projection/GeoPoint.h"
#include "projection/LambertConic.h"
#include "projection/Tpar.h"

namespace zelkora {

// Geographic bounds, degrees. Longitudes are continuous across 180 (east may exceed 180).
struct GeoBox {
    double west = 0.0;
    double east = 0.0;
    double south = 0.0;
    double north = 0.0;
};

// One map raster: its projection, resolution and size. Both directions go through the program's
// own LambertConic, so the pictures and the plotted points always agree. Pixel coordinates are
// those of geo and of QPainter alike: pixel i covers [i, i + 1), its centre is i + 0.5.
class MapFrame {
  public:
    // Throws ZelkoraError for constants without a usable cone, which no picture can be drawn for.
    MapFrame(const Tpar& par, bool hiRes, QSize size);

    QSize size() const { return size_; }
    bool hiRes() const { return hiRes_; }
    double scale() const { return hiRes_ ? 2.0 : 1.0; }

    // Pixel position of a point; longitudes are wrapped as geo wraps them.
    QPointF toPixel(GeoPoint point) const;
    // The point shown at a pixel position; the longitude is continuous around the central
    // meridian.
    GeoPoint toGeo(QPointF pixel) const;
    // The longitude as geo sees it: moved to within 180 degrees of the central meridian.
    double wrapped(double lon) const;

    // Bounds of everything the raster shows, with a margin in degrees.
    GeoBox bounds(double marginDeg) const;

  private:
    LambertConic conic_;
    double centralMeridian_;
    bool hiRes_;
    QSize size_;
};

}  // namespace zelkora
