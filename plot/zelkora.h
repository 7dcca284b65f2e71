#pragma once

#include <QString>

#include "common/YieldFn.h"
#include "mapimage/TPngImage.h"
#include "plot/Tpoints.h"
#include "projection/Tpar.h"

namespace zelkora {

class PointTable;

// Limits of the marker size, the edge in pixels of the square every icon is scaled to.
inline constexpr int pntSizeMin = 10;
inline constexpr int pntSizeMax = 128;

// The marker pass. Rebuilds points from the table (projected against a), then returns a copy of
// a with one icon per point: icons come from <dataDir>icons/<type>.png, each loaded and scaled
// to pntSize once per pass, a missing file leaving its type undrawn. Drawing goes by type 0..8,
// then in list order, so later icons lie on top. a itself is never changed. The event loop gets
// a turn once per marker. Throws ZelkoraError for a bad table cell or an unreadable icon, before
// anything is returned.
TPngImage zelkora(Tpoints& points, const PointTable& table, const Tpar& par, bool hiRes,
                  const TPngImage& a, int pntSize, bool red, const QString& dataDir,
                  const YieldFn& yield);

// The same, drawn into marked, which becomes a copy of a with the markers over it: its storage is
// used again when it has room, so that a window redrawing its markers does not ask the system
// for a new raster on every pass. On a throw, marked holds a copy of a or is left as it was.
void zelkora(TPngImage& marked, Tpoints& points, const PointTable& table, const Tpar& par,
             bool hiRes, const TPngImage& a, int pntSize, bool red, const QString& dataDir,
             const YieldFn& yield);

// Steps after the rebuild: blends the icons of points onto marked, by type 0..8 and then in list
// order. Points of other types are not drawn.
void drawMarkers(TPngImage& marked, const Tpoints& points, int pntSize, bool red,
                 const QString& dataDir, const YieldFn& yield);

// The point whose marker lies on top at the picture's pixel (x, y) when drawMarkers has drawn
// points at pntSize: its index in points, or -1 where no marker lies. Points of types beyond 8
// are not drawn and are not found.
int markerAt(const Tpoints& points, int pntSize, int x, int y);

// The map column or row on which an icon's first pixel lands: position - half truncated toward
// zero. False when that is not a finite number that fits a 32-bit integer, which lies off the
// map.
bool iconOrigin(double position, int half, int& origin);

}  // namespace zelkora
