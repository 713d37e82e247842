// The drawing surface of the graph. The graph code draws only through this
// interface so that it runs without a display (tests record the calls; the
// window and the image export put a QPainter behind it).
#pragma once

#include <string>
#include <vector>

#include "model/graph_view.h"

namespace zx {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot };

struct Pen {
  int width = 1;
  Rgb color{0, 0, 0};
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct IntPoint {
  int x = 0, y = 0;
  friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

// Extent of a text in the label font: cx along the text, cy across it,
// whatever the direction it is drawn in.
struct TextSize {
  int cx = 0, cy = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Solid fill without outline; right and bottom are exclusive.
  virtual void FillRect(const IntRect& r, Rgb color) = 0;
  virtual void Line(IntPoint from, IntPoint to, const Pen& pen) = 0;
  // Shapes inside the box (left, top) .. (right, bottom), outlined and filled.
  virtual void Ellipse(const IntRect& box, const Pen& outline, Rgb fill) = 0;
  virtual void Rectangle(const IntRect& box, const Pen& outline, Rgb fill) = 0;
  virtual void Polygon(const std::vector<IntPoint>& points, const Pen& outline, Rgb fill) = 0;

  // Texts are UTF-8 and drawn in the label font on a transparent background.
  // `upward` turns the text by 90 degrees so that it reads from bottom to top.
  virtual TextSize MeasureText(const std::string& text, bool upward) = 0;
  // (x, y) is the top-left corner of the text as it reads: for an upward
  // text the start of its top edge, the text running up from there.
  virtual void DrawText(IntPoint topLeft, const std::string& text, bool upward, Rgb color) = 0;
};

}  // namespace zx
