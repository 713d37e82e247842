#include "app/graph_paint.h"

#include <QApplication>
#include <QPainter>
#include <chrono>

#include "app/main_window.h"
#include "calc/preview_pass.h"
#include "graph/paint_pass.h"
#include "qtcanvas/qt_canvas.h"
#include "ui/lists_panel.h"
#include "ui/parameter_panel.h"

namespace zx {

PaintOutcome PaintGraphImage(MainWindow& main) {
  PaintOutcome out;
  Project& p = main.project();
  const IntRect& r = p.View.GraphRect;
  out.image = QImage(r.right - r.left, r.bottom - r.top, QImage::Format_RGB32);
  out.image.fill(Qt::white);
  QPainter painter(&out.image);
  QtCanvas canvas(painter, QApplication::font("QMenu"));

  PreviewHooks preview;
  // The window must answer again soon, whatever the project asks for.
  preview.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  preview.readPanelValues = [&main](Project&) { main.parameterPanel()->ReadPanelValues(); };
  preview.showCorrCoef = [&main](int row, const std::string& text) {
    main.listsPanel()->SetCorrCoefText(row, QString::fromStdString(text));
  };
  preview.warning = [&out](const std::string& message, const std::string&) {
    out.warnings << QString::fromStdString(message);
  };
  PaintHooks hooks;
  hooks.runPreview = PreviewRunner(preview);
  hooks.warn = [&out](const std::string& message) { out.warnings << QString::fromStdString(message); };
  PaintResult result = PaintGraph(p, canvas, hooks);
  out.outOfMemory = result.outOfMemory;
  return out;
}

}  // namespace zx
