#include "plot/PictureBounds.h"

#include "projection/geo.h"

namespace zelkora {

bool PictureBounds::contains(double lat, double lon) const {
    Tpoint point;
    point.x = lat;
    point.y = lon;
    const Tpoint placed = geo(point, par_, hiRes_, height_);
    return placed.xImg >= 0 && placed.xImg < width_ && placed.yImg >= 0 && placed.yImg < height_;
}

}  // namespace zelkora
