#include "table/TableChange.h"

#include <algorithm>

#include "table/PointTable.h"

namespace zelkora {

TableChange::Snapshot::Snapshot(const PointTable& table)
    : cols_(table.ColCount()), rows_(table.RowCount()) {
    cells_.reserve(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_));
    for (int c = 0; c < cols_; ++c) {
        for (int r = 0; r < rows_; ++r) {
            cells_.push_back(table.cell(c, r));
        }
    }
}

TableChange::TableChange(const Snapshot& before, const PointTable& after)
    : colsBefore_(before.cols_),
      rowsBefore_(before.rows_),
      colsAfter_(after.ColCount()),
      rowsAfter_(after.RowCount()) {
    const auto beforeCell = [&](int c, int r) {
        return c < colsBefore_ && r < rowsBefore_
                   ? before.cells_[static_cast<std::size_t>(c) *
                                       static_cast<std::size_t>(rowsBefore_) +
                                   static_cast<std::size_t>(r)]
                   : QString();
    };
    const int cols = std::max(colsBefore_, colsAfter_);
    const int rows = std::max(rowsBefore_, rowsAfter_);
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < rows; ++r) {
            QString was = beforeCell(c, r);
            QString now = after.cell(c, r);
            if (was != now) {
                cells_.push_back({c, r, std::move(was), std::move(now)});
            }
        }
    }
}

void TableChange::undo(PointTable& table) const {
    apply(table, false);
}

void TableChange::redo(PointTable& table) const {
    apply(table, true);
}

// A new shape keeps the cells that still fit and empties the rest, so only the cells that differ
// need writing afterwards; a cell outside the new shape has nothing to write.
void TableChange::apply(PointTable& table, bool forward) const {
    table.setShape(forward ? colsAfter_ : colsBefore_, forward ? rowsAfter_ : rowsBefore_);
    for (const Cell& cell : cells_) {
        if (cell.col < table.ColCount() && cell.row < table.RowCount()) {
            table.setCell(cell.col, cell.row, forward ? cell.after : cell.before);
        }
    }
}

}  // namespace zelkora
