#pragma once

#include <QPointF>

#include "figure/FigureOptions.h"
#include "projection/GeoPoint.h"
#include "projection/LambertConic.h"
#include "projection/Tpar.h"

namespace zelkora {

// The projection a figure is drawn in, onto a plane whose x grows to the right and y downward:
// either the map's own (its normal-resolution picture's pixels, the window's turn kept) or a
// Lambert conformal conic centred on the figure's box (projection/CentredConic), north up, in
// kilometres where the scale is true. Markers, lines, the graticule and the scale bar all go
// through one of these, so they agree to the last digit.
class FigureProjection {
  public:
    // A placeholder until a figure's projection is set: the first map's own.
    FigureProjection();
    // The map's own projection: the plane is the map's normal-resolution picture, pictureHeight
    // pixels high.
    static FigureProjection ofMap(int map, int pictureHeight);
    // The conic centred on box. Throws ZelkoraError when the box gives no cone (its middle
    // latitude at or south of the equator).
    static FigureProjection northUp(const DegreeBox& box);

    bool isNorthUp() const { return northUp_; }
    const Tpar& par() const { return par_; }

    QPointF toPlane(GeoPoint point) const { return conic_.toPixel(point, height_); }
    GeoPoint toGeo(QPointF plane) const { return conic_.toGeo(plane, height_); }
    // Kilometres on the ground per unit of the plane at a latitude, the same in every direction
    // (the projection is conformal).
    double kmPerUnit(double latDeg) const;
    // The scale factor at a latitude, relative to the sphere (1 on the standard parallels).
    double scaleFactor(double latDeg) const { return conic_.scaleFactor(latDeg); }
    // The direction of north at a point, as a unit vector on the plane (y grows downward).
    QPointF northAt(GeoPoint point) const;

  private:
    FigureProjection(const Tpar& par, int height, bool northUp);

    Tpar par_;
    LambertConic conic_;
    int height_;
    bool northUp_;
};

}  // namespace zelkora
