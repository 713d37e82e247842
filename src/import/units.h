// Units of measured currents and voltages, and their factors to SI.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zx {

enum class CurrentUnit { A, mA };
enum class VoltageUnit { V, mV, uV, nV };

double UnitFactor(CurrentUnit u);
double UnitFactor(VoltageUnit u);
// "A", "mA" / "V", "mV", "uV" (or "µV"), "nV"; none for anything else.
std::optional<CurrentUnit> ParseCurrentUnit(std::string_view text);
std::optional<VoltageUnit> ParseVoltageUnit(std::string_view text);
// The unit a column name carries as a word of its own: "I(mA)", "vHTS_V",
// "V [uV]", or a units line's "mA"; none when no word is a unit.
std::optional<CurrentUnit> CurrentUnitInName(std::string_view name);
std::optional<VoltageUnit> VoltageUnitInName(std::string_view name);
// ASCII names, as the options and the output file write them.
std::string UnitName(CurrentUnit u);
std::string UnitName(VoltageUnit u);

}  // namespace zx
