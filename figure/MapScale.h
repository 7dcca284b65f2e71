#pragma once

#include "figure/FigureMap.h"

namespace zelkora {

// Distances on the ground, on the sphere of the map's projection.
inline constexpr double kEarthRadiusKm = 6371.0;

// Kilometres on the ground per pixel of the map along its x axis, at a latitude: the conic's
// scale factor k there, then the map's horizontal pixel scale.
double kmPerPixelAlongX(const FigureMap& map, double latDeg);

// The great-circle distance between two points on the sphere, in kilometres.
double groundDistanceKm(GeoPoint a, GeoPoint b);

// The round length (1, 2 or 5 times a power of ten kilometres) nearest to targetKm by ratio.
double roundScaleKm(double targetKm);

}  // namespace zelkora
