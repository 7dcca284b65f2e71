#pragma once

#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>
#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "figure/FigureOptions.h"
#include "figure/FigureProjection.h"
#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"
#include "mapimage/TPngImage.h"
#include "projection/Tpar.h"

namespace zelkora {

struct VectorMap;

// A map made ready for figures. Its vector geometry is kept in degrees, with each long line cut
// into stretches whose bounds are known, and in coarser levels of detail made when first asked
// for; a figure projects only what its box shows, at the level its scale needs, through its own
// projection. A map folder without vector data keeps its raster layers instead.
class FigureMap {
  public:
    // Geometry projected for one figure: plane units of its projection.
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
    static constexpr std::size_t kLineLayers = 4;
    struct Projected {
        std::vector<Area> areas;  // levels rising
        std::array<std::vector<Line>, kLineLayers> lines;
        const std::vector<Line>& of(LineLayer layer) const {
            return lines[static_cast<std::size_t>(layer)];
        }
    };

    // A named area of the map: a first-level division or a country, for the names a figure
    // writes. Its polygons are in degrees (x the longitude as the map runs it, y the latitude),
    // each its outer ring first, then its holes.
    struct NamedArea {
        std::vector<std::vector<QPolygonF>> polygons;
        QRectF bounds;
        QString name;     // a division's as its country writes it; a country's in English
        QString nameRu;   // a country's in Russian; empty for a division
        QString country;  // ISO 3166-1 alpha-3 code
    };

    // The map of index `map` below dataDir: its vector data when its normal-resolution folder
    // holds "vector.gpkg", its raster layers otherwise. Throws ZelkoraError when the map's
    // picture "blank.png" is missing or does not read, or the vector data does not read.
    static std::unique_ptr<FigureMap> load(const QString& dataDir, int map);

    // A map drawn from vector data in memory; size is its normal-resolution picture's.
    FigureMap(int map, QSize size, const VectorMap& vector);
    ~FigureMap();

    int map() const { return map_; }
    // The map's own projection, onto its normal-resolution picture, where the window places its
    // markers.
    const FigureProjection& projection() const { return projection_; }
    // The normal-resolution picture's size: the whole map in the map's own projection.
    QSize size() const { return size_; }
    // The latitudes and longitudes the picture shows, longitudes as the map's data runs them.
    const DegreeBox& pictureBox() const { return pictureBox_; }
    // The longitude moved by whole turns to run as the map's data runs (190 rather than -170 on
    // the Far East map).
    double mapLongitude(double lon) const;

    bool hasVector() const { return hasVector_; }

    // The geometry inside clip (degrees, longitudes as the map runs them) through projection,
    // without detail much finer than toleranceKm on the ground: every ring cut to clip, whose
    // cut edges are kept close to the parallels and meridians of clip, every line cut to it.
    // The divisions' lines are those of the arrangement asked for.
    Projected project(const FigureProjection& projection, const DegreeBox& clip, double toleranceKm,
                      FigureDivisions divisions = FigureDivisions::Current) const;

    // Whether the map's data holds an earlier arrangement of divisions (Vietnam's of 2008).
    bool hasDivisions2008() const { return hasDivisions2008_; }
    // The divisions of an arrangement and the countries, with their names; empty for a map
    // without vector data, or whose data holds no names.
    const std::vector<NamedArea>& divisionAreas(FigureDivisions divisions) const;
    const std::vector<NamedArea>& countryAreas() const { return countries_; }

    // How many levels of detail there are, and the tolerance of each on the ground; level 0 is
    // the data as it stands.
    static std::size_t levelCount();
    static double levelToleranceKm(std::size_t level);

    // A map without vector data: its picture with the layers switched on, from the
    // high-resolution folder when there is one, and the mapping from the map's pixels onto it.
    // The last picture is kept for the next call, which must not run while another thread uses
    // the picture of a call before.
    const TPngImage& raster(const std::array<bool, kLayerCount>& layers) const;
    QTransform rasterFromMap() const { return rasterFromMap_; }

    struct Detail;  // one level of detail, in degrees

  private:
    FigureMap(int map, QSize size);
    const Detail& detail(std::size_t level) const;

    int map_;
    FigureProjection projection_;
    QSize size_;
    DegreeBox pictureBox_;
    bool hasVector_ = false;
    bool hasDivisions2008_ = false;
    std::vector<NamedArea> divisions_;
    std::vector<NamedArea> divisions2008_;
    std::vector<NamedArea> countries_;
    mutable std::mutex detailMutex_;
    mutable std::vector<std::unique_ptr<Detail>> details_;

    QString dataDir_;
    bool rasterHiRes_ = false;
    QTransform rasterFromMap_;
    mutable MapAssembly assembly_;
    mutable TPngImage raster_;
    mutable std::array<bool, kLayerCount> rasterLayers_{};
    mutable bool rasterReady_ = false;
};

}  // namespace zelkora
