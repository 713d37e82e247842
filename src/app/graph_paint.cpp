#include "app/graph_paint.h"

#include <QPainter>
#include <chrono>

#include "app/main_window.h"
#include "calc/preview_pass.h"
#include "graph/paint_pass.h"
#include "qtcanvas/qt_canvas.h"
#include "ui/core_text.h"
#include "ui/lists_panel.h"
#include "ui/parameter_panel.h"

namespace zx {

PaintOutcome PaintGraphImage(MainWindow& main, double pixelRatio) {
  PaintOutcome out;
  // The paint reads the project and keeps what it finds (ranges, series
  // extents, correlations) in the window's view state.
  const Project& p = main.project();
  ViewState& v = main.paintState();
  // One series per registry entry, whatever changed since the last paint.
  RebuildSeriesLists(v, p);
  const IntRect& r = v.View.GraphRect;
  // Drawn at the screen's density, so that a high-density screen shows no
  // stretched image; the painter keeps graph coordinates.
  const double ratio = pixelRatio > 0 ? pixelRatio : main.devicePixelRatioF();
  out.image = QImage(qRound((r.right - r.left) * ratio), qRound((r.bottom - r.top) * ratio),
                     QImage::Format_RGB32);
  out.image.setDevicePixelRatio(ratio);
  out.image.fill(Qt::white);
  QPainter painter(&out.image);
  QtCanvas canvas(painter, DefaultLabelFont());

  PreviewHooks preview;
  // The window must answer again soon, whatever the project asks for.
  preview.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  preview.readPanelValues = [&main] { main.parameterPanel()->ReadPanelValues(); };
  preview.showCorrCoef = [&main](int row, const std::string& text) {
    main.listsPanel()->SetCorrCoefText(row, QString::fromStdString(text));
  };
  preview.warning = [&out](const std::string& message, const std::string&) {
    out.warnings << CoreText(message);
  };
  PaintHooks hooks;
  hooks.runPreview = PreviewRunner(preview);
  hooks.warn = [&out](const std::string& message) { out.warnings << CoreText(message); };
  PaintResult result = PaintGraph(p, v, canvas, hooks);
  out.outOfMemory = result.outOfMemory;
  return out;
}

}  // namespace zx
