#include "table/HeaderRow.h"

#include "common/VisibleText.h"
#include "table/CommaText.h"
#include "table/PointTable.h"

namespace zelkora {

QStringList markerTypeNames() {
    QStringList names;
    for (std::u16string_view name : kMarkerTypeNames) {
        names << QString(reinterpret_cast<const QChar*>(name.data()),
                         static_cast<qsizetype>(name.size()));
    }
    return names;
}

void fillHeaderRow(PointTable& table) {
    const QString joined = JoinCommaText(markerTypeNames());
    for (int c = 0; c < table.ColCount(); ++c) {
        table.setCell(c, 0, QString());
    }
    for (const QString& item : SplitCommaText(joined)) {
        int c = 0;
        while (c < table.ColCount() && !table.cell(c, 0).isEmpty()) {
            ++c;
        }
        if (c == table.ColCount()) {
            return;
        }
        // An empty name still occupies its cell.
        table.setCell(c, 0, item.isEmpty() ? QStringLiteral(" ") : item);
    }
}

QString columnCaption(const PointTable& table, int col) {
    const QString header = table.cell(col, 0).trimmed();
    if (header.isEmpty()) {
        return QStringLiteral("№%1").arg(col + 1);
    }
    return QStringLiteral("«%1»").arg(visibleText(header));
}

QString cellLocation(const PointTable& table, int col, int row) {
    return QStringLiteral("Ячейка: столбец %1, строка %2").arg(columnCaption(table, col)).arg(row);
}

}  // namespace zelkora
