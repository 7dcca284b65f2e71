#include "tools/MapFrame.h"

#include <algorithm>

#include "common/ZelkoraError.h"

namespace zelkora {

MapFrame::MapFrame(const Tpar& par, bool hiRes, QSize size)
    : conic_(par, hiRes), centralMeridian_(par.left_Bottom_y), hiRes_(hiRes), size_(size) {
    if (!conic_.hasCone()) {
        throw ZelkoraError("map constants give no usable cone: the generator needs n > 0");
    }
}

QPointF MapFrame::toPixel(GeoPoint point) const {
    return conic_.toPixel(point, size_.height());
}

GeoPoint MapFrame::toGeo(QPointF pixel) const {
    return conic_.toGeo(pixel, size_.height());
}

double MapFrame::wrapped(double lon) const {
    return wrapLongitude(lon, centralMeridian_);
}

GeoBox MapFrame::bounds(double marginDeg) const {
    // Latitude and longitude have no extremum inside a conic map without a pole, so the edge
    // of the raster holds them.
    GeoBox box{1e9, -1e9, 1e9, -1e9};
    const int w = size_.width();
    const int h = size_.height();
    auto take = [&](double px, double py) {
        const GeoPoint point = toGeo({px, py});
        box.west = std::min(box.west, point.lon);
        box.east = std::max(box.east, point.lon);
        box.south = std::min(box.south, point.lat);
        box.north = std::max(box.north, point.lat);
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

}  // namespace zelkora
