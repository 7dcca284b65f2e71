#pragma once

#include "projection/Tpar.h"
#include "table/ImportReport.h"

namespace zelkora {

// The picture of one map: whether a point falls on it, projected as the marker pass projects
// it (geo, LambertConic) onto a raster width × height pixels. The pixel the marker is centred
// on must lie inside; a point whose projection faults lies nowhere.
class PictureBounds {
  public:
    PictureBounds(const Tpar& par, bool hiRes, int width, int height)
        : par_(par), hiRes_(hiRes), width_(width), height_(height) {}

    bool contains(double lat, double lon) const;

    // The check an import report asks for.
    PictureCheck check() const {
        return [bounds = *this](double lat, double lon) { return bounds.contains(lat, lon); };
    }

  private:
    Tpar par_;
    bool hiRes_;
    int width_;
    int height_;
};

}  // namespace zelkora
