#pragma once

#include <vector>

#include "projection/GeoPoint.h"

namespace zelkora {

// A line on the Earth. The level is the source's own rank (GSHHG shore or river level), 0 where
// the source has none.
struct GeoPolyline {
    std::vector<GeoPoint> points;
    int level = 0;
};

}  // namespace zelkora
