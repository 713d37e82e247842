// The axis settings a project stores, and the graph record a view paints
// with: geometry, colours, the axes with their effective ranges and the two
// flags that drive automatic scaling. Plain records, free of drawing code.
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

// What the settings file stores of one axis (the axis dialog's fields).
struct AxisSettings {
  AxisScale type = AxisScale::Log;
  bool autoScale = true;
  double min = 0.0, max = 0.0;  // the manual range, kept while automatic
};

struct SavedAxes {
  AxisSettings X, Y;
};

// One axis as painted: its settings, its effective range and its ticks.
struct AxisView {
  std::string Title;
  AxisScale Type = AxisScale::Log;
  bool AutoScale = true;
  double Low = 0.0, High = 0.0;  // the effective range
  double Min = 0.0, Max = 0.0;   // the manual range
  double Step = 0.0;
  double Margin = 0.3;
  double TickRatio = 0.01;
  // The axis passed its last range check, so its range and step give a
  // finite run of ticks. Ticks are drawn only for such an axis.
  bool ScaleValid = false;
};

struct GraphView {
  IntRect GraphRect{0, 0, 468, 357};
  std::string CommentChars = "#";
  Rgb FrameColor{0, 0, 0};
  int FrameWidth = 2;
  Rgb PlotColor{255, 255, 255};
  Rgb BackColor{255, 255, 255};
  // Label font: the platform's menu font; the canvas chooses it.

  AxisView X, Y;

  bool RangeValid = false;
  bool RescalePending = false;
};

// Axis scales of the two calculation modes.
inline void ApplyModeAxes(SavedAxes& a, CalcMode mode) {
  if (mode == CalcMode::EJ) {
    a.X.type = AxisScale::Log;
    a.Y.type = AxisScale::Log;
  } else if (mode == CalcMode::JcB) {
    a.X.type = AxisScale::Linear;
    a.Y.type = AxisScale::Log;
  }
}

// Axis rows of the two calculation modes.
inline void ApplyModeAxes(GraphView& g, CalcMode mode) {
  if (mode == CalcMode::EJ) {
    g.X.Type = AxisScale::Log;
    g.Y.Type = AxisScale::Log;
    g.X.Title = "J(A/m^2)";
    g.Y.Title = "E(V/m)";
  } else if (mode == CalcMode::JcB) {
    g.X.Type = AxisScale::Linear;
    g.Y.Type = AxisScale::Log;
    g.X.Title = "B(T)";
    g.Y.Title = "Jc(A/m^2)";
  }
}

// Marks the data range as not yet taken and asks the next paint to refit.
inline void RequestRefit(GraphView& g) {
  g.RangeValid = false;
  g.RescalePending = true;
}

}  // namespace zx
