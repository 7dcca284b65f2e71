#include "plot/Tpoints.h"

#include <QStringList>
#include <map>

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

void readPoints(Tpoints& points, const PointTable& table, const PictureBounds& picture) {
    points.num = 0;
    forEachPointCell(table, [&](int col, int, double lat, double lon) {
        if (points.num >= Tpoints::kCapacity) {
            return;
        }
        const std::optional<QPointF> pixel = picture.pixelOf(lat, lon);
        if (!pixel) {
            return;
        }
        Tpoint& slot = points.p[static_cast<std::size_t>(points.num)];
        slot.t = col;
        slot.x = lat;
        slot.y = lon;
        slot.xImg = pixel->x();
        slot.yImg = pixel->y();
        ++points.num;
    });
}

std::vector<PointCell> pointCells(const PointTable& table, const PictureBounds& picture) {
    std::vector<PointCell> cells;
    forEachPointCell(table, [&](int col, int row, double lat, double lon) {
        if (picture.contains(lat, lon)) {
            cells.push_back({col, row});
        }
    });
    return cells;
}

QString pointCapText(const PointTable& table, const std::vector<PointCell>& cells) {
    const auto capacity = static_cast<std::size_t>(Tpoints::kCapacity);
    if (cells.size() <= capacity) {
        return {};
    }
    std::map<int, int> left;
    for (std::size_t i = capacity; i < cells.size(); ++i) {
        ++left[cells[i].col];
    }
    QStringList columns;
    for (const auto& [col, count] : left) {
        columns << QStringLiteral("%1 (%2)").arg(columnCaption(table, col)).arg(count);
    }
    return QStringLiteral(
               "На карте только первые %1 точек из %2 на ней: не нанесены %3, из столбцов %4.")
        .arg(capacity)
        .arg(cells.size())
        .arg(cells.size() - capacity)
        .arg(columns.join(QStringLiteral(", ")));
}

}  // namespace zelkora
