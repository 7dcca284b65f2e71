#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "tools/GeoPolyline.h"
#include "tools/LandMask.h"
#include "tools/MapFrame.h"

namespace zelkora {

// GSHHG coastlines, lakes, rivers, borders and land through the gmt program, at one of GSHHG's
// resolutions: 'h' (high) for the pictures, 'f' (full) for the vector data. Features smaller
// than minAreaKm2 are left out of shores and land alike, so the coastline layer and the base
// picture agree.
class GmtSource {
  public:
    // workDir holds gmt's own files and the cached land masks.
    GmtSource(const QString& workDir, double minAreaKm2, char resolution = 'h');

    // Shorelines of every level (sea coast, lake shores, islands in lakes, ponds).
    std::vector<GeoPolyline> shores(const GeoBox& box) const;
    // Permanent rivers, levels 0 (banks of river-lakes) to 4.
    std::vector<GeoPolyline> rivers(const GeoBox& box) const;
    // National borders over land and lakes; maritime lines are dropped.
    std::vector<GeoPolyline> borders(const GeoBox& box) const;
    // Land (1) and water (0, lakes included) on a grid of the given steps; cached in workDir
    // because it takes a while.
    LandMask landMask(const GeoBox& box, double dxDeg, double dyDeg) const;

    // The region gmt is run on for a box: the box widened to whole degrees. gmt clips shores and
    // borders to it; rivers come in whole bins of GSHHG and reach beyond it.
    static GeoBox regionOf(const GeoBox& box);

  private:
    QString workDir_;
    double minAreaKm2_;
    QString resolution_;  // gmt's -D

    std::vector<GeoPolyline> dump(const GeoBox& box, const QStringList& selection) const;
    QString region(const GeoBox& box) const;
};

}  // namespace zelkora
