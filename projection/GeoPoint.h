#pragma once

namespace zelkora {

// A position on the Earth in degrees. Latitude comes first, as in the table, and both are named
// so that no call can swap them.
struct GeoPoint {
    double lat = 0.0;
    double lon = 0.0;
};

}  // namespace zelkora
