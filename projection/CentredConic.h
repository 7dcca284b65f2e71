#pragma once

#include "projection/Tpar.h"

namespace zelkora {

// The sphere every projection of the program works on, in kilometres.
inline constexpr double kEarthRadiusKm = 6371.0;

// The constants of a Lambert conformal conic centred on a box in degrees, for LambertConic: the
// central meridian at the box's middle longitude, the standard parallels at 1/6 and 5/6 of its
// latitude span, the origin at its middle latitude and no rotation, so that north is up along
// the central meridian and the meridians converge evenly on both sides. A unit of the plane is a
// kilometre where the scale is true (tx = ty = kEarthRadiusKm). Projected onto a raster of height
// 0, positions grow to the right and downward from the origin. Longitudes run on past 180° as
// the box gives them. The box's south must lie north of the equator: the cone opens northward.
Tpar centredConicPar(double south, double west, double north, double east);

}  // namespace zelkora
