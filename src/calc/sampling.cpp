#include "calc/sampling.h"

namespace zx {

std::vector<int> SampleIndices(int n) {
  std::vector<int> indices;
  const int step = n < 5 ? 1 : n / 5;
  for (int i = 0; i < n; i += step) indices.push_back(i);
  return indices;
}

}  // namespace zx
