#include "table/PointInsert.h"

#include "common/ZelkoraError.h"
#include "table/PointTable.h"
#include "table/myParser.h"

int lastFilledRow(const PointTable& table, int column) {
    int r = table.RowCount() - 2;
    while (r > 0 && table.cell(column, r).isEmpty()) {
        --r;
    }
    return r < 0 ? 0 : r;
}

namespace {

void requireColumn(const PointTable& table, int column) {
    if (column < 0 || column >= table.ColCount()) {
        throw ZelkoraError(
            QStringLiteral("Точку нельзя вставить в столбец %1: номера столбцов этой "
                           "таблицы — от 0 до %2")
                .arg(column)
                .arg(table.ColCount() - 1));
    }
}

}  // namespace

int newPointRow(PointTable& table, int column) {
    requireColumn(table, column);
    const int row = lastFilledRow(table, column) + 1;
    const int last = table.RowCount() - 1;
    if (row > last || (row == last && !table.cell(column, row).isEmpty())) {
        table.appendRow();
        return last + 1;
    }
    return row;
}

int insertOnePoint(PointTable& table, int column, QString& latText, QString& lonText) {
    const int row = newPointRow(table, column);
    latText.replace(QLatin1Char(','), QLatin1Char('.'));
    lonText.replace(QLatin1Char(','), QLatin1Char('.'));
    table.setCell(column, row, latText + QStringLiteral(", ") + lonText);
    return row;
}

int insertPoints(PointTable& table, int column, const QStringList& lines) {
    requireColumn(table, column);
    int written = 0;
    for (const QString& line : lines) {
        const QString cell = myParser(line);
        if (cell.isEmpty()) {
            continue;  // an unusable line must not erase a full column's last row
        }
        table.setCell(column, newPointRow(table, column), cell);
        ++written;
    }
    return written;
}

QStringList splitPastedLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            continue;
        }
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) {
            ++i;
        }
        start = i + 1;
    }
    if (start < n) {
        lines << text.mid(start);
    }
    return lines;
}
