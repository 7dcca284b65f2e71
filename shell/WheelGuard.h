#pragma once

#include <QObject>

class QWidget;

namespace zelkora {

// Keeps a stray wheel notch from changing a control: a control that does not hold the keyboard
// focus passes the wheel on to what lies under it (a scrolled view scrolls, the window ignores
// it), and the wheel never gives it the focus.
class WheelGuard : public QObject {
  public:
    // Guards control; the guard lives as long as the control.
    static void install(QWidget* control);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
};

}  // namespace zelkora
