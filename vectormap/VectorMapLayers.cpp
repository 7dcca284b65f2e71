#include "vectormap/VectorMapLayers.h"

#include <cmath>

namespace zelkora {

QString vectorPointFault(GeoPoint p) {
    if (!std::isfinite(p.lat) || !std::isfinite(p.lon)) {
        return QStringLiteral("координата точки не число");
    }
    if (std::fabs(p.lat) > 90.0) {
        return QStringLiteral("широта %1 вне пределов ±90°").arg(p.lat);
    }
    if (std::fabs(p.lon) > 360.0) {
        return QStringLiteral("долгота %1 вне пределов ±360°").arg(p.lon);
    }
    return {};
}

QString vectorPathFault(const GeoPath& path, bool ring) {
    if (ring && path.size() < 4) {
        return QStringLiteral("в контуре меньше четырёх точек");
    }
    if (!ring && path.size() < 2) {
        return QStringLiteral("в линии меньше двух точек");
    }
    for (const GeoPoint& p : path) {
        if (const QString fault = vectorPointFault(p); !fault.isEmpty()) {
            return fault;
        }
    }
    if (ring && (path.front().lat != path.back().lat || path.front().lon != path.back().lon)) {
        return QStringLiteral("контур не замкнут");
    }
    return {};
}

}  // namespace zelkora
