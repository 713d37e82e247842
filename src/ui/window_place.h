// Where a secondary window goes on the screen: beside the main window where
// there is room, always inside the screen's available area.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace zx {

// The frame rectangle (title bar and borders included) of a window that
// would like the frame size `wanted` and needs at least `minimum`: right of
// `mainFrame` when it fits there, else left of it, else in the wider of the
// two gaps when that holds the minimum width (narrowed to it), else over the
// main window at the available area's right edge. The top follows the main
// window's; the result always lies inside `available` when `minimum` does.
QRect PlaceBeside(const QRect& mainFrame, QSize wanted, QSize minimum, const QRect& available);

// The frame a window manager puts around `window` (zero before it has
// one): the distances of the frame's edges from the client area's.
QMargins FrameMargins(const QWidget* window);

// Gives `window` (not yet shown) the client size `wanted` or less and a
// place by PlaceBeside next to `mainWindow`, in the available area of the
// main window's screen; the frame rectangle meant. Its frame is taken to be
// as wide as the main window's until it has one (see KeepFrameAt).
QRect PlaceBesideMainWindow(QWidget* window, QWidget* mainWindow, QSize wanted);

// The frame rectangle `frame` (of a window whose frame adds `margins` to
// the client area, which needs at least `minimumClient`) moved inside
// `available`, and shrunk to it where it is larger, down to the minimum;
// a frame that cannot fit keeps its top-left corner in the area.
QRect FitFrameInside(const QRect& frame, const QMargins& margins, QSize minimumClient,
                     const QRect& available);

// Once the window manager has framed `window`: moves it so that its frame
// starts at `frame`'s top-left corner, and resizes it, so that the frame
// lies inside the available area of its screen (FitFrameInside).
void KeepFrameAt(QWidget* window, const QRect& frame);

}  // namespace zx
