#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace zelkora {

// A captioned group of radio buttons, one per item, laid out in columns filled top to bottom.
// Exactly one item is chosen at any time.
class RadioGroup : public QGroupBox {
  public:
    RadioGroup(const QString& caption, const QStringList& items, int columns,
               QWidget* parent = nullptr);

    int ItemIndex() const;
    void setItemIndex(int index);
    const QStringList& Items() const { return items_; }
    QRadioButton* button(int index) const { return buttons_.at(index); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void arrangeButtons();

    QStringList items_;
    int columns_;
    QButtonGroup* group_;
    QList<QRadioButton*> buttons_;
};

}  // namespace zelkora
