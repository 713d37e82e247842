#include "import/icb_to_jcb.h"

#include <algorithm>
#include <cmath>

namespace zx {

IcbImport ConvertIcbToJcb(const std::vector<double>& field, const std::vector<double>& current,
                          const IcbImportSettings& st) {
  IcbImport r;
  r.error = CheckSection(st.width, st.thickness);
  const std::size_t rows = std::min(field.size(), current.size());
  if (r.error == ImportError::None && rows == 0) r.error = ImportError::NoRows;
  if (r.error != ImportError::None) return r;
  const double ci = UnitFactor(st.currentUnit);
  const double area = st.width * st.thickness;
  for (std::size_t k = 0; k < rows; ++k) {
    const double jc = current[k] * ci / area;
    r.b.push_back(field[k]);
    r.current.push_back(current[k] * ci);
    r.jc.push_back(jc);
    // An overflowing Jc would be written as "inf".
    r.Add(jc > 0.0 && std::isfinite(jc) && std::isfinite(field[k]));
  }
  if (r.keptCount == 0) r.error = ImportError::NothingKept;
  return r;
}

}  // namespace zx
