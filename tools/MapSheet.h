#pragma once

#include <QSize>

namespace zelkora {

// What one map folder pair (normal and high resolution) is drawn with.
struct MapSheet {
    int mapIndex = 0;        // index into PAR_map and kMapCaptions
    QSize size;              // normal raster size; high resolution is twice as wide and high
    double gridStepDeg = 1;  // spacing of parallels and meridians
    double maskDxDeg = 0;    // land-mask lattice, fine enough for 3 x 3 samples per HiRes pixel
    double maskDyDeg = 0;
    double minAreaKm2 = 0;  // islands and lakes below this area are left out of the pictures
};

// The vector data is drawn from GSHHG's full resolution and keeps every island and lake of this
// area or more: figures of small extents show every islet.
inline constexpr char kVectorResolution = 'f';
inline constexpr double kVectorMinAreaKm2 = 0.1;

}  // namespace zelkora
