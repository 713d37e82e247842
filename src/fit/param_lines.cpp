#include "fit/param_lines.h"

#include "model/format.h"

namespace zx {

namespace {

const char* const kKeys[kPinningParamCount] = {"Re(A_m)", "Sigma^2", "Re(Gamma)", "Re(m)",
                                               "Re(g^2)"};

}  // namespace

SettingsLines PinningLines(const FitValues& values) {
  SettingsLines lines;
  for (std::size_t k = 0; k < kPinningParamCount; ++k)
    lines.emplace_back(kKeys[k], FormatLe(values[k]));
  return lines;
}

}  // namespace zx
