#pragma once

#include <vector>

#include "tools/MapFrame.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

// Area work for the named areas of the maps' vector data. Polygons are GeoPolygons: each its
// outer ring first and then its holes, every ring closed.

// The signed area of a ring in square degrees of longitude and latitude: positive when it runs
// counter-clockwise (east, then north).
double ringArea(const GeoPath& ring);

// Whether a point lies inside the polygons (even-odd over each polygon's rings).
bool containsPoint(const GeoPolygons& polygons, GeoPoint point);

// How far a point lies from the polygons, in degrees of longitude and latitude taken as a plane:
// 0 inside.
double distanceTo(const GeoPolygons& polygons, GeoPoint point);

// The polygons with each ring made continuous (no jump of more than 180° between neighbours) and
// moved by whole turns to within 180° of the map's central meridian, as geo sees longitudes.
GeoPolygons wrappedForMap(const GeoPolygons& polygons, const MapFrame& frame);

// The parts of the polygons inside a box, each ring clipped to it (Sutherland-Hodgman). A
// polygon whose outer ring falls outside is left out, and so is a hole that does.
GeoPolygons clippedToBox(const GeoPolygons& polygons, const GeoBox& box);

// The union of polygons that meet along shared edges, as an administrative source gives
// neighbours: an edge shared by two of them, in the same vertices, is inside the union and goes;
// the edges left are joined into rings again. Throws ZelkoraError when the result does not keep
// the area of the parts, or when the edge of one part runs along another without sharing its
// vertices (within tolerance degrees): such a border would stay inside the union.
GeoPolygons dissolved(const std::vector<GeoPolygons>& parts, double tolerance);

}  // namespace zelkora
