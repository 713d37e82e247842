#include "import/run.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "import/columns.h"
#include "model/series_file.h"

namespace zx {

namespace {

std::optional<TemperatureStats> Temperature(const std::vector<double>& z,
                                            const std::vector<std::size_t>& rows,
                                            const std::vector<char>& kept, int column) {
  TemperatureStats t;
  t.column = column;
  double sum = 0.0;
  std::vector<double> values;
  for (std::size_t k = 0; k < rows.size() && k < kept.size(); ++k) {
    if (!kept[k] || rows[k] >= z.size() || !std::isfinite(z[rows[k]])) continue;
    values.push_back(z[rows[k]]);
    sum += values.back();
  }
  if (values.empty()) return std::nullopt;
  t.points = static_cast<int>(values.size());
  t.mean = sum / static_cast<double>(values.size());
  double s = 0.0;
  for (double v : values) s += (v - t.mean) * (v - t.mean);
  t.spread = std::sqrt(s / static_cast<double>(values.size()));
  return t;
}

// Units the table states, where the request leaves them open. False when
// the voltage unit was to come from the table and it states none.
bool UnitsFromTable(ImportRequest& rq, const TableLayout& layout, int xc, int yc) {
  const bool vi = rq.kind == ImportKind::ViToEj;
  if (!rq.currentUnitGiven)
    if (const std::optional<CurrentUnit> u = CurrentUnitOfColumn(layout, vi ? xc : yc))
      rq.vi.currentUnit = rq.icb.currentUnit = *u;
  if (rq.voltageUnitGiven || !vi) return true;
  const std::optional<VoltageUnit> u = VoltageUnitOfColumn(layout, yc);
  if (u) rq.vi.voltageUnit = *u;
  return u.has_value();
}

void FieldSpan(const ViImport& r, double& top, double& bottom) {
  top = bottom = 0.0;
  for (std::size_t k = 0; k < r.e.size() && k < r.kept.size(); ++k) {
    if (!r.kept[k]) continue;
    top = std::max(top, r.e[k]);
    bottom = bottom == 0.0 ? r.e[k] : std::min(bottom, r.e[k]);
  }
}

// A column named exactly so (case aside, blanks around it too).
std::optional<int> ColumnNamed(const TableLayout& layout, const std::string& name) {
  auto lower = [](std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(0, 1);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  for (std::size_t c = 0; c < layout.names.size(); ++c)
    if (lower(layout.names[c]) == lower(name)) return static_cast<int>(c);
  return std::nullopt;
}

// The y column when none is given: the names' choice unless it is x, else
// the first numeric column other than x that holds no time; -1: none.
int DefaultYColumn(const TableLayout& layout, int byName, int xColumn) {
  if (byName >= 0 && byName != xColumn) return byName;
  for (int c : layout.numericColumns)
    if (c != xColumn && RoleOfColumn(layout, c) != ColumnRole::Time) return c;
  return -1;
}

}  // namespace

ImportError ChooseColumns(const TableLayout& layout, ImportKind kind, std::optional<int> x,
                          std::optional<int> y, int& xColumn, int& yColumn) {
  if (!layout.opened) return ImportError::Unreadable;
  if (layout.fieldCount == 0) return ImportError::NoRows;
  int byNameX = -1, byNameY = -1;
  const bool named = ColumnsByName(layout, kind == ImportKind::ViToEj, byNameX, byNameY);
  if (!x && !named) return ImportError::NoRows;
  xColumn = x ? *x : byNameX;
  if (xColumn < 0 || xColumn >= layout.fieldCount) return ImportError::XColumn;
  yColumn = y ? *y : DefaultYColumn(layout, named ? byNameY : -1, xColumn);
  if (!y && yColumn < 0) return ImportError::NoRows;
  if (yColumn < 0 || yColumn >= layout.fieldCount) return ImportError::YColumn;
  return ImportError::None;
}

int ImportedPointCount(const ImportOutcome& o) {
  return o.used.kind == ImportKind::ViToEj ? o.vi.keptCount : o.icb.keptCount;
}

ImportOutcome ConvertRows(const ImportRequest& request, const TableLayout& layout,
                          const ColumnPair& rows, int xColumn, int yColumn) {
  ImportOutcome out;
  out.used = request;
  ImportRequest& rq = out.used;
  rq.xColumn = xColumn;
  rq.yColumn = yColumn;
  out.voltageUnitAssumed = !UnitsFromTable(rq, layout, xColumn, yColumn);
  out.headerTemperature = layout.headerTemperature;
  out.headerField = layout.headerField;
  ImportSource& src = out.source;
  src.path = request.source;
  src.xColumn = xColumn;
  src.yColumn = yColumn;
  src.xName = ColumnName(layout, xColumn);
  src.yName = ColumnName(layout, yColumn);
  src.skippedLines = rows.skippedLines;
  src.truncated = rows.truncated;
  if (!rows.opened) {
    out.error = ImportError::Unreadable;
    return out;
  }
  const std::vector<std::size_t>* keptRows = nullptr;
  const std::vector<char>* kept = nullptr;
  std::vector<std::size_t> icbRows;
  if (rq.kind == ImportKind::ViToEj) {
    out.vi = ConvertViToEj(rows.x, rows.y, rq.vi);
    out.error = out.vi.error;
    FieldSpan(out.vi, out.topField, out.bottomField);
    out.likelyVoltageUnit = LikelyVoltageUnit(out.topField, rq.vi.voltageUnit);
    keptRows = &out.vi.rows;
    kept = &out.vi.kept;
  } else {
    out.icb = ConvertIcbToJcb(rows.x, rows.y, rq.icb);
    out.error = out.icb.error;
    for (std::size_t k = 0; k < out.icb.b.size(); ++k) icbRows.push_back(k);
    keptRows = &icbRows;
    kept = &out.icb.kept;
  }
  // The readers refuse a data file beyond their caps: never write one.
  if (out.error == ImportError::None &&
      static_cast<std::size_t>(ImportedPointCount(out)) > kMaxSeriesPoints)
    out.error = ImportError::TooManyPoints;
  if (rq.temperatureColumn) {
    src.temperatureColumn = *rq.temperatureColumn;
    src.temperatureName = ColumnName(layout, *rq.temperatureColumn);
    out.temperature = Temperature(rows.z, *keptRows, *kept, *rq.temperatureColumn);
    if (out.temperature) src.temperature = *out.temperature;
  }
  if (out.error != ImportError::None) return out;
  out.bytes = rq.kind == ImportKind::ViToEj ? ViImportFileBytes(src, rq.vi, out.vi)
                                            : IcbImportFileBytes(src, rq.icb, out.icb);
  return out;
}

std::optional<VoltageUnit> LikelyVoltageUnit(double topField, VoltageUnit used) {
  if (!(topField > 0) || (topField >= kMinPlausibleField && topField <= kMaxPlausibleField))
    return std::nullopt;
  std::optional<VoltageUnit> best;
  double bestDistance = 0.0;
  for (VoltageUnit u : {VoltageUnit::V, VoltageUnit::mV, VoltageUnit::uV, VoltageUnit::nV}) {
    const double e = topField * UnitFactor(u) / UnitFactor(used);
    if (e < kMinPlausibleField || e > kMaxPlausibleField) continue;
    // A typical transition is swept to about 1e-4 V/m.
    const double distance = std::fabs(std::log10(e) + 4.0);
    if (!best || distance < bestDistance) best = u, bestDistance = distance;
  }
  return best;
}

ImportOutcome RunImport(const ImportRequest& given) {
  const TableLayout layout = ScanMeasuredTable(given.source, 0);
  ImportRequest request = given;
  if (!request.temperatureColumnName.empty()) {
    request.temperatureColumn = ColumnNamed(layout, request.temperatureColumnName);
    if (!request.temperatureColumn) request.temperatureColumn = -1;  // refused below
  } else if (!request.temperatureColumn && request.temperatureColumnByName) {
    request.temperatureColumn = TemperatureColumnByName(layout);
  }
  int xc = -1, yc = -1;
  ImportError chosen =
      ChooseColumns(layout, request.kind, request.xColumn, request.yColumn, xc, yc);
  if (chosen == ImportError::None && request.temperatureColumn &&
      (*request.temperatureColumn < 0 || *request.temperatureColumn >= layout.fieldCount))
    chosen = ImportError::TemperatureColumn;
  if (chosen != ImportError::None) {
    ImportOutcome out;
    out.error = chosen;
    out.used = request;
    out.source.path = request.source;
    return out;
  }
  const ColumnPair rows = ReadMeasuredColumns(request.source, xc, yc, layout.format, {},
                                              request.temperatureColumn.value_or(-1));
  return ConvertRows(request, layout, rows, xc, yc);
}

}  // namespace zx
