#include "cli/command_line.h"

#include <algorithm>

#include "cli/option_values.h"
#include "cli/options.h"
#include "model/result_path.h"

namespace zx::cli {

namespace {

// What the reading of a line has met so far.
struct Reading {
  bool commandGiven = false;
  bool answered = false;                  // --help or --version: nothing after it is read
  std::vector<const OptionEntry*> given;  // the options with values, in order

  bool Gave(OptionKind kind) const {
    return std::any_of(given.begin(), given.end(), [&](auto* e) { return e->kind == kind; });
  }
  bool Gave(OptionId id) const {
    return std::any_of(given.begin(), given.end(), [&](auto* e) { return e->id == id; });
  }
};

// Whether `args` hold an import command anywhere: then the whole line is
// read as an import line.
bool IsImportLine(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (const OptionEntry* entry = FindOption(a); entry && entry->kind == OptionKind::ImportCommand)
      return true;
  return false;
}

// The option `word` is on this line, or null: the calculation line knows
// no import option but --out (the map's file), an import line nothing but
// its own options and --set.
const OptionEntry* OptionOnLine(const std::string& word, bool importLine) {
  const OptionEntry* entry = FindOption(word);
  if (!entry) return nullptr;
  const bool ofImport = IsImportOption(*entry);
  if (importLine) return ofImport || entry->id == OptionId::Set ? entry : nullptr;
  return ofImport && entry->id != OptionId::Out ? nullptr : entry;
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
    case OptionId::ImportVi:
    case OptionId::ImportIcb:
      return Command::Import;
    default:
      return Command::Calc;
  }
}

// An import command's measured files: its value and the words after it
// up to the next option.
void ReadSources(const OptionEntry& entry, const std::vector<std::string>& args, std::size_t& i,
                 ImportLine& import) {
  import.request.kind = entry.id == OptionId::ImportVi ? ImportKind::ViToEj : ImportKind::IcbToJcb;
  import.sources.push_back(args[++i]);
  while (i + 1 < args.size() && args[i + 1].compare(0, 2, "--") != 0)
    import.sources.push_back(args[++i]);
}

// The command `entry` (at args[i]) and the values it takes; i moves past
// them. Empty, or why they are refused.
std::string ReadCommand(const OptionEntry& entry, const std::vector<std::string>& args,
                        std::size_t& i, CommandLine& line, Reading& r) {
  if (r.commandGiven) return "only one command at a time";
  r.commandGiven = true;
  line.command = CommandOf(entry.id);
  if (line.command == Command::Import) {
    ReadSources(entry, args, i, line.import);
    return "";
  }
  // --map takes one value per word of its argument, --at one. The image
  // of --plot is the first of the files, wherever it stands.
  if (entry.id != OptionId::Map && entry.id != OptionId::At) return "";
  const std::size_t count =
      static_cast<std::size_t>(std::count(entry.argument.begin(), entry.argument.end(), ' ')) + 1;
  if (i + count >= args.size()) return args[i] + " needs " + std::string(entry.argument);
  const std::vector<std::string> values(args.begin() + static_cast<long>(i) + 1,
                                        args.begin() + static_cast<long>(i + count) + 1);
  i += count;
  return ApplyCommandValues(entry.id, values, line);
}

// An option and its value, if it takes one; i moves past the value. Empty,
// or why it is refused.
std::string ReadValue(const OptionEntry& entry, const std::vector<std::string>& args,
                      std::size_t& i, CommandLine& line) {
  std::string value;
  if (!entry.argument.empty()) {
    if (i + 1 >= args.size())
      return args[i] + " needs " +
             (entry.kind == OptionKind::Assignment ? std::string(entry.argument) : "a value");
    value = args[++i];
  }
  return ApplyValue(entry.id, value, line);
}

// A word that is no option of the line: a file of the calculation line;
// the import line's files follow its command.
std::string ReadOperand(const std::string& word, CommandLine& line) {
  if (line.importLine || (word.size() > 1 && word[0] == '-')) return "unknown option " + word;
  line.operands.push_back(word);
  return "";
}

// The word at args[i] and what it takes; i moves past them. Empty, or why
// they are refused.
std::string ReadWord(const std::vector<std::string>& args, std::size_t& i, CommandLine& line,
                     Reading& r) {
  const std::string& word = args[i];
  // Every option of an import line takes a value.
  if (line.importLine && i + 1 >= args.size()) return word + " needs a value";
  const OptionEntry* entry = OptionOnLine(word, line.importLine);
  if (!entry) return ReadOperand(word, line);
  switch (entry->kind) {
    case OptionKind::Query:
      line.command = CommandOf(entry->id);
      r.answered = true;
      return "";
    case OptionKind::Command:
    case OptionKind::ImportCommand:
      return ReadCommand(*entry, args, i, line, r);
    default:
      r.given.push_back(entry);
      return ReadValue(*entry, args, i, line);
  }
}

// The calculation line's options that go with some commands only.
std::string CheckCompanions(const CommandLine& line, const Reading& r) {
  const Command c = line.command;
  if (r.Gave(OptionKind::FitOnly) && c != Command::Fit)
    return OptionNames(OptionKind::FitOnly) + " go with --fit";
  if (r.Gave(OptionKind::DesignOnly) && c != Command::Map && c != Command::At)
    return "--criterion and --format go with --map or --at";
  if (r.Gave(OptionId::Out) && c != Command::Map) return "--out goes with --map or an import";
  if (line.options.format != "csv" && c != Command::Map) return "--format goes with --map";
  if (r.Gave(OptionKind::JsonOutput) && c != Command::Fit && c != Command::Quality &&
      c != Command::At)
    return "--json goes with --fit, --quality or --at";
  return "";
}

// Checks of the calculation line that need all of it: --set alone, the
// options with their command, the files.
std::string CheckCalculationLine(CommandLine& line, const Reading& r) {
  if (!line.assignments.empty()) {
    if (r.commandGiven) return "--set goes alone with a project";
    line.command = Command::Set;
  }
  if (std::string why = CheckCompanions(line, r); !why.empty()) return why;
  if (line.command == Command::Plot)
    return line.operands.size() == 2 ? "" : "--plot needs an image file and a project";
  if (line.operands.size() != 1)
    return line.operands.empty() ? "no project given" : "too many arguments";
  return "";
}

// The import options that exclude each other or the kind of table.
std::string CheckImportOptions(const ImportLine& p, const Reading& r) {
  const bool vi = p.request.kind == ImportKind::ViToEj;
  if (!vi && r.Gave(OptionKind::ImportViOnly))
    return "--import-icb takes no tap length, voltage unit, background or min-field";
  if (!vi && p.field) return "--import-icb takes no --field (B is a column)";
  if (p.temperature && p.ColumnAsked())
    return "--temperature and --temperature-column exclude each other";
  return "";
}

// Where the import writes: one --out, or a project with several files.
std::string CheckImportTarget(const ImportLine& p) {
  const bool toProject = !p.project.empty();
  if (!toProject && !p.assignments.empty()) return "--set goes with --project";
  if (toProject && !p.out.empty())
    return "--out names one file without --project; with --project each file is "
           "written next to its measured file";
  if (!toProject && p.sources.size() > 1) return "several files need --project";
  if (!toProject && p.out.empty()) return "--out is missing";
  return "";
}

// The lengths of the conductor an import needs.
std::string CheckImportGeometry(const ImportLine& p, const Reading& r) {
  if (p.request.kind == ImportKind::ViToEj && !r.Gave(OptionId::TapLength))
    return "--tap-length is missing";
  if (!r.Gave(OptionId::Width)) return "--width is missing";
  if (!r.Gave(OptionId::Thickness)) return "--thickness is missing";
  return "";
}

// Checks of an import line that need all of it.
std::string CheckImportLine(const ImportLine& p, const Reading& r) {
  if (!r.commandGiven) return "no import command given";
  std::string why = CheckImportOptions(p, r);
  if (why.empty()) why = CheckImportTarget(p);
  if (why.empty()) why = CheckImportGeometry(p, r);
  if (why.empty() && p.project.empty() && SameFile(p.sources[0], p.out))
    why = "--out names the measured file itself";
  return why;
}

}  // namespace

std::string ParseCommandLine(const std::vector<std::string>& args, CommandLine& line) {
  line.importLine = IsImportLine(args);
  // An import takes the units a table states unless they are given.
  if (line.importLine)
    line.import.request.currentUnitGiven = line.import.request.voltageUnitGiven = false;
  Reading r;
  for (std::size_t i = 0; i < args.size() && !r.answered; ++i)
    if (std::string why = ReadWord(args, i, line, r); !why.empty()) return why;
  if (r.answered) return "";
  return line.importLine ? CheckImportLine(line.import, r) : CheckCalculationLine(line, r);
}

}  // namespace zx::cli
