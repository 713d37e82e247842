// The import commands: measured V-I or Ic-B tables to data files, and
// optionally into a project with a calculation condition each.
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/english.h"
#include "import/import_steps.h"
#include "import/registration.h"
#include "import/run.h"
#include "model/document.h"
#include "model/format.h"
#include "model/result_path.h"
#include "model/series_file.h"
#include "model/settings_set.h"
#include "model/text_file.h"
#include "model/unsigned_zero.h"

namespace zx::cli {

namespace {

// "%.6e".
std::string Sci6(double v) { return FormatChars(v, std::chars_format::scientific, 6); }

// Paths as the project stores them: whole, so that they do not depend on
// the folder the command ran in.
std::string Absolute(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

const char* SourceName(ValueSource s) {
  switch (s) {
    case ValueSource::Given:
      return "option";
    case ValueSource::Column:
      return "column";
    case ValueSource::Header:
      return "header";
    case ValueSource::None:
      break;
  }
  return "none";
}

int ReportError(const ImportOutcome& o, const ImportRequest& rq) {
  const char* src = rq.source.c_str();
  const bool vi = rq.kind == ImportKind::ViToEj;
  switch (o.error) {
    case ImportError::None:
      return 0;
    case ImportError::Unreadable:
      std::fprintf(stderr, "zentrix2-calc: cannot read %s\n", src);
      return 1;
    case ImportError::XColumn:
    case ImportError::YColumn:
      std::fprintf(stderr, "zentrix2-calc: --columns: %s has no column %d\n", src,
                   o.error == ImportError::XColumn ? *rq.xColumn : *rq.yColumn);
      return 2;
    case ImportError::TemperatureColumn:
      if (!rq.temperatureColumnName.empty())
        std::fprintf(stderr, "zentrix2-calc: --temperature-column: %s has no column named %s\n",
                     src, rq.temperatureColumnName.c_str());
      else
        std::fprintf(stderr, "zentrix2-calc: --temperature-column: %s has no column %d\n", src,
                     *rq.temperatureColumn);
      return 2;
    case ImportError::NoRows:
      std::fprintf(stderr, "zentrix2-calc: %s has no rows of numbers in the chosen columns\n", src);
      return 3;
    case ImportError::FewBackgroundPoints:
      std::fprintf(stderr,
                   "zentrix2-calc: %s: only %d points below %s A to fit the background to (%d "
                   "needed); is column %d the current? (--columns, --background-fraction)\n",
                   src, o.vi.backgroundPoints, Sci6(o.vi.backgroundLimit).c_str(),
                   kMinBackgroundPoints, o.used.xColumn.value_or(-1));
      return 3;
    case ImportError::NothingKept:
      std::fprintf(stderr, "zentrix2-calc: no point of %s is left to write%s\n", src,
                   vi ? " (I > 0, finite values and E above the noise floor)"
                      : " (Ic > 0 and finite values)");
      return 3;
    case ImportError::TooManyPoints:
      std::fprintf(stderr,
                   "zentrix2-calc: %s gives %d points; data files are read up to %zu points, so "
                   "nothing was written\n",
                   src, ImportedPointCount(o), kMaxSeriesPoints);
      return 3;
    default:
      std::fprintf(stderr, "zentrix2-calc: invalid geometry or background settings\n");
      return 2;
  }
}

// Notices on the voltage column: its unit, and E against the criterion.
void ReportVoltageScale(const ImportOutcome& o, const char* s, double criterion) {
  const std::string unit = UnitName(o.used.vi.voltageUnit);
  if (o.voltageUnitAssumed)
    std::fprintf(stderr,
                 "zentrix2-calc: %s: no unit found for the voltage column; taken as %s "
                 "(--voltage-unit)\n",
                 s, unit.c_str());
  if (o.topField > kMaxPlausibleField || o.topField < kMinPlausibleField)
    std::fprintf(stderr,
                 "zentrix2-calc: %s: E reaches %s V/m at the top of the sweep, which no "
                 "transition does; the voltage column is %s%s, not %s (--voltage-unit)\n",
                 s, Sci6(o.topField).c_str(),
                 o.likelyVoltageUnit ? "probably in " : "in another unit",
                 o.likelyVoltageUnit ? UnitName(*o.likelyVoltageUnit).c_str() : "", unit.c_str());
  if (o.bottomField > criterion)
    std::fprintf(stderr,
                 "zentrix2-calc: %s: the lowest E written (%s V/m) lies above the criterion "
                 "E_c (%s V/m): the data's Jc is unknown\n",
                 s, Sci6(o.bottomField).c_str(), Sci6(criterion).c_str());
}

// Notices on the background fit, the sign of the transition and the rows
// left out.
void ReportBackground(const ViImport& vi, const char* s) {
  if (vi.backgroundRises)
    std::fprintf(stderr,
                 "zentrix2-calc: %s: the transition seems to reach below the background "
                 "fraction; a smaller --background-fraction may fit the background better\n",
                 s);
  if (vi.signDoubtful)
    std::fprintf(stderr,
                 "zentrix2-calc: %s: the highest currents barely leave the noise; the sign of "
                 "the transition (%s) is a guess\n",
                 s, vi.flipped ? "turned" : "kept");
  else if (vi.signDisagrees)
    std::fprintf(stderr,
                 "zentrix2-calc: %s: the voltage sign was %s from the highest currents; the "
                 "sum over the upper range points the other way (a dipping background?)\n",
                 s, vi.flipped ? "turned" : "kept");
  if (vi.nonFinite > 0)
    std::fprintf(stderr, "zentrix2-calc: %s: %d rows left out whose values overflow\n", s,
                 vi.nonFinite);
}

void ReportNotices(const ImportOutcome& o, const std::string& src, double criterion) {
  const char* s = src.c_str();
  if (o.source.truncated)
    std::fprintf(stderr, "zentrix2-calc: %s has more rows than can be read; the rest is left out\n",
                 s);
  if (o.used.kind == ImportKind::ViToEj) {
    ReportVoltageScale(o, s, criterion);
    ReportBackground(o.vi, s);
  }
  if (o.temperature && o.temperature->spread > kTemperatureSpreadWarning)
    std::fprintf(stderr,
                 "zentrix2-calc: %s: the temperature spreads by %.3f K (standard deviation) "
                 "over the kept points\n",
                 s, o.temperature->spread);
}

void PrintLine(const ImportOutcome& o, const SourcedValue& temperature, const SourcedValue& field) {
  if (o.used.kind == ImportKind::ViToEj)
    std::printf("kept %d\tdropped %d\toffset %s\tslope %s\tmin-field %s", o.vi.keptCount,
                o.vi.droppedCount, Sci6(o.vi.offset).c_str(), Sci6(o.vi.slope).c_str(),
                Sci6(o.vi.minField).c_str());
  else
    std::printf("kept %d\tdropped %d", o.icb.keptCount, o.icb.droppedCount);
  if (temperature.value)
    std::printf("\ttemperature %s\ttemperature-from %s",
                FormatChars(*temperature.value, std::chars_format::fixed, 3).c_str(),
                SourceName(temperature.from));
  if (field.value && o.used.kind == ImportKind::ViToEj)
    std::printf("\tfield %s\tfield-from %s", Sci6(*field.value).c_str(), SourceName(field.from));
  std::printf("\n");
  std::fflush(stdout);
}

// One converted file of the command line.
struct Planned {
  std::string source;  // whole path
  ImportOutcome outcome;
  SourcedValue temperature, field;
  int code = 0;
};

Planned Convert(const ImportLine& p, const std::string& source) {
  Planned pl;
  pl.source = source;
  ImportRequest rq = p.request;
  rq.source = source;
  pl.outcome = RunImport(rq);
  pl.code = ReportError(pl.outcome, rq);
  const ImportOutcome& o = pl.outcome;
  // A column asked for that holds no number on the written points fails
  // the file: its condition would be missing.
  if (pl.code == 0 && p.ColumnAsked() && !o.temperature) {
    std::fprintf(stderr, "zentrix2-calc: %s: column %d holds no temperature on the kept points\n",
                 source.c_str(), o.used.temperatureColumn.value_or(-1));
    pl.code = 1;
  }
  pl.temperature = ImportTemperature(p.temperature, pl.outcome, p.ColumnAsked());
  pl.field = ImportField(p.field, pl.outcome);
  return pl;
}

// Why a converted file may not be written, after its message: the exit
// code, or 0 when it may. Into a project d, `cond` gets the condition it
// registers with.
int RefusalBeforeWriting(const Planned& pl, const Document* d, const TargetCheck& target,
                         std::optional<ImportedCondition>& cond) {
  const char* s = pl.source.c_str();
  if (target.problem == TargetProblem::MeasuredFile) {
    std::fprintf(stderr, "zentrix2-calc: %s: the output names the measured file itself\n", s);
    return 2;
  }
  if (!d) return 0;
  if (const std::optional<double>& t = pl.temperature.value; t) {
    if (!(*t > 0 && *t < kMaxTemp)) {
      std::fprintf(stderr, "zentrix2-calc: %s: a temperature of %.3f K is outside 0 to 400 K\n", s,
                   UnsignedWhenZero(*t, 3));
      return 2;
    }
    cond = ConditionOfImport(pl.outcome.used.kind, *t, pl.field.value);
    if (const std::string refused = ImportedConditionRefusal(d->project, *cond); !refused.empty()) {
      std::fprintf(stderr, "zentrix2-calc: %s: %s\n", s, Localized(refused).c_str());
      return 2;
    }
  }
  if (target.problem == TargetProblem::PathRefused) {
    std::fprintf(stderr, "zentrix2-calc: %s: %s\n", s, Localized(target.refusal).c_str());
    return 1;
  }
  return 0;
}

// Writes one converted file and registers it in d when there is one.
int WriteOne(const ImportLine& p, const Planned& pl, Document* d, double criterion,
             std::vector<std::string>& written) {
  const ImportOutcome& o = pl.outcome;
  const std::string out = d ? Absolute(DefaultImportOutputPath(pl.source, o.used.kind)) : p.out;
  std::optional<ImportedCondition> cond;
  // Refused before anything is written.
  if (const int code = RefusalBeforeWriting(pl, d, CheckImportTarget(pl.source, out), cond))
    return code;
  if (!WriteFileAtomically(out, o.bytes)) {
    std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", out.c_str());
    return 1;
  }
  written.push_back(out);
  ReportNotices(o, pl.source, criterion);
  if (d)
    if (const std::string refused = RegisterImportedData(*d, out, cond); !refused.empty()) {
      std::fprintf(stderr, "zentrix2-calc: %s: %s\n", pl.source.c_str(),
                   Localized(refused).c_str());
      return 1;
    }
  PrintLine(o, pl.temperature, pl.field);
  return 0;
}

// Files that would register without a condition, or with half of one, are
// named; true when there is none.
bool EveryConditionKnown(const std::vector<Planned>& plan, bool needField) {
  bool known = true;
  for (const Planned& pl : plan) {
    if (pl.code != 0) continue;
    const char* s = pl.source.c_str();
    if (!pl.temperature.value) {
      std::fprintf(stderr,
                   "zentrix2-calc: %s: no temperature: give --temperature or "
                   "--temperature-column, or state it in a header line (Temperature (K)<TAB>77)\n",
                   s);
      known = false;
    } else if (needField && !pl.field.value) {
      std::fprintf(stderr,
                   "zentrix2-calc: %s: no field: give --field in T (above 0: the model has no "
                   "curve at B = 0), or state it in a header line (field / T<TAB>0.3)\n",
                   s);
      known = false;
    }
  }
  return known;
}

// Whether the project file could be replaced: it and its folder writable.
bool ProjectWritable(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 ||
      access(path.c_str(), W_OK) != 0)
    return false;
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

// The values set in the same command, checked as --set checks them, and
// the project's mode; 0, or the exit code of the refusal.
int CheckProject(const ImportLine& p, const Document& d, Project& withSet) {
  const bool vi = p.request.kind == ImportKind::ViToEj;
  withSet = d.project;
  if (const std::string refused = ApplyKeyAssignments(withSet, p.assignments); !refused.empty()) {
    std::fprintf(stderr, "zentrix2-calc: --set: %s; nothing was written\n",
                 English(refused).c_str());
    return 2;
  }
  // Changing the mode empties the registries: only an empty project may.
  if (d.project.Settings.Mode != (vi ? CalcMode::EJ : CalcMode::JcB) &&
      (!d.project.DataFiles.Empty() || !d.project.CalcConds.Empty())) {
    std::fprintf(stderr,
                 "zentrix2-calc: %s is a %s project; %s data need the %s mode (change the mode "
                 "first)\n",
                 p.project.c_str(), vi ? "Jc-B" : "E-J", vi ? "V-I" : "Ic-B", vi ? "E-J" : "Jc-B");
    return 2;
  }
  return 0;
}

// The settings of --set written before the conditions, so that they are
// judged by them.
bool WriteAssignments(const ImportLine& p, const Project& withSet, Document& d,
                      const std::string& projectPath) {
  if (p.assignments.empty()) return true;
  std::vector<std::string> keys;
  for (const KeyAssignment& k : p.assignments) keys.push_back(k.key);
  std::string bytes, replaced;
  return ReadWholeFile(projectPath, bytes) && ReplaceKeyValues(bytes, withSet, keys, replaced) &&
         ReplaceProjectFile(projectPath, replaced, StampOf(bytes)) == WriteResult::Written &&
         LoadDocument(d, projectPath);
}

// Writes and registers every planned file; the exit code of the files.
int WritePlanned(const ImportLine& p, const std::vector<Planned>& plan, Document& d,
                 std::vector<std::string>& written, std::vector<std::string>& aboveTc) {
  int lastCode = 0;
  bool anyFailed = false;
  for (const Planned& pl : plan) {
    lastCode = pl.code != 0 ? pl.code : WriteOne(p, pl, &d, d.project.Params.E_c, written);
    if (lastCode == 0 && pl.temperature.value &&
        AboveCriticalTemperature(d.project, *pl.temperature.value))
      aboveTc.push_back(pl.source);
    if (lastCode != 0) {
      anyFailed = true;
      if (p.sources.size() > 1)
        std::fprintf(stderr, "zentrix2-calc: %s was not imported\n", pl.source.c_str());
    }
  }
  if (written.empty()) return p.sources.size() == 1 ? lastCode : 1;
  if (p.sources.size() == 1) return lastCode;
  return anyFailed ? 1 : 0;
}

// The files of the line converted, written and registered in the open
// project d; the exit code. Nothing is written while a file would go in
// without its condition.
int ImportIntoProject(ImportLine& p, Document& d, const std::string& projectPath, bool created,
                      std::vector<std::string>& written) {
  const bool vi = p.request.kind == ImportKind::ViToEj;
  Project withSet;
  if (const int code = CheckProject(p, d, withSet); code != 0) return code;
  p.request.temperatureColumnByName = true;
  std::vector<Planned> plan;
  for (const std::string& source : p.sources) plan.push_back(Convert(p, Absolute(source)));
  if (!EveryConditionKnown(plan, vi)) return 2;
  if (!created && !ProjectWritable(projectPath)) {
    std::fprintf(stderr, "zentrix2-calc: cannot write %s; no data file was written\n",
                 p.project.c_str());
    return 1;
  }
  if (!WriteAssignments(p, withSet, d, projectPath)) {
    std::fprintf(stderr, "zentrix2-calc: cannot write %s; no data file was written\n",
                 p.project.c_str());
    return 1;
  }
  SetCalcMode(d, vi ? CalcMode::EJ : CalcMode::JcB);
  std::vector<std::string> aboveTc;
  const int code = WritePlanned(p, plan, d, written, aboveTc);
  if (written.empty()) return code;
  if (const WriteResult saved = SaveDocument(d); saved != WriteResult::Written) {
    if (saved == WriteResult::ChangedSinceRead)
      std::fprintf(stderr, "zentrix2-calc: %s\n",
                   English(FillPattern(kChangedSinceReadPattern, p.project)).c_str());
    std::fprintf(stderr, "zentrix2-calc: cannot write %s; written but not registered:\n",
                 p.project.c_str());
    for (const std::string& w : written) std::fprintf(stderr, "  %s\n", w.c_str());
    return 1;
  }
  // T_c as the project now holds it, --set included.
  if (!aboveTc.empty())
    std::fprintf(stderr,
                 "zentrix2-calc: %zu condition%s at or above the project's T_c (%g K), which "
                 "gives no curve there; set T_c (--set T_c=...) before fitting\n",
                 aboveTc.size(), aboveTc.size() == 1 ? " lies" : "s lie", d.project.Params.T_c);
  return code;
}

}  // namespace

int CmdImport(ImportLine p) {
  std::vector<std::string> written;
  if (p.project.empty()) {
    const Planned pl = Convert(p, p.sources[0]);
    return pl.code != 0 ? pl.code : WriteOne(p, pl, nullptr, Project{}.Params.E_c, written);
  }
  Document d;
  const std::string projectPath = Absolute(p.project);
  bool created = false;
  if (!OpenOrCreateProject(d, projectPath, created)) {
    std::fprintf(stderr, "zentrix2-calc: cannot %s %s\n",
                 FileExists(projectPath) ? "read" : "write", p.project.c_str());
    return 1;
  }
  const int code = ImportIntoProject(p, d, projectPath, created, written);
  // A project this command made and left without data is not left behind.
  if (created && written.empty()) std::remove(projectPath.c_str());
  return code;
}

}  // namespace zx::cli
