#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <vector>

namespace zelkora {

// The table of points: ColCount columns (one per marker type) by RowCount rows of text cells.
// Row 0 is the header. The window's table view shows it directly; the core reads and writes
// it through the accessors below.
class PointTable : public QAbstractTableModel {
  public:
    static constexpr int kDefaultColCount = 9;
    static constexpr int kDefaultRowCount = 70;

    explicit PointTable(QObject* parent = nullptr);

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }

    // Empty text for a cell outside the table.
    QString cell(int col, int row) const;
    // Throws ZelkoraError for a cell outside the table.
    void setCell(int col, int row, const QString& text);

    // Changes the shape, keeping the cells that still fit; values below 1 count as 1.
    void setShape(int cols, int rows);
    // Adds one empty row at the bottom, as a row insertion the view can follow cheaply.
    void appendRow();
    // Empties every cell; the shape stays.
    void clearCells();
    // Replaces shape and every cell in one step. cellsColumnMajor holds cols * rows texts,
    // column 0 from row 0 down, then column 1, and so on.
    void replaceAll(int cols, int rows, std::vector<QString> cellsColumnMajor);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::size_t offset(int col, int row) const {
        return static_cast<std::size_t>(col) * static_cast<std::size_t>(rowCount_) +
               static_cast<std::size_t>(row);
    }

    int colCount_ = kDefaultColCount;
    int rowCount_ = kDefaultRowCount;
    std::vector<QString> cells_;  // column-major, like the table file
};

}  // namespace zelkora
