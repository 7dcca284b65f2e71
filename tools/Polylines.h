#pragma once

#include <vector>

#include "tools/GeoPolyline.h"
#include "tools/MapFrame.h"

namespace zelkora {

// Line work for the maps' vector data.

// Longitudes moved to within 180° of the map's central meridian, as geo moves them, so that
// lines run on across 180°; a line is cut where it would jump by more than half a turn.
std::vector<GeoPolyline> wrappedForMap(const std::vector<GeoPolyline>& lines,
                                       const MapFrame& frame);

// The parts of lines inside a box, cut at its edges.
std::vector<GeoPolyline> clippedToBox(const std::vector<GeoPolyline>& lines, const GeoBox& box);

// Lines joined end to end where exactly two lines of one level meet: GSHHG's pieces, cut at the
// edges of its bins, become whole rivers and borders again, so a wide or dashed line has no
// seams. A line keeps the direction of the piece it starts with; a closed loop stays closed.
std::vector<GeoPolyline> joinedEndToEnd(const std::vector<GeoPolyline>& lines);

}  // namespace zelkora
