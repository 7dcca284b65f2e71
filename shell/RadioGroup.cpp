#include "shell/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <algorithm>

namespace zelkora {

namespace {

// Room for the caption above the buttons and a margin below them.
constexpr int kTopMargin = 16;
constexpr int kBottomMargin = 4;
constexpr int kSideMargin = 8;

}  // namespace

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent),
      items_(items),
      columns_(std::max(columns, 1)),
      group_(new QButtonGroup(this)) {
    for (int i = 0; i < items_.size(); ++i) {
        auto* button = new QRadioButton(items_[i], this);
        group_->addButton(button, i);
        buttons_ << button;
    }
    setItemIndex(0);
    arrangeButtons();
}

int RadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (index >= 0 && index < buttons_.size()) {
        buttons_[index]->setChecked(true);
    }
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    arrangeButtons();
}

void RadioGroup::arrangeButtons() {
    if (buttons_.isEmpty()) {
        return;
    }
    const int perColumn = static_cast<int>((buttons_.size() + columns_ - 1) / columns_);
    const int columnWidth = (width() - 2 * kSideMargin) / columns_;
    const int rowHeight = (height() - kTopMargin - kBottomMargin) / perColumn;
    for (int i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setGeometry(kSideMargin + (i / perColumn) * columnWidth,
                                 kTopMargin + (i % perColumn) * rowHeight, columnWidth - 4,
                                 rowHeight);
    }
}

}  // namespace zelkora
