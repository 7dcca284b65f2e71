#include "plot/zelkora.h"

#include <QFileInfo>
#include <cmath>
#include <cstdint>
#include <limits>

#include "mapimage/DataPaths.h"
#include "plot/MergePNGLayerIcon.h"
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
            MergePNGLayerIcon(marked, icon, aLeft, aTop, red, yield);
        }
    }
}

TPngImage zelkora(Tpoints& points, const PointTable& table, const Tpar& par, bool hiRes,
                  const TPngImage& a, int pntSize, bool red, const QString& dataDir,
                  const YieldFn& yield) {
    readPoints(points, table, par, hiRes, a.Height());
    TPngImage marked = a;
    if (points.num > 0) {
        drawMarkers(marked, points, pntSize, red, dataDir, yield);
    }
    return marked;
}

}  // namespace zelkora
