#include "cli/options.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace zx::cli {

namespace {

using K = OptionKind;
using O = OptionId;

// clang-format off
const std::vector<OptionEntry> kOptions = {
  {O::Help, "--help", "-h", "", K::Query, "print this text"},
  {O::Version, "--version", "", "", K::Query, "print the program's version"},
  {O::Threads, "--threads", "", "N", K::Common, "threads of the calculation (default: all cores)"},
  {O::Scale, "--scale", "", "N", K::Common, "device pixels per graph pixel of --plot (up to 16)"},
  {O::New, "--new", "", "", K::Command, "write a new project with default settings"},
  {O::Preview, "--preview", "", "", K::Command, "correlation of every calculation condition"},
  {O::Plot, "--plot", "", "OUT.png|OUT.svg", K::Command, "draw the graph as the window shows it"},
  {O::Fit, "--fit", "", "", K::Command, "fit the pinning parameters to the data"},
  {O::Quality, "--quality", "", "", K::Command, "fit quality of the current parameters"},
  {O::Set, "--set", "", "KEY=VALUE", K::Assignment, "set a value by its settings-file key"},
  {O::Starts, "--starts", "", "N", K::FitOnly, "starts of the global fit, 1 to 10000"},
  {O::Fix, "--fix", "", "NAMES", K::FitOnly, "parameters kept at their values"},
  {O::Free, "--free", "", "Tc,Bc2", K::FitOnly, "Tc or Bc2 fitted too"},
  {O::Bounds, "--bounds", "", "NAME=LO:HI,...", K::FitOnly, "this run's ranges of parameters"},
  {O::Orders, "--orders", "", "all", K::FitOnly, "try every order of the scaling law"},
  {O::Curves, "--curves", "", "FILE", K::FitOnly, "write the model curves with their bands"},
  {O::Loss, "--loss", "", "linear|soft_l1|cauchy", K::FitOnly, "the loss of the residuals"},
  {O::LossScale, "--loss-scale", "", "DECADES", K::FitOnly, "where the loss turns robust"},
  {O::Weight, "--weight", "", "condition|point", K::FitOnly, "what weighs the same"},
  {O::Write, "--write", "", "", K::FitOnly, "store converged values and the fit record"},
  {O::Json, "--json", "", "", K::JsonOutput, "print the report as JSON"},
  {O::Map, "--map", "", "T=LO:HI:STEP B=LO:HI:STEP", K::Command, "Jc and n of the fit on a grid"},
  {O::At, "--at", "", "T=K,B=T[,I=A]", K::Command, "Jc, n and Ic at an operating point"},
  {O::Criterion, "--criterion", "", "E", K::DesignOnly, "the criterion in V/m (default: E_c)"},
  {O::Format, "--format", "", "csv|comsol|json", K::DesignOnly, "the map's file format"},
  {O::ImportVi, "--import-vi", "", "RAW", K::ImportCommand, "measured V-I tables to E-J data files"},
  {O::ImportIcb, "--import-icb", "", "RAW", K::ImportCommand, "measured Ic-B tables to Jc-B data files"},
  {O::Out, "--out", "", "OUT.dat", K::Import, "the data file of a single import (the map's file)"},
  {O::Project, "--project", "", "PROJECT.zx2", K::Import, "register every file in this project"},
  {O::TapLength, "--tap-length", "", "M", K::ImportViOnly, "distance of the voltage taps in m"},
  {O::Width, "--width", "", "M", K::Import, "width of the conductor in m"},
  {O::Thickness, "--thickness", "", "M", K::Import, "thickness of the conductor in m"},
  {O::Columns, "--columns", "", "I,V", K::Import, "the two columns to read, from 0"},
  {O::TemperatureColumn, "--temperature-column", "", "K", K::Import, "the column of the temperature, by number or name"},
  {O::Temperature, "--temperature", "", "T", K::Import, "the temperature of every file in K"},
  {O::Field, "--field", "", "B", K::Import, "the field of every V-I file in T"},
  {O::CurrentUnit, "--current-unit", "", "A|mA", K::Import, "unit of the current column"},
  {O::VoltageUnit, "--voltage-unit", "", "V|mV|uV|nV", K::ImportViOnly, "unit of the voltage column"},
  {O::BackgroundFraction, "--background-fraction", "", "F", K::ImportViOnly,
   "share of the currents the background is fitted to"},
  {O::MinField, "--min-field", "", "E", K::ImportViOnly, "the lowest E kept, in V/m"},
};

// A piece of a form's synopsis: an option as the table spells it (with
// its argument, or another one where the form names it differently), or a
// text of its own.
enum class Show { Required, Optional, Repeated, Choice, OptionalChoice, Text };

struct Piece {
  Show show;
  OptionId id = OptionId::Help;
  std::string_view argument = {};  // empty: the table's
  OptionId other = OptionId::Help;  // the second of a choice
  std::string_view text = {};
};

Piece Req(OptionId id, std::string_view argument = {}) { return {Show::Required, id, argument}; }
Piece Opt(OptionId id, std::string_view argument = {}) { return {Show::Optional, id, argument}; }
Piece More(OptionId id) { return {Show::Repeated, id}; }
Piece OneOf(OptionId a, OptionId b) { return {Show::Choice, a, {}, b}; }
Piece OptOneOf(OptionId a, OptionId b) { return {Show::OptionalChoice, a, {}, b}; }
Piece Text(std::string_view text) { return {Show::Text, OptionId::Help, {}, OptionId::Help, text}; }

const Piece kProject = Text("PROJECT.zx2");

// One form of the command: its synopsis (continuation lines after the
// first) and its description, a line each.
struct UsageForm {
  bool import;
  std::vector<std::vector<Piece>> synopsis;
  std::vector<std::string_view> description;
};

const std::vector<UsageForm> kForms = {
  {false, {{Opt(O::Threads), kProject}}, {"full calculation: write every result file"}},
  {false, {{Opt(O::Threads), Req(O::Preview), kProject}}, {"correlation of every calculation condition"}},
  {false, {{Opt(O::Scale), Req(O::Plot), kProject}}, {"draw the graph as the window shows it"}},
  {false, {{Req(O::New), kProject}}, {"write a new project with default settings"}},
  {false,
   {{Req(O::Fit), Opt(O::Starts), Opt(O::Fix), Opt(O::Free)},
    {Opt(O::Bounds), Opt(O::Orders), Opt(O::Curves)},
    {Opt(O::Loss), Opt(O::LossScale)},
    {Opt(O::Weight), Opt(O::Threads), Opt(O::Write), Opt(O::Json)},
    {kProject}},
   {"fit the pinning parameters to the data",
    "(NAMES: comma-separated Am,sigma2,gamma,m,g2;",
    "Tc and Bc2 stay fixed unless freed)",
    "output: param, corr, minimum, order, warn,",
    "cond and total lines, in that order;",
    "rms: RMS of all points' residuals, decades;",
    "merit (last column of minimum and total):",
    "sqrt(2 cost / sum of weights), the figure",
    "the fit minimises and ranks minima by"}},
  {false, {{Req(O::Quality), Opt(O::Json), kProject}},
   {"fit quality of the current parameters", "(param lines with nan errors, cond, total)"}},
  {false,
   {{Req(O::Map), Opt(O::Criterion)},
    {Opt(O::Format), Opt(O::Out, "FILE"), Opt(O::Threads), kProject}},
   {"Jc and n of the fitted model on a grid with",
    "their 95 % bands (from PROJECT.fit.json)"}},
  {false, {{Req(O::At), Opt(O::Criterion), Opt(O::Json)}, {kProject}},
   {"Jc, n and Ic at an operating point"}},
  {false, {{Req(O::Set), More(O::Set), kProject}},
   {"set values by their settings-file keys"}},
  {true,
   {{Req(O::ImportVi), Req(O::Out), Req(O::TapLength), Req(O::Width), Req(O::Thickness)},
    {Opt(O::Columns), Opt(O::CurrentUnit), Opt(O::VoltageUnit)},
    {Opt(O::BackgroundFraction), Opt(O::MinField), Opt(O::TemperatureColumn)}},
   {"measured V-I table to an E-J data file"}},
  {true,
   {{Req(O::ImportVi, "RAW..."), Req(O::Project), Req(O::TapLength), Req(O::Width)},
    {Req(O::Thickness), OptOneOf(O::TemperatureColumn, O::Temperature), Opt(O::Field)},
    {More(O::Set), Text("[other import options]")}},
   {"each file converted and registered with", "a condition (project made if missing)"}},
  {true,
   {{Req(O::ImportIcb), Req(O::Out), Req(O::Width), Req(O::Thickness)},
    {Opt(O::Columns, "B,I"), Opt(O::CurrentUnit)}},
   {"measured Ic-B table to a Jc-B data file"}},
  {true,
   {{Req(O::ImportIcb, "RAW..."), Req(O::Project), Req(O::Width), Req(O::Thickness)},
    {Opt(O::Temperature), Opt(O::Columns, "B,I"), Opt(O::CurrentUnit), More(O::Set)}},
   {}},
  {false, {{OneOf(O::Help, O::Version)}}, {}},
};
// clang-format on

constexpr std::size_t kDescriptionColumn = 53;
const std::string kContinuation(21, ' ');

const OptionEntry& EntryOf(OptionId id) {
  for (const OptionEntry& entry : kOptions)
    if (entry.id == id) return entry;
  return kOptions.front();
}

// "--name ARGUMENT", or the name alone for a flag.
std::string Spelled(OptionId id, std::string_view argument = {}) {
  const OptionEntry& entry = EntryOf(id);
  const std::string_view shown = argument.empty() ? entry.argument : argument;
  return std::string(entry.name) + (shown.empty() ? "" : " " + std::string(shown));
}

std::string Rendered(const Piece& p) {
  switch (p.show) {
    case Show::Required:
      return Spelled(p.id, p.argument);
    case Show::Optional:
      return "[" + Spelled(p.id, p.argument) + "]";
    case Show::Repeated:
      return "[" + Spelled(p.id) + " ...]";
    case Show::Choice:
      return Spelled(p.id) + " | " + Spelled(p.other);
    case Show::OptionalChoice:
      return "[" + Spelled(p.id) + " | " + Spelled(p.other) + "]";
    case Show::Text:
      break;
  }
  return std::string(p.text);
}

std::string SynopsisLine(const std::vector<Piece>& pieces) {
  std::string line;
  for (const Piece& p : pieces) line += (line.empty() ? "" : " ") + Rendered(p);
  return line;
}

std::string Render(bool onlyImport) {
  std::string text;
  for (const UsageForm& form : kForms) {
    if (onlyImport && !form.import) continue;
    text += text.empty() ? "usage: zentrix2-calc " : "       zentrix2-calc ";
    for (std::size_t k = 0; k < form.synopsis.size(); ++k) {
      if (k > 0) text += "\n" + kContinuation;
      text += SynopsisLine(form.synopsis[k]);
    }
    if (onlyImport) {
      text += "\n";
      continue;
    }
    // A short one-line form has its description beside it.
    const std::size_t lineLength = text.size() - (text.rfind('\n') + 1);
    bool beside = form.synopsis.size() == 1 && lineLength + 2 <= kDescriptionColumn;
    for (std::string_view line : form.description) {
      text += beside ? std::string(kDescriptionColumn - lineLength, ' ')
                     : "\n" + std::string(kDescriptionColumn, ' ');
      text += line;
      beside = false;
    }
    text += "\n";
  }
  return text;
}

}  // namespace

