#pragma once

#include "projection/Tpar.h"
#include "projection/Tpoint.h"

// Lambert conformal conic projection on the unit sphere, then rotation and scaling into pixels
// of a raster rasterHeight pixels high. Returns the point with xImg and yImg set; t, x and y
// pass through. Never fails: a floating-point fault leaves the plane position where it stopped.
Tpoint geo(const Tpoint& t, const Tpar& par, bool hiRes, int rasterHeight);

// The longitude moved by whole turns to within 180 degrees of the central meridian. A longitude
// already within 180 degrees comes back as it stands.
double wrapLongitude(double lonDeg, double centralMeridianDeg);
