#include "table/PointInsert.h"

#include <algorithm>

#include "common/ZelkoraError.h"
#include "coordtext/Normaliser.h"
#include "table/CoordFormat.h"
#include "table/ImportReport.h"
#include "table/PointTable.h"

namespace zelkora {

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

namespace {

// Places the points of one insert where newPointRow would place them one after another. Growing
// the table moves every cell, so it grows by half its rows at a time rather than by one, and the
// rows no point needed are taken off again when the insert ends: a paste of many points takes
// linear time, not quadratic.
class PointPlacer {
  public:
    PointPlacer(PointTable& table, int column)
        : table_(table), column_(column), rows_(table.RowCount()) {
        requireColumn(table, column);
        lastFilled_ = lastFilledRow(table, column);
    }

    void place(const QString& cell) {
        int row = lastFilled_ + 1;
        const int last = rows_ - 1;
        if (row > last || (row == last && !table_.cell(column_, row).isEmpty())) {
            grow();
            row = rows_ - 1;
        } else {
            lastFilled_ = row < last ? row : lastFilled_;  // the last row is never searched
        }
        table_.setCell(column_, row, cell);
    }

    // Takes off the rows no point needed.
    void finish() {
        if (table_.RowCount() > rows_) {
            table_.setShape(table_.ColCount(), rows_);
        }
    }

  private:
    // One more row, as appendRow would add it; the row that was last is searched from now on.
    void grow() {
        ++rows_;
        if (table_.RowCount() < rows_) {
            table_.setShape(table_.ColCount(), std::max(rows_, rows_ + rows_ / 2));
        }
        if (!table_.cell(column_, rows_ - 2).isEmpty()) {
            lastFilled_ = rows_ - 2;
        }
    }

    PointTable& table_;
    int column_;
    int rows_;        // the rows the table has for the points placed so far
    int lastFilled_;  // lastFilledRow over those rows
};

template <typename ForEachLine>
int insertEachLine(PointTable& table, int column, ImportReport* report, ForEachLine forEachLine) {
    PointPlacer placer(table, column);
    int written = 0;
    MapCheck onMap;
    if (report && report->pictureCheck()) {
        onMap = report->pictureCheck();
    }
    qsizetype number = 0;
    try {
        forEachLine([&](QStringView line) {
            ++number;
            const LinePoints reading = readLinePoints(line, onMap);
            // A line without a point writes nothing (it must not erase a full column's last
            // row); every line but a blank one is reported.
            for (const LinePoint& point : reading.points) {
                placer.place(formatPointCell(point.lat, point.lon));
                ++written;
            }
            if (report && !isBlankLine(line)) {
                report->addLine(number, line, reading);
            }
        });
    } catch (...) {
        placer.finish();
        throw;
    }
    placer.finish();
    return written;
}

}  // namespace

int insertPoints(PointTable& table, int column, const QStringList& lines, ImportReport* report) {
    return insertEachLine(table, column, report, [&](const auto& visit) {
        for (const QString& line : lines) {
            visit(line);
        }
    });
}

int insertPastedText(PointTable& table, int column, QStringView text, ImportReport* report) {
    return insertEachLine(table, column, report,
                          [&](const auto& visit) { forEachPastedLine(text, visit); });
}

void forEachPastedLine(QStringView text, const std::function<void(QStringView line)>& visit) {
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            continue;
        }
        visit(text.sliced(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) {
            ++i;
        }
        start = i + 1;
    }
    if (start < n) {
        visit(text.sliced(start));
    }
}

QStringList splitPastedLines(const QString& text) {
    QStringList lines;
    forEachPastedLine(text, [&](QStringView line) { lines << line.toString(); });
    return lines;
}

}  // namespace zelkora
