#pragma once

#include <QString>
#include <vector>

namespace zelkora {

class PointTable;

// What one change did to a point table, kept so that it can be undone and redone: the shape
// before and after, and every cell whose text differs. It costs memory in proportion to the
// cells that changed, not to the table, and the texts are shared with the table's own.
class TableChange {
  public:
    // The table as it stands, to compare with later. Cheap: the texts are shared.
    class Snapshot {
      public:
        explicit Snapshot(const PointTable& table);

      private:
        friend class TableChange;
        int cols_;
        int rows_;
        std::vector<QString> cells_;  // column-major
    };

    struct Cell {
        int col;
        int row;
        QString before;
        QString after;
    };

    // The change from before to the table as it stands now.
    TableChange(const Snapshot& before, const PointTable& after);

    bool isEmpty() const { return cells_.empty() && !shapeChanged(); }
    bool shapeChanged() const { return colsBefore_ != colsAfter_ || rowsBefore_ != rowsAfter_; }
    const std::vector<Cell>& cells() const { return cells_; }

    // Puts the table back as it was before the change, or as it was after it. The table must
    // stand as the change left it, or as it was before it, respectively.
    void undo(PointTable& table) const;
    void redo(PointTable& table) const;

  private:
    void apply(PointTable& table, bool forward) const;

    int colsBefore_;
    int rowsBefore_;
    int colsAfter_;
    int rowsAfter_;
    std::vector<Cell> cells_;  // over both shapes, column by column
};

}  // namespace zelkora
