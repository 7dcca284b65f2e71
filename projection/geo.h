#pragma once

#include "projection/LambertConic.h"
#include "projection/Tpar.h"
#include "projection/Tpoint.h"

namespace zelkora {

// The point projected with LambertConic(par, hiRes) onto a raster rasterHeight pixels high.
// Returns the point with xImg and yImg set; t, x and y pass through. A point whose projection
// faults (latitude -90, a value too large for the arithmetic) gets NaN for both: it has no place
// on the map and is not drawn.
Tpoint geo(const Tpoint& t, const Tpar& par, bool hiRes, int rasterHeight);

}  // namespace zelkora
