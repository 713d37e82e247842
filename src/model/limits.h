// Bounds on project values that decide how long a calculation runs.
#pragma once

#include <algorithm>

namespace zx {

// Intervals of every integral of the model. One evaluation costs about
// 2 x (IntStepNum + 1) integrand values: at 20000 it takes well under a
// millisecond, so a Jc-B point (some forty evaluations) stays in the tens
// of milliseconds and a full pass of hundreds of points per condition ends
// in seconds. The result no longer changes visibly far below that (the
// default is 900); a larger value would only make every pass hang.
inline constexpr int kMaxIntStepNum = 20000;

// At least one interval: none gives no integral at all (nan everywhere).
inline constexpr int kMinIntStepNum = 1;

inline int BoundIntStepNum(int n) { return std::clamp(n, kMinIntStepNum, kMaxIntStepNum); }

}  // namespace zx
