#include "projection/LambertConic.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace zelkora {

namespace {

constexpr double kPi = std::numbers::pi;

constexpr double degToRad(double deg) {
    return kPi * deg / 180.0;
}

constexpr double radToDeg(double rad) {
    return rad * 180.0 / kPi;
}

// The standard parallels are stored in half-turns: multiplied by pi only.
constexpr double halfTurnsToRad(double halfTurns) {
    return kPi * halfTurns;
}

}  // namespace

// Every step stops at the first intermediate that is not finite: what a floating-point fault would
// have produced. Constants that fault leave the projection without a cone.
LambertConic::LambertConic(const Tpar& par, bool hiRes) : par_(par), hiRes_(hiRes) {
    const double alpha = degToRad(par.alpha);
    cosAlpha_ = std::cos(alpha);
    sinAlpha_ = std::sin(alpha);

    const double f1 = halfTurnsToRad(par.x);
    const double f2 = halfTurnsToRad(par.y);
    if (f1 == f2) {
        return;
    }
    const double cosRatio = std::cos(f1) / std::cos(f2);
    const double tan1 = std::tan(kPi / 4 + f1 / 2);
    const double tan2 = std::tan(kPi / 4 + f2 / 2);
    if (!std::isfinite(cosRatio) || !std::isfinite(tan1) || !std::isfinite(tan2)) {
        return;
    }
    const double tanRatio = tan2 / tan1;
    if (!std::isfinite(tanRatio)) {
        return;
    }
    const double lnCos = std::log(std::fabs(cosRatio));
    const double lnTan = std::log(std::fabs(tanRatio));
    if (!std::isfinite(lnCos) || !std::isfinite(lnTan)) {
        return;
    }
    const double n = lnCos / lnTan;
    if (!std::isfinite(n) || n <= 0) {
        return;
    }
    const double FF = std::cos(f1) * std::pow(std::fabs(tan1), n) / n;
    if (!std::isfinite(FF)) {
        return;
    }
    const double invTanOrigin = 1.0 / std::tan(kPi / 4 + degToRad(par.left_Bottom_x) / 2);
    if (!std::isfinite(invTanOrigin)) {
        return;
    }
    const double p0 = FF * std::pow(std::fabs(invTanOrigin), n);
    if (!std::isfinite(p0)) {
        return;
    }
    n_ = n;
    ff_ = FF;
    p0_ = p0;
    hasCone_ = true;
}

QPointF LambertConic::toPixel(GeoPoint point, int rasterHeight) const {
    const double f = degToRad(point.lat);
    // The Far East map crosses 180 degrees: -169.65 must land where 190.35 lands.
    const double L = degToRad(wrapLongitude(point.lon, par_.left_Bottom_y));
    const std::optional<Plane> position = planePosition(f, L);
    if (!position) {
        const double none = std::numeric_limits<double>::quiet_NaN();
        return {none, none};
    }
    const Plane plane = *position;

    const double xn = cosAlpha_ * plane.x - sinAlpha_ * plane.y;
    const double yn = sinAlpha_ * plane.x + cosAlpha_ * plane.y;

    const double h = rasterHeight;
    if (hiRes_) {
        return {(xn * par_.tx + par_.ttx) * 2, h - (yn * par_.ty + par_.tty) * 2};
    }
    return {xn * par_.tx + par_.ttx, h - yn * par_.ty - par_.tty};
}

std::optional<LambertConic::Plane> LambertConic::planePosition(double f, double L) const {
    if (!hasCone_) {
        return Plane{};
    }
    const double invTanPoint = 1.0 / std::tan(kPi / 4 + f / 2);
    if (!std::isfinite(invTanPoint)) {
        return std::nullopt;
    }
    const double p = ff_ * std::pow(std::fabs(invTanPoint), n_);
    if (!std::isfinite(p)) {
        return std::nullopt;
    }
    const double theta = n_ * (L - degToRad(par_.left_Bottom_y));
    const double x = p * std::sin(theta);
    const double y = p0_ - p * std::cos(theta);
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return std::nullopt;
    }
    return Plane{x, y};
}

GeoPoint LambertConic::toGeo(QPointF pixel, int rasterHeight) const {
    const double h = rasterHeight;
    double xn;
    double yn;
    if (hiRes_) {
        xn = (pixel.x() / 2 - par_.ttx) / par_.tx;
        yn = ((h - pixel.y()) / 2 - par_.tty) / par_.ty;
    } else {
        xn = (pixel.x() - par_.ttx) / par_.tx;
        yn = (h - pixel.y() - par_.tty) / par_.ty;
    }
    const double x = cosAlpha_ * xn + sinAlpha_ * yn;
    const double y = -sinAlpha_ * xn + cosAlpha_ * yn;
    // rho * sin(theta) = x, rho * cos(theta) = p0 - y, with n > 0 so rho > 0.
    const double rho = std::hypot(x, p0_ - y);
    const double theta = std::atan2(x, p0_ - y);
    return {.lat = radToDeg(2 * std::atan(std::pow(ff_ / rho, 1 / n_)) - kPi / 2),
            .lon = par_.left_Bottom_y + radToDeg(theta / n_)};
}

double LambertConic::scaleFactor(double latDeg) const {
    const double f = degToRad(latDeg);
    const double p = ff_ * std::pow(std::fabs(1.0 / std::tan(kPi / 4 + f / 2)), n_);
    return n_ * p / std::cos(f);
}

double wrapLongitude(double lonDeg, double centralMeridianDeg) {
    const double d = lonDeg - centralMeridianDeg;
    if (!std::isfinite(d) || std::fabs(d) <= 180.0) {
        return lonDeg;
    }
    return lonDeg - 360.0 * std::floor((d + 180.0) / 360.0);
}

}  // namespace zelkora
