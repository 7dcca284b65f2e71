#include "table/PointCell.h"

#include "table/CommaText.h"
#include "table/CoordFormat.h"

namespace zelkora {

bool splitPointCell(const QString& cell, QStringList& items) {
    if (cell.size() <= 2) {
        return false;
    }
    items = SplitCommaText(cell);
    return items.size() == 2;
}

QString pointCellText(double lat, double lon) {
    return formatCoordinate(lat) + QStringLiteral(", ") + formatCoordinate(lon);
}

}  // namespace zelkora
