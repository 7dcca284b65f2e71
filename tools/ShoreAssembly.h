#pragma once

#include <vector>

#include "tools/GeoPolyline.h"
#include "tools/MapFrame.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

// GSHHG shorelines as gmt coast dumps them, cut at the edges of its bins and of the region, joined
// again into whole rings and into chains that run from one edge of the region to another. GMT
// keeps the land on the left of every shore (a lake's shore runs clockwise), and that is what lets
// each level's chains be closed into areas along the region's edge.
class ShoreAssembly {
  public:
    // pieces have continuous longitudes (wrapped around the map's central meridian); region is
    // the rectangle gmt clipped them to. Throws ZelkoraError when the pieces do not join up or
    // a ring runs the wrong way round: the areas would be filled wrongly.
    ShoreAssembly(const std::vector<GeoPolyline>& pieces, const GeoBox& region);

    // The shores as lines: rings and chains with their levels, in the order of their first
    // pieces.
    const std::vector<GeoPolyline>& lines() const { return lines_; }

    // Land, lakes, islands in lakes and ponds in such islands: level by level, every ring, and
    // the chains closed along the region's edge. Outer rings run counter-clockwise.
    std::vector<VectorArea> areas() const;

  private:
    GeoBox region_;
    std::vector<GeoPolyline> rings_;
    std::vector<GeoPolyline> chains_;
    std::vector<GeoPolyline> lines_;

    bool onEdge(GeoPoint p) const;
    // Whether a segment runs along one edge of the region.
    bool alongEdge(GeoPoint a, GeoPoint b) const;
    // A line without the stretches that run along the region's edge: the chains between them.
    std::vector<GeoPolyline> cutAtEdges(const GeoPolyline& line, bool closed) const;
    // Where a point of the edge lies on it, counter-clockwise from the south-west corner.
    double edgePosition(GeoPoint p) const;
    // The point of the edge at a position.
    GeoPoint edgePoint(double position) const;
    double perimeter() const;
    std::vector<GeoPath> closeAlongEdge(const std::vector<GeoPath>& chains) const;
};

}  // namespace zelkora
