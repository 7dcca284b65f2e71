#pragma once

#include <QString>
#include <vector>

#include "tools/GeoPolyline.h"
#include "tools/MapFrame.h"
#include "vectormap/VectorMap.h"

namespace zelkora {

// First-level divisions (provinces, oblasts, krais) and countries from a GeoPackage of Natural
// Earth's admin layers: the tables states_provinces and countries of qgis-common's world map.
// A boundary is an edge shared by two divisions of one country: coasts (one user) and national
// borders (two countries) are left to GSHHG, and a shared edge is returned once.
class AdminBoundaries {
  public:
    // A polygon of the source with its names and its bounds.
    struct Area {
        QString country;  // adm0_a3 of a division, ISO_A3 of a country
        QString name;     // as the source writes it
        GeoPolygons polygons;
        GeoBox bounds;
    };

    explicit AdminBoundaries(const QString& geoPackagePath);

    const std::vector<Area>& divisions() const { return divisions_; }
    const std::vector<Area>& countries() const { return countries_; }

    // The indices of the areas whose bounds meet the box, in the source's order; the box's
    // longitudes may run past 180°.
    static std::vector<std::size_t> within(const std::vector<Area>& areas, const GeoBox& box);

    // The boundaries between divisions of one country that meet the box, except between two
    // divisions of the same group: group holds a number for each division (as divisions()
    // orders them), and is empty when every division stands alone.
    std::vector<GeoPolyline> internalBorders(const GeoBox& box,
                                             const std::vector<int>& group = {}) const;

  private:
    std::vector<Area> divisions_;
    std::vector<Area> countries_;
};

}  // namespace zelkora
