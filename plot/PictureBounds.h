#pragma once

#include <QPointF>
#include <QString>
#include <optional>

#include "projection/LambertConic.h"
#include "projection/Tpar.h"
#include "table/ImportReport.h"

namespace zelkora {

// The picture of one map: whether a point falls on it, projected as the marker pass projects
// it (geo, LambertConic) onto a raster width × height pixels. The pixel the marker is centred on
// must lie inside; a point whose projection faults lies nowhere.
class PictureBounds {
  public:
    PictureBounds(const Tpar& par, bool hiRes, int width, int height)
        : conic_(par, hiRes), width_(width), height_(height) {}

    // The picture of a map in a data folder, the size of its base picture (read from the file's
    // header alone). Throws ZelkoraError when that picture is missing or unreadable.
    static PictureBounds ofMap(const QString& dataDir, int map, bool hiRes);

    // The pixel a point is drawn at, when it lies on the picture.
    std::optional<QPointF> pixelOf(double lat, double lon) const {
        const QPointF pixel = conic_.toPixel({.lat = lat, .lon = lon}, height_);
        if (pixel.x() >= 0 && pixel.x() < width_ && pixel.y() >= 0 && pixel.y() < height_) {
            return pixel;
        }
        return std::nullopt;
    }

    bool contains(double lat, double lon) const { return pixelOf(lat, lon).has_value(); }

    // The check an import report asks for.
    PictureCheck check() const {
        return [bounds = *this](double lat, double lon) { return bounds.contains(lat, lon); };
    }

  private:
    LambertConic conic_;
    int width_;
    int height_;
};

}  // namespace zelkora
