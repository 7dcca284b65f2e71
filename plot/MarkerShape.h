#pragma once

#include <QPainterPath>
#include <QRgb>

namespace zelkora {

// The shapes of the markers, one per marker type in table-column order: filled and hollow
// circle, triangle, square and diamond, then a filled star. The icons under data/icons, the
// application icon and the figure's vector markers are all drawn from these paths, so the three
// always agree.

inline constexpr int kMarkerTypeCount = 9;
// The shapes' own square: each is centred in a kMarkerBox x kMarkerBox box.
inline constexpr int kMarkerBox = 128;
// The dark ink of the markers.
inline constexpr QRgb kMarkerInk = qRgb(24, 24, 24);
// A red marker as the window draws one on light land: the map's red with the ink's green and
// blue. Where a marker is drawn in one colour of its own, this is its red.
inline constexpr QRgb kMarkerRed = qRgb(0xE0, 0x18, 0x18);

// The marker's outline for a type 0 to 8, to be filled; throws ZelkoraError for any other type.
// Hollow shapes are rings under the odd-even rule.
QPainterPath markerShape(int type);

// Whether the type is a solid shape (circles, triangles, squares, diamonds filled; the star).
constexpr bool markerIsSolid(int type) {
    return type % 2 == 0;
}

}  // namespace zelkora
