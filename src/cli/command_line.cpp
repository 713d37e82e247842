#include "cli/command_line.h"

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
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return !text.empty() && end != text.c_str() && *end == '\0';
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
    if (k == static_cast<int>(FitParam::Tc)) {
      opt.fit.tcLower = lo;
      opt.fit.tcUpper = hi;
    } else if (k == static_cast<int>(FitParam::Bc2)) {
      opt.fit.bc2Lower = lo;
      opt.fit.bc2Upper = hi;
    } else {
      opt.lower[k] = lo;
      opt.upper[k] = hi;
    }
  }
  return true;
}

bool ParsePositive(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == '\0' && out > 0;
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
    default:
      return Command::Calc;
  }
}

// Checks that need the whole line: options with their command, the files.
std::string CheckLine(CommandLine& line, bool commandGiven, bool fitOptionGiven) {
  if (!line.assignments.empty()) {
    if (commandGiven) return "--set goes alone with a project";
    line.command = Command::Set;
  }
  if (fitOptionGiven && line.command != Command::Fit)
    return OptionNames(OptionKind::FitOnly) + " go with --fit";
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
  bool commandGiven = false, fitOptionGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const OptionEntry* entry = FindOption(a);
    if (entry && IsImportOption(*entry)) entry = nullptr;  // not of this line
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
      line.command = CommandOf(entry->id);
      continue;
    }
    std::string value;
    if (!entry->argument.empty()) {
      if (i + 1 >= args.size())
        return a + " needs " +
               (entry->kind == OptionKind::Assignment ? std::string(entry->argument) : "a value");
      value = args[++i];
    }
    fitOptionGiven = fitOptionGiven || entry->kind == OptionKind::FitOnly;
    if (entry->kind == OptionKind::Assignment) {
      line.assignments.push_back(value);
      continue;
    }
    if (std::string why = ApplyValue(entry->id, value, line.options); !why.empty()) return why;
  }
  return CheckLine(line, commandGiven, fitOptionGiven);
}

}  // namespace zx::cli
