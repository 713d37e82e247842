// Gives a window's keyboard focus to one widget whenever the window is
// shown or activated, as a Win32 main window takes the focus itself: the
// accelerators then work at once, not only after a click on the graph.
#pragma once

#include <QObject>

class QWidget;

namespace zx {

class ActivationFocus : public QObject {
 public:
  // Watches `window`; `target` (a child of it) takes the focus.
  ActivationFocus(QWidget* window, QWidget* target);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  QWidget* target_;
};

}  // namespace zx