const std::vector<OptionEntry>& OptionTable() { return kOptions; }

const OptionEntry* FindOption(std::string_view name) {
  for (const OptionEntry& entry : kOptions)
    if (entry.name == name || (!entry.alias.empty() && entry.alias == name)) return &entry;
  return nullptr;
}

bool IsImportOption(const OptionEntry& entry) {
  return entry.kind == OptionKind::ImportCommand || entry.kind == OptionKind::Import ||
         entry.kind == OptionKind::ImportViOnly;
}

std::string OptionNames(OptionKind kind) {
  std::vector<std::string_view> names;
  for (const OptionEntry& entry : kOptions)
    if (entry.kind == kind) names.push_back(entry.name);
  std::string text;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k > 0) text += k + 1 == names.size() ? " and " : ", ";
    text += names[k];
  }
  return text;
}

std::optional<double> ReadNumber(const std::string& text) {
  // strtod would read "0x10" as 16: a length or a count is written in decimals.
  if (text.find_first_of("xX") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || end == text.c_str() || *end != '\0') return std::nullopt;
  return v;
}

std::optional<double> ReadFiniteNumber(const std::string& text) {
  const std::optional<double> v = ReadNumber(text);
  if (!v || !std::isfinite(*v)) return std::nullopt;
  return v;
}

std::optional<int> ReadColumnNumber(const std::string& text) {
  const std::optional<double> v = ReadNumber(text);
  if (!v || !(*v >= 0 && *v <= INT_MAX) || *v != std::floor(*v)) return std::nullopt;
  return static_cast<int>(*v);
}

const std::string& UsageText() {
  static const std::string text = Render(false);
  return text;
}

const std::string& HelpText() {
  static const std::string text = [] {
    constexpr std::size_t kHelpColumn = 36;
    std::string t = UsageText() + "\noptions:\n";
    for (const OptionEntry& entry : kOptions) {
      std::string line =
          "  " + (entry.alias.empty() ? "" : std::string(entry.alias) + ", ") + Spelled(entry.id);
      line += line.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - line.size(), ' ')
                                             : "\n" + std::string(kHelpColumn, ' ');
      t += line + std::string(entry.help) + "\n";
    }
    return t;
  }();
  return text;
}

const std::string& ImportUsageText() {
  static const std::string text = Render(true);
  return text;
}

}  // namespace zx::cli
