// What a project calculates. The settings file stores the number; a number
// outside the two modes is kept as read, so a file saves back unchanged.
#pragma once

namespace zx {

enum class CalcMode : int { EJ = 0, JcB = 1 };

}  // namespace zx
