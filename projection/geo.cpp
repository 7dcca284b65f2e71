#include "projection/geo.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

constexpr double degToRad(double deg) {
    return kPi * deg / 180.0;
}

// The standard parallels are stored in half-turns: multiplied by pi only.
constexpr double halfTurnsToRad(double halfTurns) {
    return kPi * halfTurns;
}

// Planar position of the point before rotation, relative to the origin. The block stops at the
// first intermediate that is not finite (what a floating-point fault would have produced), and
// a value whose computation faulted is never assigned: x and y keep what they had.
struct PlanePosition {
    double x = 0.0;
    double y = 0.0;
};

PlanePosition conicPlane(double f, double L, double f0, double L0, double f1, double f2) {
    PlanePosition pos;
    if (f1 == f2) {
        return pos;
    }
    auto finite = [](double v) { return std::isfinite(v); };

    const double cosRatio = std::cos(f1) / std::cos(f2);
    const double tan1 = std::tan(kPi / 4 + f1 / 2);
    const double tan2 = std::tan(kPi / 4 + f2 / 2);
    if (!finite(cosRatio) || !finite(tan1) || !finite(tan2)) {
        return pos;
    }
    const double tanRatio = tan2 / tan1;
    if (!finite(tanRatio)) {
        return pos;
    }
    const double lnCos = std::log(std::fabs(cosRatio));
    const double lnTan = std::log(std::fabs(tanRatio));
    if (!finite(lnCos) || !finite(lnTan)) {
        return pos;
    }
    const double n = lnCos / lnTan;
    if (!finite(n) || n <= 0) {
        return pos;
    }
    const double FF = std::cos(f1) * std::pow(std::fabs(tan1), n) / n;
    if (!finite(FF)) {
        return pos;
    }
    const double invTanPoint = 1.0 / std::tan(kPi / 4 + f / 2);
    if (!finite(invTanPoint)) {
        return pos;
    }
    const double p = FF * std::pow(std::fabs(invTanPoint), n);
    if (!finite(p)) {
        return pos;
    }
    const double invTanOrigin = 1.0 / std::tan(kPi / 4 + f0 / 2);
    if (!finite(invTanOrigin)) {
        return pos;
    }
    const double p0 = FF * std::pow(std::fabs(invTanOrigin), n);
    if (!finite(p0)) {
        return pos;
    }
    const double theta = n * (L - L0);
    const double x = p * std::sin(theta);
    if (!finite(x)) {
        return pos;
    }
    pos.x = x;
    const double y = p0 - p * std::cos(theta);
    if (!finite(y)) {
        return pos;
    }
    pos.y = y;
    return pos;
}

}  // namespace

double wrapLongitude(double lonDeg, double centralMeridianDeg) {
    const double d = lonDeg - centralMeridianDeg;
    if (!std::isfinite(d) || std::fabs(d) <= 180.0) {
        return lonDeg;
    }
    return lonDeg - 360.0 * std::floor((d + 180.0) / 360.0);
}

Tpoint geo(const Tpoint& t, const Tpar& par, bool hiRes, int rasterHeight) {
    const double f0 = degToRad(par.left_Bottom_x);
    const double L0 = degToRad(par.left_Bottom_y);
    const double f = degToRad(t.x);
    // The Far East map crosses 180 degrees: -169.65 must land where 190.35 lands.
    const double L = degToRad(wrapLongitude(t.y, par.left_Bottom_y));
    const double f1 = halfTurnsToRad(par.x);
    const double f2 = halfTurnsToRad(par.y);

    const PlanePosition plane = conicPlane(f, L, f0, L0, f1, f2);

    const double alpha = degToRad(par.alpha);
    const double xn = std::cos(alpha) * plane.x - std::sin(alpha) * plane.y;
    const double yn = std::sin(alpha) * plane.x + std::cos(alpha) * plane.y;

    const double h = rasterHeight;
    Tpoint out = t;
    if (hiRes) {
        out.xImg = (xn * par.tx + par.ttx) * 2;
        out.yImg = h - (yn * par.ty + par.tty) * 2;
    } else {
        out.xImg = xn * par.tx + par.ttx;
        out.yImg = h - yn * par.ty - par.tty;
    }
    return out;
}
