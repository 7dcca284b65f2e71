#pragma once

#include <QCheckBox>

namespace zelkora {

// A check box whose caption wraps at word breaks within the box's width, beside the indicator
// and centred on it vertically. A click anywhere on the box toggles it.
class WrapCheckBox : public QCheckBox {
  public:
    explicit WrapCheckBox(const QString& text, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    QRect textRect(const QRect& indicator) const;
};

}  // namespace zelkora
