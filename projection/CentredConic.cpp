#include "projection/CentredConic.h"

namespace zelkora {

Tpar centredConicPar(double south, double west, double north, double east) {
    const double span = north - south;
    // Tpar keeps the standard parallels in half-turns: degrees / 180.
    constexpr double kDegreesPerHalfTurn = 180.0;
    return {.x = (south + span / 6) / kDegreesPerHalfTurn,
            .y = (south + span * 5 / 6) / kDegreesPerHalfTurn,
            .tx = kEarthRadiusKm,
            .ty = kEarthRadiusKm,
            .ttx = 0,
            .tty = 0,
            .alpha = 0,
            .left_Bottom_x = (south + north) / 2,
            .left_Bottom_y = (west + east) / 2};
}

}  // namespace zelkora
