// The scales between a pinning parameter and its slider position (0..100):
// logarithmic for Am, linear for the others.
#pragma once

#include <optional>

namespace zx {

enum class SliderScale { Linear, Logarithmic };

inline constexpr int kSliderMin = 0;
inline constexpr int kSliderMax = 100;

// The value a slider position stands for. Empty when the range gives the
// scale no meaning (a logarithmic range with a bound that is not positive).
std::optional<double> SliderValue(SliderScale scale, double min, double max, int position);

// The position that shows a value: rounded to the nearest and held within
// 0..100. A range without width or meaning, and a value that is not a
// number, put the slider at its low end.
int SliderPosition(SliderScale scale, double min, double max, double value);

}  // namespace zx
