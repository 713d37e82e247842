// The temperature and field a measured file's header lines state:
// "Temperature (K)<TAB>77.00", "field / T<TAB>0.300000",
// "# Ic = 19.03 A, n = 22.53 , Tavg = 30.03 K".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zx {

struct HeaderConditions {
  std::optional<double> temperature;  // K
  std::optional<double> field;        // T
};

// The first temperature and the first field named with a number in the
// lines (UTF-8): a name such as "Temperature", "Temp", "T", "Tavg" with the
// unit K, or "field", "B", "H" with T or mT; the unit stands after the
// number or in the name ("/ T", "(K)", "[mT]", "_K"). A line naming several
// values separates them by commas or semicolons ("Ic = 19 A, Tavg = 30 K").
HeaderConditions ConditionsInHeader(const std::vector<std::string>& lines);

}  // namespace zx
