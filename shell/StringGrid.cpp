#include "shell/StringGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <utility>

#include "table/PointTable.h"

namespace zelkora {

StringGrid::StringGrid(PointTable* table, QWidget* parent) : QTableView(parent), table_(table) {
    setModel(table_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(kDefaultColWidth);
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Typing on a cell starts editing it, as in a spreadsheet.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    // Tab leaves the table for the next control.
    setTabKeyNavigation(false);
    setWordWrap(true);
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened && state() == EditingState) {
        editing_ = index;
    }
    return opened;
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool wasEditing = state() == EditingState;
    // Tab in the editor leaves the table instead of opening the next cell.
    const bool tabbed = hint == QAbstractItemDelegate::EditNextItem ||
                        hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, tabbed ? QAbstractItemDelegate::NoHint : hint);
    if (wasEditing && !EditorMode()) {
        const QPersistentModelIndex closed = std::exchange(editing_, QPersistentModelIndex());
        if (closed.isValid() && editorClosed_) {
            editorClosed_(closed.column(), closed.row(), closed.data(Qt::EditRole).toString());
        }
    }
    if (tabbed) {
        focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
    }
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    // Enter opens the editor of the current cell; in the editor it closes it.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !EditorMode() &&
        currentIndex().isValid()) {
        edit(currentIndex(), AllEditTriggers, nullptr);
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace zelkora
