#include "cli/command_line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cli/options.h"

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

bool ParseNumber(const std::string& text, double& out) {
  const std::optional<double> v = ReadNumber(text);
  if (v) out = *v;
  return v.has_value();
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
    opt.fit.lower[static_cast<std::size_t>(k)] = lo;
    opt.fit.upper[static_cast<std::size_t>(k)] = hi;
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

// "T=20,B=1.5,I=30" -> the point; T and B needed, I optional.
std::string ParseAt(const std::string& text, AtPoint& at) {
  const char* usage = "--at takes T=K,B=T[,I=A]";
  for (const std::string& item : SplitCommas(text)) {
    const std::size_t eq = item.find('=');
    if (eq == std::string::npos) return usage;
    const std::string name = item.substr(0, eq);
    double* target = name == "T"   ? &at.temp
                     : name == "B" ? &at.field
                     : name == "I" ? &at.current
                                   : nullptr;
    if (!target || !std::isnan(*target) || !ParseNumber(item.substr(eq + 1), *target) ||
        !std::isfinite(*target))
      return usage;
  }
  if (std::isnan(at.temp) || std::isnan(at.field)) return usage;
  return "";
}

bool ParsePositive(const std::string& text, double& out) {
  return ParseNumber(text, out) && out > 0;
}

std::string ApplyThreads(const std::string& v, Options& opt) {
  double d = 0;
  if (!ParsePositive(v, d)) return "--threads needs a positive number";
  if (d != static_cast<int>(d) || d > 1024) return "--threads needs a whole number";
  opt.threads = static_cast<int>(d);
  return "";
}

std::string ApplyScale(const std::string& v, Options& opt) {
  double d = 0;
  if (!ParsePositive(v, d)) return "--scale needs a positive number";
  if (d > 16) return "--scale must be at most 16";
  opt.scale = d;
  return "";
}

std::string ApplyStarts(const std::string& v, Options& opt) {
  double d = 0;
  if (!ParsePositive(v, d) || d > 10000 || d != static_cast<int>(d))
    return "--starts needs a whole number from 1 to 10000";
  opt.fit.starts = static_cast<int>(d);
  return "";
}

std::string ApplyLoss(const std::string& v, Options& opt) {
  if (v == "linear")
    opt.fit.loss = LossKind::Linear;
  else if (v == "soft_l1")
    opt.fit.loss = LossKind::SoftL1;
  else if (v == "cauchy")
    opt.fit.loss = LossKind::Cauchy;
  else
    return "--loss takes linear, soft_l1 or cauchy";
  return "";
}

std::string ApplyLossScale(const std::string& v, Options& opt) {
  double d = 0;
  if (!ParsePositive(v, d) || !(d < 1e300)) return "--loss-scale needs a positive number";
  opt.fit.lossScale = d;
  return "";
}

std::string ApplyWeight(const std::string& v, Options& opt) {
  if (v == "condition")
    opt.fit.weighting = Weighting::PerCondition;
  else if (v == "point")
    opt.fit.weighting = Weighting::PerPoint;
  else
    return "--weight takes condition or point";
  return "";
}

// The value of one option of the calculation line into `opt`; empty, or
// why the value is refused.
std::string ApplyValue(OptionId id, const std::string& v, Options& opt) {
  switch (id) {
    case OptionId::Threads:
      return ApplyThreads(v, opt);
    case OptionId::Scale:
      return ApplyScale(v, opt);
    case OptionId::Starts:
      return ApplyStarts(v, opt);
    case OptionId::Fix:
      if (!ParseNames(v, opt.fit.fixed, true))
        return "--fix takes a comma-separated list of Am, sigma2, gamma, m, g2, Tc, Bc2";
      return "";
    case OptionId::Free:
      if (!ParseNames(v, opt.fit.fixed, false))
        return "--free takes a comma-separated list of Tc, Bc2";
      return "";
    case OptionId::Bounds:
      if (!ParseBounds(v, opt))
        return "--bounds takes NAME=LO:HI,... (NAME one of Am, sigma2, gamma, m, g2, Tc, Bc2)";
      return "";
    case OptionId::Orders:
      if (v != "all") return "--orders takes all";
      opt.fit.allOrders = true;
      return "";
    case OptionId::Curves:
      if (v.empty()) return "--curves needs a file";
      opt.curves = v;
      return "";
    case OptionId::Loss:
      return ApplyLoss(v, opt);
    case OptionId::LossScale:
      return ApplyLossScale(v, opt);
    case OptionId::Weight:
      return ApplyWeight(v, opt);
    case OptionId::Write:
      opt.write = true;
      return "";
    case OptionId::Json:
      opt.json = true;
      return "";
    case OptionId::Criterion:
      if (!ParsePositive(v, opt.criterion) || !(opt.criterion < 1e300))
        return "--criterion needs a positive number (V/m)";
      return "";
    case OptionId::Format:
      if (v != "csv" && v != "comsol" && v != "json") return "--format takes csv, comsol or json";
      opt.format = v;
      return "";
    case OptionId::Out:
      if (v.empty()) return "--out needs a file";
      opt.out = v;
      return "";
    default:
      return "";
  }
}

Command CommandOf(OptionId id) {
  switch (id) {
    case OptionId::Help:
      return Command::Help;
    case OptionId::Version:
      return Command::Version;
    case OptionId::New:
      return Command::New;
    case OptionId::Preview:
      return Command::Preview;
    case OptionId::Plot:
      return Command::Plot;
    case OptionId::Fit:
      return Command::Fit;
    case OptionId::Quality:
      return Command::Quality;
    case OptionId::Map:
      return Command::Map;
    case OptionId::At:
      return Command::At;
    default:
      return Command::Calc;
  }
}

// The command `entry` (at args[i]) and the values it takes; i moves past
// them. Empty, or why they are refused.
std::string ReadCommand(const OptionEntry& entry, const std::vector<std::string>& args,
                        std::size_t& i, CommandLine& line) {
  line.command = CommandOf(entry.id);
  // --map takes one value per word of its argument, --at one. The image
  // of --plot is the first of the files, wherever it stands.
  if (entry.id != OptionId::Map && entry.id != OptionId::At) return "";
  const std::size_t count =
      static_cast<std::size_t>(std::count(entry.argument.begin(), entry.argument.end(), ' ')) + 1;
  if (i + count >= args.size()) return args[i] + " needs " + std::string(entry.argument);
  const std::vector<std::string> values(args.begin() + static_cast<long>(i) + 1,
                                        args.begin() + static_cast<long>(i + count) + 1);
  i += count;
  return line.command == Command::Map ? ParseMap(values, line.map) : ParseAt(values[0], line.at);
}

// An option of the calculation line and its value, if it takes one; i
// moves past the value. Empty, or why it is refused.
std::string ReadValue(const OptionEntry& entry, const std::vector<std::string>& args,
                      std::size_t& i, CommandLine& line) {
  std::string value;
  if (!entry.argument.empty()) {
    if (i + 1 >= args.size())
      return args[i] + " needs " +
             (entry.kind == OptionKind::Assignment ? std::string(entry.argument) : "a value");
    value = args[++i];
  }
  if (entry.kind == OptionKind::Assignment) {
    line.assignments.push_back(value);
    return "";
  }
  return ApplyValue(entry.id, value, line.options);
}

// Checks that need the whole line: options with their command, the files.
std::string CheckLine(CommandLine& line, bool commandGiven, const std::vector<OptionKind>& given,
                      bool outGiven) {
  auto gave = [&](OptionKind k) { return std::find(given.begin(), given.end(), k) != given.end(); };
  if (!line.assignments.empty()) {
    if (commandGiven) return "--set goes alone with a project";
    line.command = Command::Set;
  }
  if (gave(OptionKind::FitOnly) && line.command != Command::Fit)
    return OptionNames(OptionKind::FitOnly) + " go with --fit";
  const bool design = line.command == Command::Map || line.command == Command::At;
  if (gave(OptionKind::DesignOnly) && !design)
    return "--criterion and --format go with --map or --at";
  if (outGiven && line.command != Command::Map) return "--out goes with --map or an import";
  if (line.options.format != "csv" && line.command != Command::Map)
    return "--format goes with --map";
  if (gave(OptionKind::JsonOutput) && line.command != Command::Fit &&
      line.command != Command::Quality && line.command != Command::At)
    return "--json goes with --fit, --quality or --at";
  if (line.command == Command::Plot)
    return line.operands.size() == 2 ? "" : "--plot needs an image file and a project";
  if (line.operands.size() != 1)
    return line.operands.empty() ? "no project given" : "too many arguments";
  return "";
}

}  // namespace

