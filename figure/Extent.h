#pragma once

#include <QPolygonF>
#include <QRectF>
#include <vector>

#include "figure/FigureMap.h"
#include "figure/FigureOptions.h"
#include "figure/FigureProjection.h"
#include "figure/Graticule.h"
#include "projection/GeoPoint.h"

namespace zelkora {

// What a figure's frame shows, on the plane of its projection. North up, the frame follows the
// box's two meridians and two parallels, as a conic map's frame does for a box in degrees; in
// the map's own projection it is a rectangle of the map's picture.
struct FrameExtent {
    FigureProjection projection;
    DegreeBox box;      // north up: the box; the map's own: the latitudes and longitudes shown
    QRectF extent;      // the frame's bounds on the plane
    QPolygonF outline;  // the frame on the plane, closed
};

// The frame of a box north up, through the conic centred on it.
FrameExtent northUpFrame(const DegreeBox& box);
// The frame of a rectangle of the map's picture, in the map's own projection.
FrameExtent mapFrame(const FigureMap& map, const QRectF& pixels);

// The frame the options ask for when it does not follow the points: the whole map, or a box
// (its longitudes as the map runs them, cut to what the map shows). Throws ZelkoraError when the
// box misses the map.
FrameExtent fixedExtent(const FigureOptions& options, const FigureMap& map);

// The frame fitted to points, frameWidthMm wide: their bounds with the options' margin on each
// side, within the map, widened or heightened to at most maxAspect (height over width) and at
// least half, and grown until every marker of markerHalfMm lies wholly inside.
FrameExtent fittedExtent(const FigureOptions& options, const FigureMap& map,
                         const std::vector<GeoPoint>& points, double frameWidthMm, double maxAspect,
                         double markerHalfMm);

// The bounds of a box's outline on the map's picture, in its normal-resolution pixels; empty
// when no point of it has a place on the map.
QRectF boxOutlineBounds(const FigureMap& map, const DegreeBox& box);

// The latitudes and longitudes along the sides of a rectangle of a projection's plane.
GeoRange rangeOfRectangle(const FigureProjection& projection, const QRectF& rect);

}  // namespace zelkora
