#include "ui/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace zx {

QRect PlaceBeside(const QRect& mainFrame, QSize wanted, QSize minimum, const QRect& available) {
  const QSize size = wanted.expandedTo(minimum).boundedTo(available.size()).expandedTo(minimum);
  const int right = available.right() - mainFrame.right();  // room right of the main window
  const int left = mainFrame.left() - available.left();     // and left of it
  int x, w = size.width();
  if (right >= w) {
    x = mainFrame.right() + 1;
  } else if (left >= w) {
    x = mainFrame.left() - w;
  } else if (std::max(left, right) >= minimum.width()) {
    w = std::max(left, right);
    x = right >= left ? mainFrame.right() + 1 : available.left();
  } else {
    x = available.right() + 1 - w;
  }
  const int h = size.height();
  // The title bar never goes above the top; the bottom stays on the screen
  // as far as the height allows.
  const int y = std::max(available.top(), std::min(mainFrame.top(), available.bottom() + 1 - h));
  x = std::max(available.left(), std::min(x, available.right() + 1 - w));
  return QRect(x, y, w, h);
}

QMargins FrameMargins(const QWidget* window) {
  const QRect f = window->frameGeometry(), g = window->geometry();
  return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                  f.bottom() - g.bottom());
}

QRect FitFrameInside(const QRect& frame, const QMargins& margins, QSize minimumClient,
                     const QRect& available) {
  const QSize extra(margins.left() + margins.right(), margins.top() + margins.bottom());
  const QSize size = frame.size().boundedTo(available.size()).expandedTo(minimumClient + extra);
  const int x =
      std::max(available.left(), std::min(frame.left(), available.right() + 1 - size.width()));
  const int y =
      std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - size.height()));
  return QRect(QPoint(x, y), size);
}

QRect PlaceBesideMainWindow(QWidget* window, QWidget* mainWindow, QSize wanted) {
  QScreen* screen = mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  QMargins m = FrameMargins(mainWindow);
  // A main window not framed yet: room for a usual title bar and borders,
  // so that the frame to come does not push the window off the screen.
  if (m.isNull()) m = QMargins(4, 30, 4, 4);
  const QSize frame(m.left() + m.right(), m.top() + m.bottom());
  const QRect place =
      PlaceBeside(mainWindow->frameGeometry(), wanted + frame,
                  window->minimumSizeHint().expandedTo(window->minimumSize()) + frame, available);
  window->resize(place.size() - frame);
  // A window's position is its frame's, before the frame exists too (the
  // window manager puts the frame's corner there): adding the margins
  // would push the frame down by a title bar, past the screen's bottom.
  window->move(place.topLeft());
  return place;
}

void KeepFrameAt(QWidget* window, const QRect& frame) {
  const QScreen* s = window->screen();
  if (!s) return;
  const QRect f = window->frameGeometry();
  const QMargins m = FrameMargins(window);
  const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
  const QRect fitted =
      FitFrameInside(QRect(frame.topLeft(), f.size()), m, minimum, s->availableGeometry());
  if (fitted.size() != f.size())
    window->resize(fitted.size() - QSize(m.left() + m.right(), m.top() + m.bottom()));
  if (fitted.topLeft() != f.topLeft()) window->move(fitted.topLeft());
}

}  // namespace zx
