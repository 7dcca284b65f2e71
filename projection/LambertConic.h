#pragma once

#include <QPointF>
#include <optional>

#include "projection/GeoPoint.h"
#include "projection/Tpar.h"

namespace zelkora {

// The projection of one map: a Lambert conformal conic on the sphere of radius 1 with two
// standard parallels, the map's rotation, then its scale and offset into pixels at normal or high
// resolution. The cone constants are worked out once, when the projection is made. Pixel
// positions grow to the right from the left edge and downward from the top edge of a raster
// rasterHeight pixels high.
class LambertConic {
  public:
    LambertConic(const Tpar& par, bool hiRes);

    // Forward. The longitude is first moved to within 180 degrees of the central meridian.
    // Constants without a cone (equal parallels, n <= 0) put every point on the origin of the
    // plane. A point whose own projection faults (a southern pole, a value too large to turn into
    // radians) has no position: both coordinates come back NaN, never a place on the map.
    QPointF toPixel(GeoPoint point, int rasterHeight) const;

    // Inverse, meaningful only where hasCone(). The longitude comes back continuous around the
    // central meridian.
    GeoPoint toGeo(QPointF pixel, int rasterHeight) const;

    // The scale factor k at a latitude: length on the projected plane per length on the unit
    // sphere, the same along the parallel and the meridian (the projection is conformal), before
    // the rotation and the pixel scales. Meaningful only where hasCone().
    double scaleFactor(double latDeg) const;

    // Whether the constants give a usable cone: n > 0 and every cone constant finite. Without one
    // every point projects onto the origin.
    bool hasCone() const { return hasCone_; }

  private:
    // Projected easting and northing relative to the origin, before rotation.
    struct Plane {
        double x = 0.0;
        double y = 0.0;
    };
    // Empty when a step faults.
    std::optional<Plane> planePosition(double latRad, double lonRad) const;

    Tpar par_;
    bool hiRes_;
    bool hasCone_ = false;
    double n_ = 0.0;
    double ff_ = 0.0;  // the scale constant F
    double p0_ = 0.0;  // radius of the origin's parallel
    double cosAlpha_ = 1.0;
    double sinAlpha_ = 0.0;
};

// The longitude moved by whole turns to within 180 degrees of the central meridian. A longitude
// already within 180 degrees comes back as it stands.
double wrapLongitude(double lonDeg, double centralMeridianDeg);

}  // namespace zelkora
