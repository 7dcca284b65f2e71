#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "tools/AdminBoundaries.h"
#include "tools/DivisionLayers.h"
#include "tools/GeoPolyline.h"
#include "tools/GmtSource.h"
#include "tools/LandMask.h"
#include "tools/MapFrame.h"
#include "tools/MapSheet.h"

namespace zelkora {

// Draws one map at both resolutions: the opaque base "blank.png" and the five line layers.
class MapGenerator {
  public:
    MapGenerator(MapSheet sheet, const QString& sourcesDir);

    // Writes the map's two folders below dataDir (ending in "/"), named as mapimage/DataPaths
    // names them, and the map's vector data in the normal-resolution folder.
    void write(const QString& dataDir) const;

  private:
    // The lines of a map as the sources give them, for the pictures and the vector data alike.
    struct SourceLines {
        std::vector<GeoPolyline> rivers;
        std::vector<GeoPolyline> divisions;
        std::vector<GeoPolyline> borders;
        std::vector<GeoPolyline> shores;
    };

    MapSheet sheet_;
    QString sourcesDir_;

    void writeResolution(const MapFrame& frame, const QString& dataDir, const LandMask& mask,
                         const std::vector<GeoPolyline>& graticule, const SourceLines& lines) const;

    // The same shores, rivers and borders as the pictures, in geographic coordinates: every
    // layer within gmt's region around the map, the land and lakes as filled areas; and the
    // divisions, earlier ones too, and the countries with their names.
    void writeVectorMap(const MapFrame& frame, const GeoBox& box, const QString& dataDir,
                        const SourceLines& lines, const DivisionLayers& divisions) const;

    static QImage blank(const MapFrame& frame, const LandMask& mask);
    static std::vector<GeoPolyline> graticule(const GeoBox& box, double step);
};

}  // namespace zelkora
