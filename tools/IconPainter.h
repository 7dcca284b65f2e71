#pragma once

#include <QImage>

#include "plot/MarkerShape.h"

namespace zelkora {

// The marker icons, one per marker type in table-column order, drawn from the marker shapes
// (plot/MarkerShape.h). Dark shapes on transparency, so a red marker (which keeps the map's red
// and blends the icon's green and blue) shows red on light map areas.
class IconPainter {
  public:
    static constexpr int kIconCount = kMarkerTypeCount;
    static constexpr int kIconSize = kMarkerBox;
    static constexpr QRgb kInk = kMarkerInk;

    // 8-bit RGBA icon for a marker type 0 to 8; throws for any other type.
    static QImage icon(int type);
};

}  // namespace zelkora
