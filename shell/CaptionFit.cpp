#include "shell/CaptionFit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <optional>

#include "shell/WrapCheckBox.h"

namespace zelkora {

namespace {

// Room that Fusion leaves a group box's title: its margin on either side.
constexpr int kGroupTitleMargin = 8;
// Room kept clear beside a button's caption, so it does not touch the frame.
constexpr int kButtonTextMargin = 3;

struct Caption {
    QString text;
    QRect room;
    bool wraps = false;
};

// The room a check box or a radio button leaves its caption beside the indicator.
QRect indicatorCaptionRoom(const QAbstractButton* button, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(contents, &option, button);
}

std::optional<Caption> captionOf(const QWidget* widget) {
    if (const auto* wrapBox = dynamic_cast<const WrapCheckBox*>(widget)) {
        return Caption{wrapBox->text(), wrapBox->captionRect(), true};
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
        return Caption{box->text(), indicatorCaptionRoom(box, QStyle::SE_CheckBoxContents)};
    }
    if (const auto* radio = qobject_cast<const QRadioButton*>(widget)) {
        return Caption{radio->text(), indicatorCaptionRoom(radio, QStyle::SE_RadioButtonContents)};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        // A caption broken into lines is measured line by line, within the button's height.
        return Caption{button->text(),
                       button->rect().adjusted(kButtonTextMargin, 0, -kButtonTextMargin, 0),
                       button->text().contains(QLatin1Char('\n'))};
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return Caption{label->text(), label->contentsRect(), label->wordWrap()};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return Caption{group->title(),
                       group->rect().adjusted(kGroupTitleMargin, 0, -kGroupTitleMargin, 0)};
    }
    return std::nullopt;
}

// A group box passes its font on to its children; they keep the one they have.
void keepChildFonts(QWidget* widget) {
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->setFont(child->font());
    }
}

}  // namespace

bool CaptionFit::fits(const QWidget* widget) {
    const std::optional<Caption> caption = captionOf(widget);
    if (!caption || caption->text.isEmpty()) {
        return true;
    }
    const QFontMetrics metrics(widget->font());
    if (!caption->wraps) {
        return metrics.horizontalAdvance(caption->text) <= caption->room.width();
    }
    const QRect needed =
        metrics.boundingRect(caption->room, WrapCheckBox::kCaptionFlags, caption->text);
    return needed.width() <= caption->room.width() && needed.height() <= caption->room.height();
}

void CaptionFit::fitAll(QWidget* root) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (fits(widget)) {
            continue;
        }
        if (qobject_cast<QGroupBox*>(widget)) {
            keepChildFonts(widget);
        }
        QFont font = widget->font();
        while (!fits(widget) && font.pixelSize() > kSmallestPixels) {
            font.setPixelSize(font.pixelSize() - 1);
            widget->setFont(font);
        }
    }
}

}  // namespace zelkora
