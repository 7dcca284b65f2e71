#pragma once

#include <QString>
#include <vector>

#include "tools/GeoPolyline.h"
#include "tools/MapFrame.h"

namespace zelkora {

// Boundaries between first-level divisions (provinces, oblasts, krais) from the states_provinces
// table of a GeoPackage (Natural Earth admin-1). A boundary is an edge shared by two divisions of
// one country: coasts (one user) and national borders (two countries) are left to GSHHG, and a
// shared edge is returned once.
class AdminBoundaries {
  public:
    explicit AdminBoundaries(const QString& geoPackagePath);

    std::vector<GeoPolyline> internalBorders(const GeoBox& box) const;

  private:
    struct Division {
        QString country;
        std::vector<std::vector<GeoPoint>> rings;  // closed: the last point repeats the first
        double west = 0.0;
        double east = 0.0;
        double south = 0.0;
        double north = 0.0;
    };
    std::vector<Division> divisions_;
};

}  // namespace zelkora
