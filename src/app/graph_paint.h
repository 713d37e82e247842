// One paint pass of the main window's graph into an image: the preview
// calculation, the scans, the axes and every series.
#pragma once

#include <QImage>
#include <QStringList>

namespace zx {

class MainWindow;

struct PaintOutcome {
  QImage image;
  QStringList warnings;  // to be shown after the pass
  bool outOfMemory = false;
};

// pixelRatio: device pixels per graph pixel; 0 takes the window's.
PaintOutcome PaintGraphImage(MainWindow& main, double pixelRatio = 0);

}  // namespace zx
