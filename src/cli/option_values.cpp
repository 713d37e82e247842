#include "cli/option_values.h"

#include <cmath>

#include "import/units.h"
#include "model/validation.h"

namespace zx::cli {

namespace {

// "a,b,c" -> its items (an empty text gives one empty item).
std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    items.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) return items;
    start = comma + 1;
  }
}

bool ParseNumber(const std::string& text, double& out) {
  const std::optional<double> v = ReadNumber(text);
  if (v) out = *v;
  return v.has_value();
}

bool ParsePositive(const std::string& text, double& out) {
  return ParseNumber(text, out) && out > 0;
}

// "Am,gamma" -> those flags set to `value`; false on an unknown or empty
// name.
bool ParseNames(const std::string& text, FitFlags& flags, bool value) {
  for (const std::string& name : SplitCommas(text)) {
    const int k = FitParamIndex(name);
    if (k < 0) return false;
    flags[static_cast<std::size_t>(k)] = value;
  }
  return true;
}

// One parameter's range of --bounds into the options.
void SetBounds(int k, double lo, double hi, Options& opt) {
  opt.fit.lower[static_cast<std::size_t>(k)] = lo;
  opt.fit.upper[static_cast<std::size_t>(k)] = hi;
}

// "Tc=80:95,g2=1:4" -> the bounds; false on an unknown name or a number
// that cannot be read or is not finite (NaN would read as "not given").
// Whether a range can be used is the fit's to say.
bool ParseBounds(const std::string& text, Options& opt) {
  for (const std::string& item : SplitCommas(text)) {
    const std::size_t eq = item.find('='), colon = item.find(':', eq);
    if (eq == std::string::npos || colon == std::string::npos) return false;
    const int k = FitParamIndex(item.substr(0, eq));
    double lo = 0, hi = 0;
    if (k < 0 || !ParseNumber(item.substr(eq + 1, colon - eq - 1), lo) ||
        !ParseNumber(item.substr(colon + 1), hi) || !std::isfinite(lo) || !std::isfinite(hi))
      return false;
    SetBounds(k, lo, hi, opt);
  }
  return true;
}

