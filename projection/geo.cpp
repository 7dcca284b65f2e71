#include "projection/geo.h"

namespace zelkora {

Tpoint geo(const Tpoint& t, const Tpar& par, bool hiRes, int rasterHeight) {
    const QPointF pixel = LambertConic(par, hiRes).toPixel({.lat = t.x, .lon = t.y}, rasterHeight);
    Tpoint out = t;
    out.xImg = pixel.x();
    out.yImg = pixel.y();
    return out;
}

}  // namespace zelkora
