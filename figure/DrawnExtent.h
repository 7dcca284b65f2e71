#pragma once

#include <QRectF>

#include "figure/FigureOptions.h"

namespace zelkora {

class FigureMap;
class FigureProjection;

// The box in degrees that a figure shows as the given rectangle of its projection's plane.
// North up, a box's frame follows its meridians and parallels: the box runs from the latitude at
// the middle of the rectangle's bottom to that at the middle of its top, and from the longitude
// at the middle of its left side to that at the middle of its right side. In the map's own
// projection it is the box whose extent (the bounds of its outline on the map's picture) is that
// rectangle; a box's outline is turned there by the map's rotation and its converging meridians,
// so a rectangle far wider than high, or the other way round, has no such box and gets the
// nearest box that shows all of it. The rectangle must meet the map.
DegreeBox degreeBoxFor(const FigureProjection& projection, const FigureMap& map,
                       const QRectF& extent);

}  // namespace zelkora