bool IsImportLine(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (const OptionEntry* entry = FindOption(a); entry && entry->kind == OptionKind::ImportCommand)
      return true;
  return false;
}

std::string ParseCommandLine(const std::vector<std::string>& args, CommandLine& line) {
  bool commandGiven = false, outGiven = false;
  std::vector<OptionKind> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const OptionEntry* entry = FindOption(a);
    // Import options are not of this line, but for --out (the map's file).
    if (entry && IsImportOption(*entry) && entry->id != OptionId::Out) entry = nullptr;
    if (!entry) {
      if (a.size() > 1 && a[0] == '-') return "unknown option " + a;
      line.operands.push_back(a);
      continue;
    }
    if (entry->kind == OptionKind::Query) {
      line.command = CommandOf(entry->id);
      return "";
    }
    if (entry->kind == OptionKind::Command) {
      if (commandGiven) return "only one command at a time";
      commandGiven = true;
      if (std::string why = ReadCommand(*entry, args, i, line); !why.empty()) return why;
      continue;
    }
    given.push_back(entry->kind);
    outGiven = outGiven || entry->id == OptionId::Out;
    if (std::string why = ReadValue(*entry, args, i, line); !why.empty()) return why;
  }
  return CheckLine(line, commandGiven, given, outGiven);
}

}  // namespace zx::cli
