#include "import/units.h"

namespace zx {

double UnitFactor(CurrentUnit u) { return u == CurrentUnit::mA ? 1e-3 : 1.0; }

double UnitFactor(VoltageUnit u) {
  switch (u) {
    case VoltageUnit::mV:
      return 1e-3;
    case VoltageUnit::uV:
      return 1e-6;
    case VoltageUnit::nV:
      return 1e-9;
    case VoltageUnit::V:
      break;
  }
  return 1.0;
}

std::optional<CurrentUnit> ParseCurrentUnit(std::string_view text) {
  if (text == "A") return CurrentUnit::A;
  if (text == "mA") return CurrentUnit::mA;
  return std::nullopt;
}

std::optional<VoltageUnit> ParseVoltageUnit(std::string_view text) {
  if (text == "V") return VoltageUnit::V;
  if (text == "mV") return VoltageUnit::mV;
  if (text == "uV" || text == "\xC2\xB5V" || text == "\xCE\xBCV") return VoltageUnit::uV;
  if (text == "nV") return VoltageUnit::nV;
  return std::nullopt;
}

namespace {

// Words of a column name: runs between blanks, brackets, '_' and '/'.
template <class Unit>
std::optional<Unit> UnitWord(std::string_view name,
                             std::optional<Unit> (*parse)(std::string_view)) {
  constexpr std::string_view kBreaks = " \t()[]{}_/,;:";
  std::optional<Unit> found;
  std::size_t begin = 0;
  while (begin <= name.size()) {
    std::size_t end = name.find_first_of(kBreaks, begin);
    if (end == std::string_view::npos) end = name.size();
    if (end > begin)
      if (const std::optional<Unit> u = parse(name.substr(begin, end - begin))) found = u;
    begin = end + 1;
  }
  return found;
}

}  // namespace

std::optional<CurrentUnit> CurrentUnitInName(std::string_view name) {
  return UnitWord<CurrentUnit>(name, ParseCurrentUnit);
}

std::optional<VoltageUnit> VoltageUnitInName(std::string_view name) {
  return UnitWord<VoltageUnit>(name, ParseVoltageUnit);
}

std::string UnitName(CurrentUnit u) { return u == CurrentUnit::mA ? "mA" : "A"; }

std::string UnitName(VoltageUnit u) {
  switch (u) {
    case VoltageUnit::mV:
      return "mV";
    case VoltageUnit::uV:
      return "uV";
    case VoltageUnit::nV:
      return "nV";
    case VoltageUnit::V:
      break;
  }
  return "V";
}

}  // namespace zx
