#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace zelkora {

// Paints the table's cells through the window's draw handler, marks the current cell with a
// focus rectangle, and edits a cell in a single-line editor, whose text goes into the table
// through the window's commit handler.
class CellDelegate : public QStyledItemDelegate {
  public:
    // Paints the whole cell (col, row) into rect.
    using DrawFn = std::function<void(QPainter* painter, int col, int row, const QRect& rect)>;
    // Hears every change of an open editor's text.
    using EditTextFn = std::function<void(int col, int row, const QString& text)>;

    // Takes the editor's text into the cell.
    using CommitFn = std::function<void(int col, int row, const QString& text)>;

    CellDelegate(DrawFn draw, EditTextFn editText, CommitFn commit, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  private:
    DrawFn draw_;
    EditTextFn editText_;
    CommitFn commit_;
};

}  // namespace zelkora
