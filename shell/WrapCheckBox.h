#pragma once

#include <QCheckBox>

namespace zelkora {

// A check box whose caption wraps at word breaks within the box's width, beside the indicator
// and centred on it vertically. A click anywhere on the box toggles it.
class WrapCheckBox : public QCheckBox {
  public:
    // How the caption is laid out in its rectangle.
    static constexpr int kCaptionFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

    explicit WrapCheckBox(const QString& text, QWidget* parent = nullptr);

    // Where the caption goes: the box right of the indicator.
    QRect captionRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    QRect textRect(const QRect& indicator) const;
};

}  // namespace zelkora
