// A canvas that records every call, so tests can assert what was drawn.
// Texts measure 6 pixels per byte by 12 pixels.
#pragma once

#include <string>
#include <vector>

#include "graph/canvas.h"

namespace zx::test {

struct DrawOp {
  enum Kind { Fill, Line, Ellipse, Rectangle, Polygon, Text } kind = Fill;
  IntRect rect;                  // Fill, Ellipse, Rectangle
  std::vector<IntPoint> points;  // Line (two), Polygon, Text (one)
  Pen pen;
  Rgb fill;
  std::string text;
  bool upward = false;
};

class RecordingCanvas : public Canvas {
 public:
  static constexpr int kCharWidth = 6;
  static constexpr int kTextHeight = 12;

  std::vector<DrawOp> ops;

  void FillRect(const IntRect& r, Rgb color) override {
    ops.push_back({DrawOp::Fill, r, {}, {}, color, {}, false});
  }
  void Line(IntPoint from, IntPoint to, const Pen& pen) override {
    ops.push_back({DrawOp::Line, {}, {from, to}, pen, {}, {}, false});
  }
  void Ellipse(const IntRect& box, const Pen& outline, Rgb fill) override {
    ops.push_back({DrawOp::Ellipse, box, {}, outline, fill, {}, false});
  }
  void Rectangle(const IntRect& box, const Pen& outline, Rgb fill) override {
    ops.push_back({DrawOp::Rectangle, box, {}, outline, fill, {}, false});
  }
  void Polygon(const std::vector<IntPoint>& points, const Pen& outline, Rgb fill) override {
    ops.push_back({DrawOp::Polygon, {}, points, outline, fill, {}, false});
  }
  TextSize MeasureText(const std::string& text, bool) override {
    return {static_cast<int>(text.size()) * kCharWidth, kTextHeight};
  }
  void DrawText(IntPoint topLeft, const std::string& text, bool upward, Rgb) override {
    ops.push_back({DrawOp::Text, {}, {topLeft}, {}, {}, text, upward});
  }

  std::vector<DrawOp> OfKind(DrawOp::Kind k) const {
    std::vector<DrawOp> out;
    for (const DrawOp& op : ops)
      if (op.kind == k) out.push_back(op);
    return out;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const DrawOp& op : OfKind(DrawOp::Text)) out.push_back(op.text);
    return out;
  }
};

}  // namespace zx::test
