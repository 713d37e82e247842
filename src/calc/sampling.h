// Which measured points the preview evaluates: every (n/5)-th, so that a
// repaint after each slider movement stays quick.
#pragma once

#include <vector>

namespace zx {

// 0, s, 2s, ... below n, with s = 1 for n < 5 and n / 5 otherwise.
std::vector<int> SampleIndices(int n);

}  // namespace zx
