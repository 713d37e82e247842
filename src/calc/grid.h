// The regular grids of the full calculation.
#pragma once

#include <vector>

#include "model/project.h"

namespace zx {

// Points per decade of J (JStepLevel) or per tesla of B (BStepLevel).
inline constexpr int StepsPerUnit[11] = {0, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};

// Levels outside the table are brought into 1..10: level 0 would divide by
// zero and higher ones would read past the table.
int ClampStepLevel(int level);

// Grids larger than this are not computed (a range of absurd extent).
inline constexpr long long kMaxGridPoints = 10'000'000;

// trunc(span * StepsPerUnit[level]) + 1 for the mode's range. A reversed
// range can give 0 or less. 0 also stands for a range that yields no usable
// grid (not finite, or more than kMaxGridPoints points).
int GridPointCount(const CalcSettings& s);

// Abscissae 0 .. count-1 of the mode's grid (empty for count <= 0).
std::vector<double> BuildGrid(const CalcSettings& s, int count);

}  // namespace zx
