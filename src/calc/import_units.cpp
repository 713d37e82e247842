#include "calc/import_units.h"

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
