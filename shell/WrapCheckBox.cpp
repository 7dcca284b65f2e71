#include "shell/WrapCheckBox.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace zelkora {

WrapCheckBox::WrapCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

QRect WrapCheckBox::textRect(const QRect& indicator) const {
    QRect r = rect();
    r.setLeft(indicator.right() + 1 + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
    return r;
}

void WrapCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);

    const QRect text = textRect(option.rect);
    painter.drawItemText(text, kCaptionFlags, palette(), isEnabled(), this->text(),
                         QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.fontMetrics()
                         .boundingRect(text, kCaptionFlags, this->text())
                         .adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

QRect WrapCheckBox::captionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return textRect(style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this));
}

bool WrapCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

}  // namespace zelkora
