#pragma once

#include <vector>

#include "tools/AdminBoundaries.h"
#include "tools/GeoPolyline.h"
#include "tools/MapFrame.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

// The first-level divisions of one map with their names, in the arrangement in force now and,
// where the map's country has one, in the earlier one: Vietnam's 63 provinces of 2008-2025,
// whose mergers of 1 July 2025 (DivisionNames) give the 34 of now. Their boundaries are lines
// between divisions of one country; their areas are the source's polygons, dissolved where
// provinces merged and clipped to the map's region, each with a label point inside it. The
// countries on the map come with their English and Russian names and label points too.
class DivisionLayers {
  public:
    struct Arrangement {
        std::vector<GeoPolyline> boundaries;
        std::vector<DivisionArea> areas;
    };

    // box: everything the map shows, with its margin; region: gmt's region around it, to which
    // the areas are clipped. Throws ZelkoraError when the source and the tables of names
    // disagree: a division without a name, a name without its division, a capital outside the
    // polygon taken for it, or provinces whose shared borders do not dissolve.
    DivisionLayers(const AdminBoundaries& source, const MapFrame& frame, const GeoBox& box,
                   const GeoBox& region);

    const Arrangement& current() const { return current_; }
    // Empty where the map has no earlier arrangement.
    const Arrangement& before2025() const { return before2025_; }
    const std::vector<CountryArea>& countries() const { return countries_; }

  private:
    Arrangement current_;
    Arrangement before2025_;
    std::vector<CountryArea> countries_;
};

}  // namespace zelkora
