#include "import/columns.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace zx {

namespace {

// Lower-case words of a name: runs of letters and digits.
std::vector<std::string> Words(const std::string& name) {
  std::vector<std::string> words;
  std::string w;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || u >= 0x80) {
      w += static_cast<char>(std::tolower(u));
    } else if (!w.empty()) {
      words.push_back(w);
      w.clear();
    }
  }
  if (!w.empty()) words.push_back(w);
  return words;
}

bool OneOf(const std::string& w, std::initializer_list<const char*> list) {
  return std::any_of(list.begin(), list.end(), [&](const char* s) { return w == s; });
}

// Units the import reads no values in, and what a column in them holds.
struct UnitRole {
  std::string_view unit;
  ColumnRole role;
};
constexpr UnitRole kOtherUnits[] = {{"uA", ColumnRole::Current},    {"kA", ColumnRole::Current},
                                    {"K", ColumnRole::Temperature}, {"s", ColumnRole::Time},
                                    {"ms", ColumnRole::Time},       {"min", ColumnRole::Time},
                                    {"h", ColumnRole::Time},        {"T", ColumnRole::Field},
                                    {"mT", ColumnRole::Field},      {"Oe", ColumnRole::Field}};

ColumnRole RoleOfUnit(const std::string& unitText) {
  std::string u = unitText;
  if (u.size() >= 2 && (u.front() == '[' || u.front() == '(')) u = u.substr(1, u.size() - 2);
  if (ParseCurrentUnit(u)) return ColumnRole::Current;
  if (ParseVoltageUnit(u)) return ColumnRole::Voltage;
  for (const UnitRole& k : kOtherUnits)
    if (u == k.unit) return k.role;
  return ColumnRole::Unknown;
}

// The first columns the names give the two roles, -1 where none does.
void ColumnsNamedFor(const TableLayout& layout, ColumnRole xRole, ColumnRole yRole, int& x,
                     int& y) {
  for (int c : layout.numericColumns) {
    const ColumnRole r = RoleOfColumn(layout, c);
    if (r == xRole && x < 0) x = c;
    if (r == yRole && y < 0 && c != x) y = c;
  }
}

// The roles still open from the first numeric columns the names leave
// free; a time, a temperature or a column named for the other role is
// never taken.
void FillFromFreeColumns(const TableLayout& layout, ColumnRole xRole, ColumnRole yRole, int& x,
                         int& y) {
  for (int c : layout.numericColumns) {
    const ColumnRole r = RoleOfColumn(layout, c);
    if (r == ColumnRole::Time || r == ColumnRole::Temperature || c == x || c == y) continue;
    if (x < 0 && r != yRole) {
      x = c;
      continue;
    }
    if (y < 0 && r != xRole) y = c;
  }
}

}  // namespace

std::string ColumnName(const TableLayout& layout, int column) {
  return column >= 0 && column < static_cast<int>(layout.names.size())
             ? layout.names[static_cast<std::size_t>(column)]
             : std::string();
}

std::string ColumnUnit(const TableLayout& layout, int column) {
  return column >= 0 && column < static_cast<int>(layout.units.size())
             ? layout.units[static_cast<std::size_t>(column)]
             : std::string();
}

ColumnRole RoleOfColumn(const std::string& name, const std::string& unit) {
  const std::vector<std::string> words = Words(name);
  const std::string first = words.empty() ? std::string() : words.front();
  // A time stamp or a clock is never a measured quantity, whatever its unit.
  const ColumnRole byUnit = RoleOfUnit(unit);
  // "T" in kelvin is a temperature; otherwise a "t" is a time.
  if (OneOf(first, {"t", "time", "datetime", "date", "timestamp", "elapsed", "clock", "sec"}))
    return byUnit == ColumnRole::Temperature ? byUnit : ColumnRole::Time;
  if (byUnit != ColumnRole::Unknown) return byUnit;
  if (OneOf(first, {"temp", "temperature"})) return ColumnRole::Temperature;
  if (OneOf(first, {"i", "current", "curr", "ic"})) return ColumnRole::Current;
  if (OneOf(first, {"v", "u", "voltage", "volt"})) return ColumnRole::Voltage;
  if (OneOf(first, {"b", "field", "h"})) return ColumnRole::Field;
  // A name that is a unit ("A", "uV"), or ends with one: "iHTS_A", "tHTS_K".
  if (const ColumnRole r = RoleOfUnit(name); r != ColumnRole::Unknown) return r;
  if (words.size() > 1) {
    static const std::pair<const char*, const char*> kLower[] = {
        {"a", "A"},   {"ma", "mA"}, {"v", "V"}, {"mv", "mV"}, {"uv", "uV"},
        {"nv", "nV"}, {"k", "K"},   {"s", "s"}, {"t", "T"}};
    for (const auto& [lower, unit] : kLower)
      if (words.back() == lower) return RoleOfUnit(unit);
  }
  return ColumnRole::Unknown;
}

ColumnRole RoleOfColumn(const TableLayout& layout, int column) {
  return RoleOfColumn(ColumnName(layout, column), ColumnUnit(layout, column));
}

std::optional<CurrentUnit> CurrentUnitOfColumn(const TableLayout& layout, int column) {
  if (auto u = ParseCurrentUnit(ColumnUnit(layout, column))) return u;
  return CurrentUnitInName(ColumnName(layout, column));
}

std::optional<VoltageUnit> VoltageUnitOfColumn(const TableLayout& layout, int column) {
  if (auto u = ParseVoltageUnit(ColumnUnit(layout, column))) return u;
  // A column named "V" names the quantity, not its unit.
  const std::string name = ColumnName(layout, column);
  if (name == "V" || name == "v") return std::nullopt;
  return VoltageUnitInName(name);
}

bool ColumnsByName(const TableLayout& layout, bool viKind, int& xColumn, int& yColumn) {
  const ColumnRole xRole = viKind ? ColumnRole::Current : ColumnRole::Field;
  const ColumnRole yRole = viKind ? ColumnRole::Voltage : ColumnRole::Current;
  int x = -1, y = -1;
  ColumnsNamedFor(layout, xRole, yRole, x, y);
  FillFromFreeColumns(layout, xRole, yRole, x, y);
  if (x < 0 || y < 0) return false;
  xColumn = x;
  yColumn = y;
  return true;
}

std::optional<int> TemperatureColumnByName(const TableLayout& layout) {
  for (int c : layout.numericColumns)
    if (RoleOfColumn(layout, c) == ColumnRole::Temperature) return c;
  return std::nullopt;
}

}  // namespace zx
