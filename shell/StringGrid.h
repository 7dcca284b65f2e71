#pragma once

#include <QPersistentModelIndex>
#include <QTableView>
#include <functional>

namespace zelkora {

class PointTable;

// The table on the window: a grid of text cells without header sections, every cell editable
// in place. It reports each close of the in-place editor, whether the text changed or not.
class StringGrid : public QTableView {
  public:
    static constexpr int kDefaultColWidth = 70;
    static constexpr int kDefaultRowHeight = 29;

    // Called with the cell and its text after the in-place editor has closed.
    using EditorClosedFn = std::function<void(int col, int row, const QString& text)>;

    StringGrid(PointTable* table, QWidget* parent = nullptr);

    PointTable& table() const { return *table_; }
    // True while the in-place editor is open.
    bool EditorMode() const { return state() == EditingState; }
    void setOnEditorClosed(EditorClosedFn fn) { editorClosed_ = std::move(fn); }

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    PointTable* table_;
    QPersistentModelIndex editing_;
    EditorClosedFn editorClosed_;
};

}  // namespace zelkora
