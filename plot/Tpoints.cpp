#include "plot/Tpoints.h"

#include <QStringList>

#include "projection/geo.h"
#include "table/PointCell.h"
#include "table/PointTable.h"
#include "table/StrToFloat.h"

namespace zelkora {

void addPoint(Tpoints& points, std::int32_t t, double x, double y, const Tpar& par, bool hiRes,
              int rasterHeight) {
    if (points.num >= Tpoints::kCapacity) {
        return;
    }
    Tpoint& slot = points.p[static_cast<std::size_t>(points.num)];
    slot.t = t;
    slot.x = x;
    slot.y = y;
    slot = geo(slot, par, hiRes, rasterHeight);
    ++points.num;
}

void readPoints(Tpoints& points, const PointTable& table, const Tpar& par, bool hiRes,
                int rasterHeight) {
    points.num = 0;
    const int cols = table.ColCount();
    const int rows = table.RowCount();
    QStringList items;
    for (int i = 0; i < cols; ++i) {
        for (int j = 1; j < rows; ++j) {
            if (!splitPointCell(table.cell(i, j), items)) {
                continue;
            }
            // Both items convert before the capacity test, so a bad cell past the 1000th point
            // still fails the rebuild.
            const double x = StrToFloat(items[0]);
            const double y = StrToFloat(items[1]);
            addPoint(points, i, x, y, par, hiRes, rasterHeight);
        }
    }
}

int countPointCells(const PointTable& table) {
    int count = 0;
    QStringList items;
    for (int i = 0; i < table.ColCount(); ++i) {
        for (int j = 1; j < table.RowCount(); ++j) {
            count += splitPointCell(table.cell(i, j), items) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace zelkora
