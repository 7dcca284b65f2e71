#pragma once

#include <QColor>

namespace zelkora {

// The colours of the maps, shared by the map generator, the figure and the application icon so
// that the icon looks like a Zelkora map.
inline const QColor kMapSea(0xC8, 0xDD, 0xEC);
inline const QColor kMapLand(0xF0, 0xE9, 0xD0);
inline const QColor kMapGraticule(0x84, 0x95, 0xA6);
inline const QColor kMapRiver(0x3A, 0x78, 0xC2);
inline const QColor kMapDivision(0x8E, 0x6C, 0x9E);
inline const QColor kMapBorder(0xA8, 0x30, 0x5C);
inline const QColor kMapShore(0x2B, 0x5C, 0x85);

}  // namespace zelkora
