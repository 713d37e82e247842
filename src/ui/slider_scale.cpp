#include "ui/slider_scale.h"

#include <cmath>

namespace zx {

namespace {

bool LogRangeUsable(double min, double max) {
  return min > 0 && max > 0 && std::isfinite(min) && std::isfinite(max);
}

}  // namespace

std::optional<double> SliderValue(SliderScale scale, double min, double max, int position) {
  if (scale == SliderScale::Logarithmic) {
    if (!LogRangeUsable(min, max)) return std::nullopt;
    const double lo = std::log10(min);
    const double hi = std::log10(max);
    return std::pow(10.0, lo + (hi - lo) * position / 100.0);
  }
  return min + position / 100.0 * (max - min);
}

int SliderPosition(SliderScale scale, double min, double max, double value) {
  double fraction = 0.0;
  if (scale == SliderScale::Logarithmic) {
    if (!LogRangeUsable(min, max) || min == max) return kSliderMin;
    if (!(value > 0)) return kSliderMin;  // log10 of it has no position
    const double lo = std::log10(min);
    fraction = (std::log10(value) - lo) / (std::log10(max) - lo);
  } else {
    if (min == max) return kSliderMin;
    fraction = (value - min) / (max - min);
  }
  // Rounded: a value shown from a position (cut to a few digits) must map
  // back to that position, or the next step repeats the same value.
  const double position = std::round(fraction * 100.0);
  if (std::isnan(position)) return kSliderMin;
  if (position <= kSliderMin) return kSliderMin;
  if (position >= kSliderMax) return kSliderMax;
  return static_cast<int>(position);
}

}  // namespace zx
