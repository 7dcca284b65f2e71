#include "shell/GroupChoiceDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <vector>

#include "common/VisibleText.h"
#include "records/TooManyGroups.h"

namespace zelkora {

GroupChoiceDialog::GroupChoiceDialog(QWidget* parent, const TooManyGroups& groups)
    : QDialog(parent), limit_(groups.freeColumns()), groups_(groups.groups()) {
    setObjectName(QStringLiteral("groupChoice"));
    setWindowTitle(QStringLiteral("Выбор групп"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("В файле %1 групп по «%2», а свободных столбцов в таблице %3: по одному "
                       "на группу. Отметьте группы, точки которых нанести на карту.")
            .arg(groups_.size())
            .arg(visibleText(groups.field()))
            .arg(limit_),
        this);
    text->setWordWrap(true);
    list_ = new QListWidget(this);
    const std::vector<qint64>& counts = groups.counts();
    for (qsizetype i = 0; i < groups_.size(); ++i) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1 — %2").arg(visibleText(groups_[i])).arg(counts[std::size_t(i)]),
            list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // The groups with the most records, as many as fit; among equals, the first in the file.
    std::vector<int> byCount(static_cast<std::size_t>(groups_.size()));
    std::iota(byCount.begin(), byCount.end(), 0);
    std::stable_sort(byCount.begin(), byCount.end(), [&](int a, int b) {
        return counts[static_cast<std::size_t>(a)] > counts[static_cast<std::size_t>(b)];
    });
    for (std::size_t k = 0; k < byCount.size() && k < static_cast<std::size_t>(limit_); ++k) {
        list_->item(byCount[k])->setCheckState(Qt::Checked);
    }
    count_ = new QLabel(this);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("Импортировать"), QDialogButtonBox::AcceptRole);
    ok_->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemChanged, this, [this] { refresh(); });
    layout->addWidget(text);
    layout->addWidget(list_, 1);
    layout->addWidget(count_);
    layout->addWidget(buttons);
    resize(480, 420);
    refresh();
}

std::optional<QStringList> GroupChoiceDialog::ask(QWidget* parent, const TooManyGroups& groups) {
    GroupChoiceDialog dialog(parent, groups);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen();
}

QStringList GroupChoiceDialog::chosen() const {
    QStringList names;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->checkState() == Qt::Checked) {
            names << groups_[i];
        }
    }
    return names;
}

// Once as many groups as columns are checked, the others cannot be.
void GroupChoiceDialog::refresh() {
    const auto checked = static_cast<int>(chosen().size());
    const QSignalBlocker quiet(list_);
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        const bool open = checked < limit_ || item->checkState() == Qt::Checked;
        item->setFlags(open ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags);
    }
    count_->setText(QStringLiteral("Отмечено групп: %1 из %2.").arg(checked).arg(limit_));
    ok_->setEnabled(checked > 0 && checked <= limit_);
}

}  // namespace zelkora
