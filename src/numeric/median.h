// The median of a sample.
#pragma once

#include <vector>

namespace zx {

// Which value an even-sized sample's median is.
enum class EvenMedian {
  Upper,     // the upper of the two middle values (a value of the sample)
  Averaged,  // the mean of the two middle values
};

// The median of v (taken by value: it is reordered); NaN for no values.
double Median(std::vector<double> v, EvenMedian even);

}  // namespace zx
