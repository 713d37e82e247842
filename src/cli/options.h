// The options of zentrix2-calc in one table: the parsers look options up
// here, and the usage and help texts are made from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zx::cli {

enum class OptionId {
  Help,
  Version,
  Threads,
  Scale,
  New,
  Preview,
  Plot,
  Fit,
  Quality,
  Set,
  Starts,
  Fix,
  Free,
  Bounds,
  Orders,
  Curves,
  Loss,
  LossScale,
  Weight,
  Write,
  Json,
  Map,
  At,
  Criterion,
  Format,
  ImportVi,
  ImportIcb,
  Out,
  Project,
  TapLength,
  Width,
  Thickness,
  Columns,
  TemperatureColumn,
  Temperature,
  Field,
  CurrentUnit,
  VoltageUnit,
  BackgroundFraction,
  MinField,
};

// What an option is to the parser that reads it.
enum class OptionKind {
  Query,          // --help, --version: answered at once
  Command,        // chooses what the run does
  Common,         // goes with every command of the calculation line
  FitOnly,        // goes with --fit only
  DesignOnly,     // goes with --map or --at
  JsonOutput,     // --json: with --fit, --quality or --at
  Assignment,     // --set: repeatable, a command of its own
  ImportCommand,  // --import-vi, --import-icb: the import line
  Import,         // the import line: every option there takes a value
  ImportViOnly,   // the import line, V-I tables only
};

struct OptionEntry {
  OptionId id;
  std::string_view name;
  std::string_view alias;     // a short spelling, or empty
  std::string_view argument;  // as the usage shows it; empty: a flag
  OptionKind kind;
  std::string_view help;
};

const std::vector<OptionEntry>& OptionTable();

// The option spelled `name` (or its alias), or null.
const OptionEntry* FindOption(std::string_view name);

bool IsImportOption(const OptionEntry& entry);

// "--a, --b and --c" of every option of that kind, in table order.
std::string OptionNames(OptionKind kind);

// The number every option value is read as: the whole text, as strtod
// reads it (so "inf" and "nan" too); none when anything else is left.
std::optional<double> ReadNumber(const std::string& text);
// As ReadNumber, finite only.
std::optional<double> ReadFiniteNumber(const std::string& text);
// A column number: a whole number from 0.
std::optional<int> ReadColumnNumber(const std::string& text);

// The whole usage text, and its import forms without their descriptions;
// the synopses spell the options as the table does.
const std::string& UsageText();
// --help: the usage text and every option of the table with its help.
const std::string& HelpText();
const std::string& ImportUsageText();

}  // namespace zx::cli
