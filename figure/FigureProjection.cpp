#include "figure/FigureProjection.h"

#include <cmath>

#include "common/ZelkoraError.h"
#include "projection/CentredConic.h"

namespace zelkora {

namespace {

// A step north, in degrees, short enough that the meridian is straight over it.
constexpr double kNorthStepDeg = 1e-3;

}  // namespace

FigureProjection::FigureProjection(const Tpar& par, int height, bool northUp)
    : par_(par), conic_(par, false), height_(height), northUp_(northUp) {
    if (!conic_.hasCone()) {
        throw ZelkoraError(QStringLiteral(
            "Для этих границ нет конической проекции: рамка должна лежать к северу от экватора"));
    }
}

FigureProjection::FigureProjection() : FigureProjection(parForMap(kMapVietnam), 0, false) {}

FigureProjection FigureProjection::ofMap(int map, int pictureHeight) {
    return FigureProjection(parForMap(map), pictureHeight, false);
}

FigureProjection FigureProjection::northUp(const DegreeBox& box) {
    return FigureProjection(centredConicPar(box.south, box.west, box.north, box.east), 0, true);
}

double FigureProjection::kmPerUnit(double latDeg) const {
    return kEarthRadiusKm / (conic_.scaleFactor(latDeg) * par_.tx);
}

QPointF FigureProjection::northAt(GeoPoint point) const {
    const GeoPoint below{point.lat - kNorthStepDeg / 2, point.lon};
    const GeoPoint above{point.lat + kNorthStepDeg / 2, point.lon};
    const QPointF d = toPlane(above) - toPlane(below);
    const double length = std::hypot(d.x(), d.y());
    return length > 0 ? d / length : QPointF(0, -1);
}

}  // namespace zelkora
