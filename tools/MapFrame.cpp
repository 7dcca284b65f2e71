#include "tools/MapFrame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/ZelkoraError.h"
#include "projection/geo.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double degToRad(double deg) {
    return kPi * deg / 180.0;
}
constexpr double radToDeg(double rad) {
    return rad * 180.0 / kPi;
}

}  // namespace

MapFrame::MapFrame(const Tpar& par, bool hiRes, QSize size)
    : par_(par), hiRes_(hiRes), size_(size) {
    const double f1 = kPi * par.x;
    const double f2 = kPi * par.y;
    const double t1 = std::tan(kPi / 4 + f1 / 2);
    const double t2 = std::tan(kPi / 4 + f2 / 2);
    n_ = std::log(std::fabs(std::cos(f1) / std::cos(f2))) / std::log(std::fabs(t2 / t1));
    if (!std::isfinite(n_) || n_ <= 0) {
        throw ZelkoraError("map constants give no usable cone: the generator needs n > 0");
    }
    ff_ = std::cos(f1) * std::pow(std::fabs(t1), n_) / n_;
    p0_ = ff_ * std::pow(std::fabs(1.0 / std::tan(kPi / 4 + degToRad(par.left_Bottom_x) / 2)), n_);

    // The inverse below is written by hand; it must undo geo to far below a pixel everywhere.
    for (double fx : {0.0, 0.5, 1.0}) {
        for (double fy : {0.0, 0.5, 1.0}) {
            const QPointF pixel(fx * size.width(), fy * size.height());
            const QPointF ll = toGeo(pixel);
            const QPointF back = toPixel(ll.y(), ll.x());
            if (std::hypot(back.x() - pixel.x(), back.y() - pixel.y()) > 1e-6) {
                throw ZelkoraError("inverse projection does not undo geo at pixel " +
                                   std::to_string(pixel.x()) + ", " + std::to_string(pixel.y()));
            }
        }
    }
}

QPointF MapFrame::toPixel(double lat, double lon) const {
    Tpoint p;
    p.x = lat;
    p.y = lon;
    const Tpoint out = geo(p, par_, hiRes_, size_.height());
    return {out.xImg, out.yImg};
}

QPointF MapFrame::toGeo(QPointF pixel) const {
    const double h = size_.height();
    double xn;
    double yn;
    if (hiRes_) {
        xn = (pixel.x() / 2 - par_.ttx) / par_.tx;
        yn = ((h - pixel.y()) / 2 - par_.tty) / par_.ty;
    } else {
        xn = (pixel.x() - par_.ttx) / par_.tx;
        yn = (h - pixel.y() - par_.tty) / par_.ty;
    }
    const double a = degToRad(par_.alpha);
    const double x = std::cos(a) * xn + std::sin(a) * yn;
    const double y = -std::sin(a) * xn + std::cos(a) * yn;
    // rho * sin(theta) = x, rho * cos(theta) = p0 - y, with n > 0 so rho > 0.
    const double rho = std::hypot(x, p0_ - y);
    const double theta = std::atan2(x, p0_ - y);
    const double lon = par_.left_Bottom_y + radToDeg(theta / n_);
    const double lat = radToDeg(2 * std::atan(std::pow(ff_ / rho, 1 / n_)) - kPi / 2);
    return {lon, lat};
}

double MapFrame::wrapped(double lon) const {
    return wrapLongitude(lon, par_.left_Bottom_y);
}

GeoBox MapFrame::bounds(double marginDeg) const {
    // Latitude and longitude have no extremum inside a conic map without a pole, so the edge
    // of the raster holds them.
    GeoBox box{1e9, -1e9, 1e9, -1e9};
    const int w = size_.width();
    const int h = size_.height();
    auto take = [&](double px, double py) {
        const QPointF ll = toGeo({px, py});
        box.west = std::min(box.west, ll.x());
        box.east = std::max(box.east, ll.x());
        box.south = std::min(box.south, ll.y());
        box.north = std::max(box.north, ll.y());
    };
    for (int i = 0; i <= w; ++i) {
        take(i, 0);
        take(i, h);
    }
    for (int j = 0; j <= h; ++j) {
        take(0, j);
        take(w, j);
    }
    box.west -= marginDeg;
    box.east += marginDeg;
    box.south -= marginDeg;
    box.north += marginDeg;
    return box;
}
