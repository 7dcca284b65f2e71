#include "plot/Tpoints.h"

#include <QStringList>

#include "common/ZelkoraError.h"
#include "projection/geo.h"
#include "table/HeaderRow.h"
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

void forEachPointCell(const PointTable& table,
                      const std::function<void(int col, int row, double lat, double lon)>& visit) {
    const int cols = table.ColCount();
    const int rows = table.RowCount();
    QStringList items;
    for (int i = 0; i < cols; ++i) {
        for (int j = 1; j < rows; ++j) {
            if (!splitPointCell(table.cell(i, j), items)) {
                continue;
            }
            // Both items convert before the point is taken, so a bad cell past the 1000th point
            // still fails a rebuild.
            double x = 0.0;
            double y = 0.0;
            try {
                x = StrToFloat(items[0]);
                y = StrToFloat(items[1]);
            } catch (const ZelkoraError& e) {
                throw ZelkoraError(e.message() + QLatin1Char('\n') + cellLocation(table, i, j));
            }
            visit(i, j, x, y);
        }
    }
}

void readPoints(Tpoints& points, const PointTable& table, const Tpar& par, bool hiRes,
                int rasterHeight) {
    points.num = 0;
    forEachPointCell(table, [&](int col, int, double lat, double lon) {
        addPoint(points, col, lat, lon, par, hiRes, rasterHeight);
    });
}

std::vector<PointCell> pointCells(const PointTable& table) {
    std::vector<PointCell> cells;
    QStringList items;
    for (int i = 0; i < table.ColCount(); ++i) {
        for (int j = 1; j < table.RowCount(); ++j) {
            if (splitPointCell(table.cell(i, j), items)) {
                cells.push_back({i, j});
            }
        }
    }
    return cells;
}

int countPointCells(const PointTable& table) {
    return static_cast<int>(pointCells(table).size());
}

}  // namespace zelkora
