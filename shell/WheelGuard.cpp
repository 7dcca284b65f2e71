#include "shell/WheelGuard.h"

#include <QEvent>
#include <QWidget>

namespace zelkora {

void WheelGuard::install(QWidget* control) {
    if (control->focusPolicy() == Qt::WheelFocus) {
        control->setFocusPolicy(Qt::StrongFocus);
    }
    control->installEventFilter(new WheelGuard(control));
}

// An ignored wheel event that a filter stops goes on to the parent widgets.
bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
        event->ignore();
        return true;
    }
    return false;
}

}  // namespace zelkora
