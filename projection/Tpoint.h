#pragma once

#include <cstdint>

namespace zelkora {

// One plotted point. Latitude comes first everywhere: x is the latitude, y the longitude.
struct Tpoint {
    std::int32_t t = 0;  // marker type, the table column it came from
    double x = 0.0;      // latitude, degrees
    double y = 0.0;      // longitude, degrees
    double xImg = 0.0;   // pixel column on the map raster, growing to the right
    double yImg = 0.0;   // pixel row on the map raster, growing downward
};

}  // namespace zelkora
