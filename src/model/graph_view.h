// The graph record: geometry, colours, axis settings, effective ranges and
// the two flags that drive automatic scaling. A plain record so that the
// project (which stores the axis settings) can hold it without pulling in
// any drawing code.
#pragma once

#include <cstdint>
#include <string>

#include "model/calc_mode.h"

namespace zx {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A linear axis or a decade (log10) axis.
enum class AxisScale { Linear, Log };

struct IntRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct GraphView {
  IntRect GraphRect{0, 0, 468, 357};
  std::string CommentChars = "#";
  Rgb FrameColor{0, 0, 0};
  int FrameWidth = 2;
  Rgb PlotColor{255, 255, 255};
  Rgb BackColor{255, 255, 255};
  // Label font: the platform's menu font; the canvas chooses it.

  std::string XTitle;
  AxisScale XType = AxisScale::Log;
  bool XAutoScale = true;
  double XLow = 0.0, XHigh = 0.0;
  double XMin = 0.0, XMax = 0.0;
  double XStep = 0.0;
  double XMargin = 0.3;
  double XTickRatio = 0.01;

  std::string YTitle;
  AxisScale YType = AxisScale::Log;
  bool YAutoScale = true;
  double YLow = 0.0, YHigh = 0.0;
  double YMin = 0.0, YMax = 0.0;
  double YStep = 0.0;
  double YMargin = 0.3;
  double YTickRatio = 0.01;

  bool RangeValid = false;
  bool RescalePending = false;
  // The axis passed its last range check, so its range and step give a
  // finite run of ticks. Ticks are drawn only for such an axis.
  bool XScaleValid = false;
  bool YScaleValid = false;
};

// Axis rows of the two calculation modes.
inline void ApplyModeAxes(GraphView& g, CalcMode mode) {
  if (mode == CalcMode::EJ) {
    g.XType = AxisScale::Log;
    g.YType = AxisScale::Log;
    g.XTitle = "J(A/m^2)";
    g.YTitle = "E(V/m)";
  } else if (mode == CalcMode::JcB) {
    g.XType = AxisScale::Linear;
    g.YType = AxisScale::Log;
    g.XTitle = "B(T)";
    g.YTitle = "Jc(A/m^2)";
  }
}

// Marks the data range as not yet taken and asks the next paint to refit.
inline void RequestRefit(GraphView& g) {
  g.RangeValid = false;
  g.RescalePending = true;
}

}  // namespace zx
