// Measured Ic-B rows to a Jc-B curve.
#pragma once

#include <vector>

#include "import/error.h"
#include "import/kept_points.h"
#include "import/units.h"

namespace zx {

// Ic-B rows (B in T) to a Jc-B curve; rows with Ic <= 0 are left out.
struct IcbImportSettings {
  double width = 0.0;
  double thickness = 0.0;
  CurrentUnit currentUnit = CurrentUnit::A;
};
struct IcbImport : KeptPoints {
  ImportError error = ImportError::None;
  std::vector<double> b, jc;    // every row, in file order
  std::vector<double> current;  // Ic of every row in A
};
IcbImport ConvertIcbToJcb(const std::vector<double>& field, const std::vector<double>& current,
                          const IcbImportSettings& settings);

}  // namespace zx
