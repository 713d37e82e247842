// Range check, automatic scaling and tick values of the two axes.
#include <cmath>

#include "graph/axes.h"
#include "model/format.h"
#include "model/tr_noop.h"

namespace zx {

const char kXAxisWarning[] = ZX_TR_NOOP("Core", "x軸の最大値(最小値)の値が適切ではありません。");
const char kYAxisWarning[] = ZX_TR_NOOP("Core", "y軸の最大値(最小値)の値が適切ではありません。");

namespace {

double Pow10(double n) { return std::pow(10.0, n); }

// The span decides the step; autoscale rounds the bounds out to it, the
// high end to the multiple above (a whole step above an exact one).
bool ScaleLinear(double& low, double& high, double& step, bool autoScale) {
  const std::optional<int> n = DecadeOf(high - low);
  if (!n) return false;
  const double unit = Pow10(*n);
  if (autoScale) {
    // Down and up, not toward zero: a negative low end rounded toward zero
    // would leave the lowest points off the plot.
    const double first = low, last = high;
    low = std::floor(low / unit) * unit;
    high = (std::floor(high / unit) + 1) * unit;
    // The quotient's rounding can land an end a hair inside the points.
    if (low > first) low -= unit;
    if (high < last) high += unit;
  }
  step = unit;
  return true;
}

// Exponent of the leading digit of v (v > 0).
double LeadingExponent(double v) {
  return v >= 1 ? std::trunc(std::log10(v)) : std::trunc(std::log10(v) - 1);
}

// Whole decades the span of log10 values covers, either way; none beyond 254.
std::optional<int> DecadesSpanned(double span) {
  for (int i = 0; i <= 254; ++i) {
    if ((i <= span && span < i + 1) || (-(i + 1) <= span && span < -i)) return i;
  }
  return std::nullopt;
}

// Out to whole decades; an x axis below 1 ends at 1.
void RoundToDecades(double& low, double& high, bool isYAxis) {
  low = Pow10(LeadingExponent(low));
  if (isYAxis || high >= 1)
    high = Pow10(std::trunc(std::log10(high) + 1));
  else
    high = 1;
}

// Out to the leading digit of each end.
void RoundToLeadingDigit(double& low, double& high) {
  const double lowUnit = Pow10(LeadingExponent(low));
  const double highUnit = Pow10(LeadingExponent(high));
  low = std::trunc(low / lowUnit) * lowUnit;
  high = (std::trunc(high / highUnit) + 1) * Pow10(std::trunc(std::log10(high)));
}

// Two or more decades: whole decades with step 10. Fewer: bounds rounded to
// their leading digit with step 1 (ticks on 1..9 times each power of ten).
bool ScaleLog(double& low, double& high, double& step, bool autoScale, bool isYAxis) {
  if (!(low > 0) || !(high > 0) || !std::isfinite(low) || !std::isfinite(high)) return false;
  const std::optional<int> decades = DecadesSpanned(std::log10(high) - std::log10(low));
  if (!decades) return false;
  if (*decades >= 2) {
    if (autoScale) RoundToDecades(low, high, isYAxis);
    step = 10;
  } else {
    if (autoScale) RoundToLeadingDigit(low, high);
    step = 1;
  }
  return true;
}

bool Fail(const WarningSink& warn, const char* text) {
  if (warn) warn(text);
  return false;
}

// Removes the rounding noise of repeated additions so that a tick meant to
// fall on a digit times a power of ten does so (0.09999999999999999 -> 0.1).
double SnapToDigit(double v) {
  const std::optional<int> n = DecadeOf(v);
  if (!n) return v;
  const double unit = Pow10(*n);
  const double digits = v / unit;
  const double whole = std::round(digits);
  if (std::fabs(digits - whole) > 1e-9) return v;
  return whole >= 10 ? Pow10(*n + 1) : whole * unit;
}

}  // namespace

bool CheckAndScaleAxes(GraphView& g, const WarningSink& warn) {
  if (!g.RescalePending) return false;
  const bool logX = g.X.Type == AxisScale::Log;
  const bool logY = g.Y.Type == AxisScale::Log;
  // An axis the check does not reach keeps no valid tick run either.
  g.X.ScaleValid = false;
  g.Y.ScaleValid = false;
  if (!logX) {
    if (!ScaleLinear(g.X.Low, g.X.High, g.X.Step, g.X.AutoScale)) return Fail(warn, kXAxisWarning);
    g.X.ScaleValid = true;
  }
  if (!logY) {
    if (!ScaleLinear(g.Y.Low, g.Y.High, g.Y.Step, g.Y.AutoScale)) return Fail(warn, kYAxisWarning);
    g.Y.ScaleValid = true;
  }
  if (logX) {
    if (!ScaleLog(g.X.Low, g.X.High, g.X.Step, g.X.AutoScale, false))
      return Fail(warn, kXAxisWarning);
    g.X.ScaleValid = true;
  }
  if (logY) {
    if (!ScaleLog(g.Y.Low, g.Y.High, g.Y.Step, g.Y.AutoScale, true))
      return Fail(warn, kYAxisWarning);
    g.Y.ScaleValid = true;
  }
  g.RescalePending = false;
  return true;
}

std::vector<double> TickValues(bool log, double low, double high, double step) {
  std::vector<double> ticks;
  if (!std::isfinite(low) || !std::isfinite(high) || !std::isfinite(step) || !(step > 0))
    return ticks;
  if (log && !(low > 0)) return ticks;
  // Ends that computed bounds miss by rounding noise still get their tick.
  const double limit = log ? high * (1 + 1e-9) : high + 1e-9 * step;
  double v = low;
  for (int k = 0; v <= limit && static_cast<int>(ticks.size()) < kMaxTicks; ++k) {
    ticks.push_back(v);
    double next;
    if (!log) {
      next = low + (k + 1) * step;
      // The tick meant to be zero must not carry rounding noise.
      if (std::fabs(next) < 1e-9 * step) next = 0;
    } else if (step != 1) {
      next = SnapToDigit(v * step);
    } else {
      const std::optional<int> n = DecadeOf(v);
      if (!n) break;
      next = SnapToDigit(v + Pow10(*n));
    }
    if (!(next > v)) break;  // a run that does not grow would never end
    v = next;
  }
  return ticks;
}

bool UsesSciLabels(double low, double high) {
  const double a = std::fabs(low), b = std::fabs(high);
  return a >= 1000 || a <= 1e-5 || b >= 1000 || b <= 1e-5;
}

std::string TickLabel(double v, bool sci) {
  std::string text = sci ? FormatSci(v, 5) : FormatFixed(v, 5);
  // Cutting the digits keeps the sign of a value just below zero.
  if (text.size() > 1 && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
    return "0";
  return text;
}

}  // namespace zx
