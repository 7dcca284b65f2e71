#pragma once

#include <QRectF>

#include "figure/FigureOptions.h"

namespace zelkora {

class FigureMap;

// The box in degrees that a figure shows as the given rectangle of the map's normal-resolution
// pixels: the box whose extent (boxExtent, the bounds of its outline) is that rectangle. A box's
// outline is turned on the map by the projection's rotation and its converging meridians, so a
// rectangle far wider than high, or the other way round, has no such box; it gets the nearest
// box that shows all of it. The rectangle must meet the map.
DegreeBox degreeBoxFor(const FigureMap& map, const QRectF& extent);

}  // namespace zelkora
