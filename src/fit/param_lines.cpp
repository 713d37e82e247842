#include "fit/param_lines.h"

#include "model/format.h"

namespace zx {

namespace {

void AddLine(SettingsLines& lines, const ParamRow& r, const FitValues& values) {
  lines.emplace_back(r.valueKey, FormatLe(At(values, r.id)));
}

}  // namespace

SettingsLines PinningLines(const FitValues& values) {
  SettingsLines lines;
  for (const ParamRow& r : PinningRows()) AddLine(lines, r, values);
  return lines;
}

SettingsLines FittedParamLines(const FitValues& values, const FitFlags& fixed) {
  SettingsLines lines = PinningLines(values);
  for (const ParamRow& r : ParamTable().subspan(kPinningParamCount))
    if (!fixed[static_cast<std::size_t>(r.id)]) AddLine(lines, r, values);
  return lines;
}

}  // namespace zx
