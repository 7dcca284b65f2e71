#include "records/MapCoverage.h"

#include "projection/LambertConic.h"
#include "projection/Tpar.h"

namespace zelkora {

bool isOnPicture(GeoPoint point, const MapPicture& picture) {
    const QPointF pixel =
        LambertConic(parForMap(picture.map), false).toPixel(point, picture.size.height());
    // NaN, a point without a place on the map, fails both tests.
    return pixel.x() >= 0.0 && pixel.x() < picture.size.width() && pixel.y() >= 0.0 &&
           pixel.y() < picture.size.height();
}

}  // namespace zelkora