// "T=LO:HI:STEP" with the given name -> its three numbers.
bool ParseAxis(const std::string& text, const char* name, double& lo, double& hi, double& step) {
  const std::string prefix = std::string(name) + "=";
  if (text.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string rest = text.substr(prefix.size());
  const std::size_t c1 = rest.find(':'), c2 = rest.find(':', c1 == std::string::npos ? c1 : c1 + 1);
  if (c1 == std::string::npos || c2 == std::string::npos) return false;
  return ParseNumber(rest.substr(0, c1), lo) && ParseNumber(rest.substr(c1 + 1, c2 - c1 - 1), hi) &&
         ParseNumber(rest.substr(c2 + 1), step) && std::isfinite(lo) && std::isfinite(hi) &&
         step > 0 && std::isfinite(step) && lo <= hi;
}

// Points of a map at most, so that a typing slip does not run for hours.
constexpr double kMaxMapPoints = 1e6;

std::string ParseMap(const std::vector<std::string>& v, MapAxes& m) {
  const char* usage = "--map takes T=LO:HI:STEP B=LO:HI:STEP (LO <= HI, STEP > 0)";
  if (v.size() != 2 || !ParseAxis(v[0], "T", m.tLo, m.tHi, m.tStep) ||
      !ParseAxis(v[1], "B", m.bLo, m.bHi, m.bStep))
    return usage;
  const double count =
      (std::floor((m.tHi - m.tLo) / m.tStep) + 1) * (std::floor((m.bHi - m.bLo) / m.bStep) + 1);
  if (!(count <= kMaxMapPoints)) return "--map: at most 1000000 grid points";
  return "";
}

// The quantity of the point an item of --at names, or null.
double* AtTarget(const std::string& name, AtPoint& at) {
  if (name == "T") return &at.temp;
  if (name == "B") return &at.field;
  if (name == "I") return &at.current;
  return nullptr;
}

// "T=20,B=1.5,I=30" -> the point; T and B needed, I optional.
std::string ParseAt(const std::string& text, AtPoint& at) {
  const char* usage = "--at takes T=K,B=T[,I=A]";
  for (const std::string& item : SplitCommas(text)) {
    const std::size_t eq = item.find('=');
    if (eq == std::string::npos) return usage;
    double* target = AtTarget(item.substr(0, eq), at);
    if (!target || !std::isnan(*target) || !ParseNumber(item.substr(eq + 1), *target) ||
        !std::isfinite(*target))
      return usage;
  }
  if (std::isnan(at.temp) || std::isnan(at.field)) return usage;
  return "";
}

// The readers of the calculation line's options.

std::string ReadThreads(const std::string& v, CommandLine& line) {
  double d = 0;
  if (!ParsePositive(v, d)) return "--threads needs a positive number";
  if (d != static_cast<int>(d) || d > 1024) return "--threads needs a whole number";
  line.options.threads = static_cast<int>(d);
  return "";
}

std::string ReadScale(const std::string& v, CommandLine& line) {
  double d = 0;
  if (!ParsePositive(v, d)) return "--scale needs a positive number";
  if (d > 16) return "--scale must be at most 16";
  line.options.scale = d;
  return "";
}

std::string ReadStarts(const std::string& v, CommandLine& line) {
  double d = 0;
  if (!ParsePositive(v, d) || d > 10000 || d != static_cast<int>(d))
    return "--starts needs a whole number from 1 to 10000";
  line.options.fit.starts = static_cast<int>(d);
  return "";
}

std::string ReadFix(const std::string& v, CommandLine& line) {
  if (!ParseNames(v, line.options.fit.fixed, true))
    return "--fix takes a comma-separated list of Am, sigma2, gamma, m, g2, Tc, Bc2";
  return "";
}

std::string ReadFree(const std::string& v, CommandLine& line) {
  if (!ParseNames(v, line.options.fit.fixed, false))
    return "--free takes a comma-separated list of Tc, Bc2";
  return "";
}

std::string ReadBounds(const std::string& v, CommandLine& line) {
  if (!ParseBounds(v, line.options))
    return "--bounds takes NAME=LO:HI,... (NAME one of Am, sigma2, gamma, m, g2, Tc, Bc2)";
  return "";
}

std::string ReadOrders(const std::string& v, CommandLine& line) {
  if (v != "all") return "--orders takes all";
  line.options.fit.allOrders = true;
  return "";
}

std::string ReadCurves(const std::string& v, CommandLine& line) {
  if (v.empty()) return "--curves needs a file";
  line.options.curves = v;
  return "";
}

std::string ReadLoss(const std::string& v, CommandLine& line) {
  LossKind& loss = line.options.fit.loss;
  if (v == "linear")
    loss = LossKind::Linear;
  else if (v == "soft_l1")
    loss = LossKind::SoftL1;
  else if (v == "cauchy")
    loss = LossKind::Cauchy;
  else
    return "--loss takes linear, soft_l1 or cauchy";
  return "";
}

std::string ReadLossScale(const std::string& v, CommandLine& line) {
  double d = 0;
  if (!ParsePositive(v, d) || !(d < 1e300)) return "--loss-scale needs a positive number";
  line.options.fit.lossScale = d;
  return "";
}

std::string ReadWeight(const std::string& v, CommandLine& line) {
  if (v == "condition")
    line.options.fit.weighting = Weighting::PerCondition;
  else if (v == "point")
    line.options.fit.weighting = Weighting::PerPoint;
  else
    return "--weight takes condition or point";
  return "";
}

std::string ReadWrite(const std::string&, CommandLine& line) {
  line.options.write = true;
  return "";
}

std::string ReadJson(const std::string&, CommandLine& line) {
  line.options.json = true;
  return "";
}

std::string ReadCriterion(const std::string& v, CommandLine& line) {
  double& e = line.options.criterion;
  if (!ParsePositive(v, e) || !(e < 1e300)) return "--criterion needs a positive number (V/m)";
  return "";
}

std::string ReadFormat(const std::string& v, CommandLine& line) {
  if (v != "csv" && v != "comsol" && v != "json") return "--format takes csv, comsol or json";
  line.options.format = v;
  return "";
}

// The map's file, or the data file of a single import (whose absence the
// import line's check names).
std::string ReadOut(const std::string& v, CommandLine& line) {
  if (line.importLine) {
    line.import.out = v;
    return "";
  }
  if (v.empty()) return "--out needs a file";
  line.options.out = v;
  return "";
}

// --set: the calculation line's assignments are checked by their command,
// the import's at once.
std::string ReadAssignment(const std::string& v, CommandLine& line) {
  if (!line.importLine) {
    line.assignments.push_back(v);
    return "";
  }
  KeyAssignment k;
  if (!ParseKeyAssignment(v, k)) return "--set needs KEY=VALUE, not \"" + v + "\"";
  line.import.assignments.push_back(k);
  return "";
}

// The readers of the import line's options.

std::string ReadProject(const std::string& v, CommandLine& line) {
  line.import.project = v;
  return "";
}

// A length of the conductor in metres, or none.
std::optional<double> ReadLength(const std::string& v) {
  const std::optional<double> m = ReadFiniteNumber(v);
  if (!m || *m <= 0) return std::nullopt;
  return m;
}

std::string ReadTapLength(const std::string& v, CommandLine& line) {
  const std::optional<double> m = ReadLength(v);
  if (!m) return "--tap-length needs a positive length in metres";
  line.import.request.vi.tapLength = *m;
  return "";
}

std::string ReadWidth(const std::string& v, CommandLine& line) {
  const std::optional<double> m = ReadLength(v);
  if (!m) return "--width needs a positive length in metres";
  line.import.request.vi.width = line.import.request.icb.width = *m;
  return "";
}

std::string ReadThickness(const std::string& v, CommandLine& line) {
  const std::optional<double> m = ReadLength(v);
  if (!m) return "--thickness needs a positive length in metres";
  line.import.request.vi.thickness = line.import.request.icb.thickness = *m;
  return "";
}

std::string ReadColumns(const std::string& v, CommandLine& line) {
  ImportRequest& rq = line.import.request;
  const std::size_t comma = v.find(',');
  if (comma == std::string::npos) return "--columns needs two numbers, e.g. 2,3";
  rq.xColumn = ReadColumnNumber(v.substr(0, comma));
  rq.yColumn = ReadColumnNumber(v.substr(comma + 1));
  if (!rq.xColumn || !rq.yColumn) return "--columns needs two column numbers from 0, e.g. 2,3";
  return "";
}

// A number counts the columns; anything else names one.
std::string ReadTemperatureColumn(const std::string& v, CommandLine& line) {
  ImportRequest& rq = line.import.request;
  rq.temperatureColumn = ReadColumnNumber(v);
  if (!rq.temperatureColumn) rq.temperatureColumnName = v;
  return v.empty() ? "--temperature-column needs a column number from 0 or a name" : "";
}

std::string ReadTemperature(const std::string& v, CommandLine& line) {
  std::optional<double>& t = line.import.temperature;
  t = ReadFiniteNumber(v);
  if (!t || !(*t > 0 && *t < kMaxTemp)) return "--temperature must be above 0 K and below 400 K";
  return "";
}

std::string ReadField(const std::string& v, CommandLine& line) {
  std::optional<double>& b = line.import.field;
  b = ReadFiniteNumber(v);
  if (!b) return "--field needs a number in T";
  if (*b == 0)
    return "--field must be above 0 T: the model has no E-J curve at B = 0 (give a small field "
           "for a self-field sweep)";
  if (!(*b > 0 && *b < kMaxMagField)) return "--field must be above 0 T and below 100 T";
  return "";
}

std::string ReadCurrentUnit(const std::string& v, CommandLine& line) {
  ImportRequest& rq = line.import.request;
  const std::optional<CurrentUnit> u = ParseCurrentUnit(v);
  if (!u) return "--current-unit must be A or mA";
  rq.vi.currentUnit = rq.icb.currentUnit = *u;
  rq.currentUnitGiven = true;
  return "";
}

std::string ReadVoltageUnit(const std::string& v, CommandLine& line) {
  ImportRequest& rq = line.import.request;
  const std::optional<VoltageUnit> u = ParseVoltageUnit(v);
  if (!u) return "--voltage-unit must be V, mV, uV or nV";
  rq.vi.voltageUnit = *u;
  rq.voltageUnitGiven = true;
  return "";
}

std::string ReadBackgroundFraction(const std::string& v, CommandLine& line) {
  const std::optional<double> f = ReadFiniteNumber(v);
  if (!f || *f < 0 || *f > 1) return "--background-fraction must be from 0 to 1";
  line.import.request.vi.backgroundFraction = *f;
  return "";
}

std::string ReadMinField(const std::string& v, CommandLine& line) {
  const std::optional<double> e = ReadFiniteNumber(v);
  if (!e || *e < 0) return "--min-field must be a field of 0 V/m or more";
  line.import.request.vi.minField = *e;
  return "";
}

using Reader = std::string (*)(const std::string& value, CommandLine& line);

struct ValueReader {
  OptionId id;
  Reader read;
};

// clang-format off
const ValueReader kReaders[] = {
  {OptionId::Threads, ReadThreads},       {OptionId::Scale, ReadScale},
  {OptionId::Set, ReadAssignment},        {OptionId::Starts, ReadStarts},
  {OptionId::Fix, ReadFix},               {OptionId::Free, ReadFree},
  {OptionId::Bounds, ReadBounds},         {OptionId::Orders, ReadOrders},
  {OptionId::Curves, ReadCurves},         {OptionId::Loss, ReadLoss},
  {OptionId::LossScale, ReadLossScale},   {OptionId::Weight, ReadWeight},
  {OptionId::Write, ReadWrite},           {OptionId::Json, ReadJson},
  {OptionId::Criterion, ReadCriterion},   {OptionId::Format, ReadFormat},
  {OptionId::Out, ReadOut},               {OptionId::Project, ReadProject},
  {OptionId::TapLength, ReadTapLength},   {OptionId::Width, ReadWidth},
  {OptionId::Thickness, ReadThickness},   {OptionId::Columns, ReadColumns},
  {OptionId::TemperatureColumn, ReadTemperatureColumn},
  {OptionId::Temperature, ReadTemperature}, {OptionId::Field, ReadField},
  {OptionId::CurrentUnit, ReadCurrentUnit}, {OptionId::VoltageUnit, ReadVoltageUnit},
  {OptionId::BackgroundFraction, ReadBackgroundFraction},
  {OptionId::MinField, ReadMinField},
};
// clang-format on

}  // namespace

std::string ApplyValue(OptionId id, const std::string& value, CommandLine& line) {
  for (const ValueReader& r : kReaders)
    if (r.id == id) return r.read(value, line);
  return "";
}

std::string ApplyCommandValues(OptionId id, const std::vector<std::string>& values,
                               CommandLine& line) {
  if (id == OptionId::Map) return ParseMap(values, line.map);
  if (id == OptionId::At) return ParseAt(values[0], line.at);
  return "";
}

}  // namespace zx::cli
