// QPainter behind the graph's Canvas, and export of a project's graph to
// PNG or SVG.
#pragma once

#include <QFont>
#include <QPainter>
#include <functional>
#include <string>

#include "graph/canvas.h"
#include "graph/paint_pass.h"
#include "model/project.h"

namespace zx {

// The font of every text of the program (window and exported images): a
// Japanese Gothic of 9 pt where one is installed. Needs a QGuiApplication.
QFont ProgramFont();
// The label font of the graph: the application's font, which the window
// and the image export both set to ProgramFont().
QFont DefaultLabelFont();

class QtCanvas : public Canvas {
 public:
  explicit QtCanvas(QPainter& painter, const QFont& labelFont = DefaultLabelFont());

  void FillRect(const IntRect& r, Rgb color) override;
  void Line(IntPoint from, IntPoint to, const Pen& pen) override;
  void Ellipse(const IntRect& box, const Pen& outline, Rgb fill) override;
  void Rectangle(const IntRect& box, const Pen& outline, Rgb fill) override;
  void Polygon(const std::vector<IntPoint>& points, const Pen& outline, Rgb fill) override;
  TextSize MeasureText(const std::string& text, bool upward) override;
  void DrawText(IntPoint topLeft, const std::string& text, bool upward, Rgb color) override;

 private:
  QPainter& painter_;
  QFont font_;
};

struct ImageExportResult {
  bool written = false;  // the image file was written
  PaintResult paint;
};

// Paints the project's graph (the paint pass with `hooks` and `v`) into an image of
// GraphRect's size times `scale`: SVG when the path ends in ".svg" (any
// case), PNG otherwise. Needs a QGuiApplication for the fonts.
ImageExportResult ExportGraphImage(const Project& p, ViewState& v, const std::string& path,
                                   double scale, const PaintHooks& hooks,
                                   const QFont& labelFont = DefaultLabelFont());

// Any drawing on a Canvas of w x h pixels into an image file of `scale`
// times that size: SVG when the path ends in ".svg" (any case), PNG
// otherwise. The file is replaced in one step; false when not written.
bool ExportDrawing(const std::string& path, int w, int h, double scale,
                   const std::function<void(Canvas&)>& draw,
                   const QFont& labelFont = DefaultLabelFont());

}  // namespace zx
