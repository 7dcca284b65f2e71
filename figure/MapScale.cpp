#include "figure/MapScale.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelkora {

double groundDistanceKm(GeoPoint a, GeoPoint b) {
    constexpr double kRad = std::numbers::pi / 180.0;
    const double dLat = (b.lat - a.lat) * kRad;
    const double dLon = (b.lon - a.lon) * kRad;
    const double h = std::pow(std::sin(dLat / 2), 2) + std::cos(a.lat * kRad) *
                                                           std::cos(b.lat * kRad) *
                                                           std::pow(std::sin(dLon / 2), 2);
    return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

double roundScaleKm(double targetKm) {
    double best = 1.0;
    double bestRatio = INFINITY;
    const int top = static_cast<int>(std::floor(std::log10(std::max(targetKm, 1e-3))));
    for (int power = top - 1; power <= top + 1; ++power) {
        for (const double step : {1.0, 2.0, 5.0}) {
            const double km = step * std::pow(10.0, power);
            const double ratio = std::fabs(std::log(km / targetKm));
            if (km >= 1.0 && ratio < bestRatio) {
                best = km;
                bestRatio = ratio;
            }
        }
    }
    return best;
}

}  // namespace zelkora
