#include "ui/focused_wheel.h"

#include <QEvent>
#include <QWidget>

namespace zx {

namespace {

class FocusedWheel : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
      event->ignore();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void TakeWheelOnlyWhenFocused(QWidget* control) {
  // Wheel turns must not hand the focus over either.
  if (control->focusPolicy() == Qt::WheelFocus) control->setFocusPolicy(Qt::StrongFocus);
  control->installEventFilter(new FocusedWheel(control));
}

}  // namespace zx
