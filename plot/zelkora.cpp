#include "plot/zelkora.h"

#include <QFileInfo>
#include <cmath>
#include <cstdint>
#include <limits>

#include "mapimage/DataPaths.h"
#include "plot/MarkerStamp.h"
#include "plot/ResizeIMG.h"

namespace zelkora {

namespace {

constexpr int kMarkerTypes = 9;

}  // namespace

bool iconOrigin(double position, int half, int& origin) {
    const double truncated = std::trunc(position - half);
    if (!std::isfinite(truncated) ||
        truncated < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        truncated > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return false;
    }
    origin = static_cast<int>(truncated);
    return true;
}

void drawMarkers(TPngImage& marked, const Tpoints& points, int pntSize, bool red,
                 const QString& dataDir, const YieldFn& yield) {
    const int half = pntSize / 2;
    TPngImage icon;
    for (int j = 0; j < kMarkerTypes; ++j) {
        const QString path = iconPath(dataDir, j);
        if (!QFileInfo(path).isFile()) {
            continue;
        }
        icon.LoadFromFile(path);
        ResizeIMG(icon, pntSize, pntSize);
        const MarkerStamp stamp(icon);
        // A nested pass run from the event loop rebuilds the list in place; the count is taken
        // once per type and every slot stays valid memory.
        const int num = points.num;
        for (int i = 0; i < num; ++i) {
            const Tpoint& pt = points.p[static_cast<std::size_t>(i)];
            if (pt.t != j) {
                continue;
            }
            int aLeft = 0;
            int aTop = 0;
            if (!iconOrigin(pt.xImg, half, aLeft) || !iconOrigin(pt.yImg, half, aTop)) {
                yieldNow(yield);  // off the map, but the window still gets its turn
                continue;
            }
            yieldNow(yield);
            stamp.stampOn(marked, aLeft, aTop, red);
        }
    }
}

int markerAt(const Tpoints& points, int pntSize, int x, int y) {
    const int half = pntSize / 2;
    int found = -1;
    for (int i = 0; i < points.num; ++i) {
        const Tpoint& pt = points.p[static_cast<std::size_t>(i)];
        int left = 0;
        int top = 0;
        if (pt.t < 0 || pt.t >= kMarkerTypes || !iconOrigin(pt.xImg, half, left) ||
            !iconOrigin(pt.yImg, half, top)) {
            continue;
        }
        const auto within = [&](int at, int origin) {
            const long long offset = static_cast<long long>(at) - origin;
            return offset >= 0 && offset < pntSize;
        };
        const bool covers = within(x, left) && within(y, top);
        // Drawn by type, then in list order: the higher type lies on top, then the later point.
        if (covers && (found < 0 || pt.t >= points.p[static_cast<std::size_t>(found)].t)) {
            found = i;
        }
    }
    return found;
}

TPngImage zelkora(Tpoints& points, const PointTable& table, const Tpar& par, bool hiRes,
                  const TPngImage& a, int pntSize, bool red, const QString& dataDir,
                  const YieldFn& yield) {
    TPngImage marked;
    zelkora(marked, points, table, par, hiRes, a, pntSize, red, dataDir, yield);
    return marked;
}

void zelkora(TPngImage& marked, Tpoints& points, const PointTable& table, const Tpar& par,
             bool hiRes, const TPngImage& a, int pntSize, bool red, const QString& dataDir,
             const YieldFn& yield) {
    readPoints(points, table, PictureBounds(par, hiRes, a.Width(), a.Height()));
    marked = a;
    if (points.num > 0) {
        drawMarkers(marked, points, pntSize, red, dataDir, yield);
    }
}

}  // namespace zelkora
