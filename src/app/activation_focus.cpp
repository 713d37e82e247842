#include "app/activation_focus.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace zx {

ActivationFocus::ActivationFocus(QWidget* window, QWidget* target)
    : QObject(window), window_(window), target_(target) {
  window->installEventFilter(this);
}

bool ActivationFocus::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ &&
      (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)) {
    // A click that activates the window puts the focus where it lands.
    if (QGuiApplication::mouseButtons() == Qt::NoButton)
      target_->setFocus(Qt::ActiveWindowFocusReason);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zx
