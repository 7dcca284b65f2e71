#pragma once

#include <QPersistentModelIndex>
#include <QTableView>
#include <functional>
#include <vector>

namespace zelkora {

class PointTable;

// The table on the window: a grid of text cells without header sections, every cell editable
// in place. It reports each close of the in-place editor, whether the text changed or not.
//
// A click on the cell that already holds the focus frame opens its editor at once, and typing on
// a chosen cell opens it with the first key, so no key typed after a click is lost. When the
// window's focus rule hands the table the focus, typing does not edit the current cell until the
// user chooses a cell: a click, the arrow keys, Enter or F2 (or Tab into the table).
//
// The context menu shows the table's actions, in the order they were added (addAction).
class StringGrid : public QTableView {
  public:
    static constexpr int kDefaultColWidth = 70;
    static constexpr int kDefaultRowHeight = 29;

    // Called with the cell and its text after the in-place editor has closed.
    using EditorClosedFn = std::function<void(int col, int row, const QString& text)>;

    struct CellRange {
        int left = 0;
        int top = 0;
        int right = -1;
        int bottom = -1;
    };

    StringGrid(PointTable* table, QWidget* parent = nullptr);

    PointTable& table() const { return *table_; }
    // True while the in-place editor is open.
    bool EditorMode() const { return state() == EditingState; }
    void setOnEditorClosed(EditorClosedFn fn) { editorClosed_ = std::move(fn); }

    // The focus as the window's focus rule gives it: when the table did not have it, typing does
    // not edit until the user chooses a cell.
    void takeFocusFromRule();
    // Whether keys typed now may change the table.
    bool userChoseCell() const { return chosen_; }

    // The cells the user has selected, or the current cell when none is; column by column.
    std::vector<QPoint> selectedCells() const;
    // The rectangle around the selected cells (or the current cell) as tab-separated text: a line
    // per row, a tab between cells. Empty when no cell is chosen.
    QString selectedText() const;
    // Makes (col, row) the current and only selected cell and shows it; the user chose it.
    void chooseCell(int col, int row);
    // The same for the cells from (left, top) to (right, bottom), the first one current.
    void chooseCells(int left, int top, int right, int bottom);

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    CellRange selectedRange() const;

    PointTable* table_;
    QPersistentModelIndex editing_;
    EditorClosedFn editorClosed_;
    bool chosen_ = false;
    bool focusedByPress_ = false;
    QPersistentModelIndex pressedOnCurrent_;  // a press on the focused current cell
};

}  // namespace zelkora
