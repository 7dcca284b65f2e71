#include "table/PointTable.h"

#include <algorithm>

#include "common/ZelkoraError.h"

namespace zelkora {

PointTable::PointTable(QObject* parent)
    : QAbstractTableModel(parent), cells_(offset(colCount_, 0)) {}

QString PointTable::cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) {
        return {};
    }
    return cells_[offset(col, row)];
}

void PointTable::setCell(int col, int row, const QString& text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) {
        throw ZelkoraError(QStringLiteral("В таблице нет ячейки (столбец %1, строка %2): "
                                          "в ней %3 столбцов и %4 строк")
                               .arg(col)
                               .arg(row)
                               .arg(colCount_)
                               .arg(rowCount_));
    }
    QString& target = cells_[offset(col, row)];
    if (target != text) {
        target = text;
        const QModelIndex at = index(row, col);
        emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
    }
}

void PointTable::setShape(int cols, int rows) {
    cols = std::max(cols, 1);
    rows = std::max(rows, 1);
    if (cols == colCount_ && rows == rowCount_) {
        return;
    }
    std::vector<QString> cells(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
    for (int c = 0; c < std::min(cols, colCount_); ++c) {
        for (int r = 0; r < std::min(rows, rowCount_); ++r) {
            cells[static_cast<std::size_t>(c) * static_cast<std::size_t>(rows) +
                  static_cast<std::size_t>(r)] = std::move(cells_[offset(c, r)]);
        }
    }
    beginResetModel();
    colCount_ = cols;
    rowCount_ = rows;
    cells_ = std::move(cells);
    endResetModel();
}

void PointTable::appendRow() {
    beginInsertRows(QModelIndex(), rowCount_, rowCount_);
    const std::size_t oldRows = static_cast<std::size_t>(rowCount_);
    const std::size_t newRows = oldRows + 1;
    cells_.resize(static_cast<std::size_t>(colCount_) * newRows);
    // Column-major: every column after the first moves down by the rows added before it.
    for (std::size_t c = static_cast<std::size_t>(colCount_); c-- > 1;) {
        const auto from = cells_.begin() + static_cast<std::ptrdiff_t>(c * oldRows);
        std::move_backward(from, from + static_cast<std::ptrdiff_t>(oldRows),
                           cells_.begin() + static_cast<std::ptrdiff_t>(c * newRows + oldRows));
    }
    for (std::size_t c = 0; c < static_cast<std::size_t>(colCount_); ++c) {
        cells_[c * newRows + oldRows] = QString();
    }
    ++rowCount_;
    endInsertRows();
}

void PointTable::clearCells() {
    beginResetModel();
    for (QString& text : cells_) {
        text.clear();
    }
    endResetModel();
}

void PointTable::replaceAll(int cols, int rows, std::vector<QString> cellsColumnMajor) {
    cols = std::max(cols, 1);
    rows = std::max(rows, 1);
    cellsColumnMajor.resize(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
    beginResetModel();
    colCount_ = cols;
    rowCount_ = rows;
    cells_ = std::move(cellsColumnMajor);
    endResetModel();
}

int PointTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int PointTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount_;
}

QVariant PointTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return cell(index.column(), index.row());
}

bool PointTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    setCell(index.column(), index.row(), value.toString());
    return true;
}

Qt::ItemFlags PointTable::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

}  // namespace zelkora
