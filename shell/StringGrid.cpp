#include "shell/StringGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <utility>

#include "table/PointTable.h"

namespace zelkora {

namespace {

bool choosesCell(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            return true;
        default:
            return false;
    }
}

// A key that would start editing with its text: a letter, a digit, a sign, the space.
bool typesText(const QKeyEvent* event) {
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

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
    // Typing on a cell starts editing it, as in a spreadsheet. A click on the current cell opens
    // its editor too, but at once (mouseReleaseEvent): the view's own delayed opening, which
    // waits out a double click, drops the keys typed meanwhile.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    // Tab leaves the table for the next control.
    setTabKeyNavigation(false);
    setWordWrap(true);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void StringGrid::takeFocusFromRule() {
    if (hasFocus()) {
        return;
    }
    chosen_ = false;
    setFocus(Qt::OtherFocusReason);
}

std::vector<QPoint> StringGrid::selectedCells() const {
    std::vector<QPoint> cells;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected) {
        cells.emplace_back(index.column(), index.row());
    }
    if (cells.empty() && currentIndex().isValid()) {
        cells.emplace_back(currentIndex().column(), currentIndex().row());
    }
    std::sort(cells.begin(), cells.end(),
              [](QPoint a, QPoint b) { return std::pair(a.x(), a.y()) < std::pair(b.x(), b.y()); });
    return cells;
}

StringGrid::CellRange StringGrid::selectedRange() const {
    CellRange range{table_->ColCount(), table_->RowCount(), -1, -1};
    for (const QPoint cell : selectedCells()) {
        range.left = std::min(range.left, cell.x());
        range.top = std::min(range.top, cell.y());
        range.right = std::max(range.right, cell.x());
        range.bottom = std::max(range.bottom, cell.y());
    }
    return range;
}

QString StringGrid::selectedText() const {
    const CellRange range = selectedRange();
    QStringList lines;
    for (int row = range.top; row <= range.bottom; ++row) {
        QStringList cells;
        for (int col = range.left; col <= range.right; ++col) {
            cells << table_->cell(col, row);
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void StringGrid::chooseCell(int col, int row) {
    chooseCells(col, row, col, row);
}

void StringGrid::chooseCells(int left, int top, int right, int bottom) {
    const QModelIndex first = table_->index(top, left);
    const QModelIndex last = table_->index(bottom, right);
    if (!first.isValid() || !last.isValid()) {
        return;
    }
    chosen_ = true;
    setCurrentIndex(first);
    selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
    scrollTo(first);
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
    if (choosesCell(event->key())) {
        chosen_ = true;
    } else if (!chosen_ && !EditorMode() && typesText(event)) {
        // The focus came from the focus rule, not from the user: the key was meant elsewhere.
        event->accept();
        return;
    }
    // Enter opens the editor of the current cell; in the editor it closes it.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !EditorMode() &&
        currentIndex().isValid()) {
        edit(currentIndex(), AllEditTriggers, nullptr);
        return;
    }
    QTableView::keyPressEvent(event);
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    chosen_ = true;
    // The press that brings the focus only chooses the cell; the focus frame was not on it.
    const bool hadFocus = !std::exchange(focusedByPress_, false);
    const QModelIndex at = indexAt(event->position().toPoint());
    const bool onCurrent = event->button() == Qt::LeftButton &&
                           event->modifiers() == Qt::NoModifier && hadFocus && at.isValid() &&
                           at == currentIndex() && !EditorMode();
    pressedOnCurrent_ = onCurrent ? QPersistentModelIndex(at) : QPersistentModelIndex();
    QTableView::mousePressEvent(event);
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    const QPersistentModelIndex pressed = std::exchange(pressedOnCurrent_, QPersistentModelIndex());
    if (pressed.isValid() && event->button() == Qt::LeftButton &&
        indexAt(event->position().toPoint()) == pressed && currentIndex() == pressed &&
        !EditorMode()) {
        edit(pressed, AllEditTriggers, nullptr);
    }
}

void StringGrid::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        chosen_ = true;
    }
    focusedByPress_ = event->reason() == Qt::MouseFocusReason;
    QTableView::focusInEvent(event);
}

}  // namespace zelkora
