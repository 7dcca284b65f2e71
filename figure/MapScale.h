#pragma once

#include "projection/CentredConic.h"
#include "projection/GeoPoint.h"

namespace zelkora {

// The great-circle distance between two points on the projections' sphere, in kilometres.
double groundDistanceKm(GeoPoint a, GeoPoint b);

// The round length (1, 2 or 5 times a power of ten kilometres) nearest to targetKm by ratio.
double roundScaleKm(double targetKm);

}  // namespace zelkora
