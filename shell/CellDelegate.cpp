#include "shell/CellDelegate.h"

#include <QLineEdit>
#include <QPainter>

namespace zelkora {

CellDelegate::CellDelegate(DrawFn draw, EditTextFn editText, CommitFn commit, QObject* parent)
    : QStyledItemDelegate(parent),
      draw_(std::move(draw)),
      editText_(std::move(editText)),
      commit_(std::move(commit)) {}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    draw_(painter, index.column(), index.row(), option.rect);
    if (option.state & QStyle::State_HasFocus) {
        // Drawn here rather than by the style, which shows it only after keyboard navigation.
        painter->save();
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (editText_) {
        const QPersistentModelIndex at(index);
        const EditTextFn editText = editText_;
        QObject::connect(editor, &QLineEdit::textEdited, editor,
                         [at, editText](const QString& text) {
                             if (at.isValid()) {
                                 editText(at.column(), at.row(), text);
                             }
                         });
    }
    return editor;
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        return;
    }
    // A pasted line break would split the cell in a table file; it becomes a blank, as the
    // comma-text rules treat it anyway.
    QString text = line->text();
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (commit_) {
        commit_(index.column(), index.row(), text);
    } else {
        model->setData(index, text, Qt::EditRole);
    }
}

}  // namespace zelkora
