// Which columns of a measured table hold the current, the voltage and the
// temperature, judged from their names and units.
#pragma once

#include <optional>
#include <string>

#include "import/measured_table.h"
#include "import/units.h"

namespace zx {

enum class ColumnRole { Unknown, Time, Current, Voltage, Temperature, Field };

// The role a column's name and unit suggest ("iHTS_A", "I(mA)", "t_s",
// "vHTS_V" with unit "uV", "tHTS_K").
ColumnRole RoleOfColumn(const std::string& name, const std::string& unit);
ColumnRole RoleOfColumn(const TableLayout& layout, int column);

// The name and unit text of a column, "" where the table gives none.
std::string ColumnName(const TableLayout& layout, int column);
std::string ColumnUnit(const TableLayout& layout, int column);

// The units a column's name or units line state.
std::optional<CurrentUnit> CurrentUnitOfColumn(const TableLayout& layout, int column);
std::optional<VoltageUnit> VoltageUnitOfColumn(const TableLayout& layout, int column);

// Current and voltage (V-I) or field and current (Ic-B) columns by their
// names and units; the first numeric columns that are not times where the
// names say nothing. False when the table has no two such columns.
bool ColumnsByName(const TableLayout& layout, bool viKind, int& xColumn, int& yColumn);
// The temperature column by name or unit (K), or none.
std::optional<int> TemperatureColumnByName(const TableLayout& layout);

}  // namespace zx
