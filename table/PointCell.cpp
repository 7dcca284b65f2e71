#include "table/PointCell.h"

#include "table/CommaText.h"

namespace zelkora {

bool splitPointCell(const QString& cell, QStringList& items) {
    if (cell.size() <= 2) {
        return false;
    }
    items = SplitCommaText(cell);
    return items.size() == 2;
}

}  // namespace zelkora
