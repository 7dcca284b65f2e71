#pragma once

#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>
#include <array>
#include <memory>
#include <vector>

#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"
#include "mapimage/TPngImage.h"
#include "projection/LambertConic.h"
#include "projection/Tpar.h"

namespace zelkora {

struct VectorMap;

// A map made ready for figures. Its geometry is projected once, through the map's own
// LambertConic, into the pixels of its normal-resolution picture, where the window places its
// markers; every figure of the map (each preview of the dialog too) then only scales, cuts and
// draws. A map folder without vector data keeps its raster layers instead.
class FigureMap {
  public:
    struct Line {
        QPolygonF points;
        QRectF bounds;
        int level = 0;
    };
    struct Area {
        std::vector<QPolygonF> rings;  // the outer ring, then its holes
        QRectF bounds;
        int level = 1;  // odd: land, even: water
    };
    enum class LineLayer { Rivers, Divisions, Borders, Shores };

    // The map of index `map` below dataDir: its vector data when its normal-resolution folder
    // holds "vector.gpkg", its raster layers otherwise. Throws ZelkoraError when the map's
    // picture "blank.png" is missing or does not read, or the vector data does not read.
    static std::unique_ptr<FigureMap> load(const QString& dataDir, int map);

    // A map drawn from vector data in memory; size is its normal-resolution picture's.
    FigureMap(int map, QSize size, const VectorMap& vector);

    int map() const { return map_; }
    const Tpar& par() const { return par_; }
    const LambertConic& conic() const { return conic_; }
    // The normal-resolution picture's size: the figure's whole-map extent.
    QSize size() const { return size_; }
    QPointF toPixel(GeoPoint point) const { return conic_.toPixel(point, size_.height()); }
    GeoPoint toGeo(QPointF pixel) const { return conic_.toGeo(pixel, size_.height()); }

    bool hasVector() const { return hasVector_; }
    // Areas in drawing order: levels rising.
    const std::vector<Area>& areas() const { return areas_; }
    const std::vector<Line>& lines(LineLayer layer) const {
        return lines_[static_cast<std::size_t>(layer)];
    }

    // A map without vector data: its picture with the layers switched on, from the
    // high-resolution folder when there is one, and the mapping from the map's pixels onto it.
    // The last picture is kept for the next call, which must not run while another thread uses
    // the picture of a call before.
    const TPngImage& raster(const std::array<bool, kLayerCount>& layers) const;
    QTransform rasterFromMap() const { return rasterFromMap_; }

  private:
    FigureMap(int map, QSize size);
    void setVector(const VectorMap& vector);

    int map_;
    Tpar par_;
    LambertConic conic_;
    QSize size_;
    bool hasVector_ = false;
    std::vector<Area> areas_;
    std::array<std::vector<Line>, 4> lines_;

    QString dataDir_;
    bool rasterHiRes_ = false;
    QTransform rasterFromMap_;
    mutable MapAssembly assembly_;
    mutable TPngImage raster_;
    mutable std::array<bool, kLayerCount> rasterLayers_{};
    mutable bool rasterReady_ = false;
};

}  // namespace zelkora
