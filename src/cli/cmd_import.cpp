// The import commands: measured V-I or Ic-B tables to data files, and
// optionally into a project with a calculation condition each.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calc/import_run.h"
#include "cli/commands.h"
#include "cli/english.h"
#include "model/document.h"
#include "model/format.h"
#include "model/import_register.h"
#include "model/result_path.h"
#include "model/series_file.h"
#include "model/settings_file.h"
#include "model/text_file.h"

namespace zx::cli {

namespace {

int UsageError(const std::string& why) {
  std::fprintf(stderr, "zentrix2-calc: %s\n", why.c_str());
  std::fputs(
      "usage: zentrix2-calc --import-vi RAW --out OUT.dat --tap-length M --width M --thickness M\n"
      "                     [--columns I,V] [--current-unit A|mA] [--voltage-unit V|mV|uV|nV]\n"
      "                     [--background-fraction F] [--min-field E] [--temperature-column K]\n"
      "       zentrix2-calc --import-vi RAW... --project PROJECT.zx2 --tap-length M --width M\n"
      "                     --thickness M [--temperature-column K | --temperature T] [--field B]\n"
      "                     [other import options]\n"
      "       zentrix2-calc --import-icb RAW --out OUT.dat --width M --thickness M\n"
      "                     [--columns B,I] [--current-unit A|mA]\n"
      "       zentrix2-calc --import-icb RAW... --project PROJECT.zx2 --width M --thickness M\n"
      "                     [--temperature T] [--columns B,I] [--current-unit A|mA]\n",
      stderr);
  return 2;
}

// "%.6e".
std::string Sci6(double v) { return FormatChars(v, std::chars_format::scientific, 6); }

std::optional<double> WholeNumber(const std::string& text) {
  double v = 0;
  const char* end = text.data() + text.size();
  auto res = std::from_chars(text.data(), end, v);
  if (res.ec != std::errc() || res.ptr != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> ColumnIndex(const std::string& text) {
  int v = -1;
  const char* end = text.data() + text.size();
  auto res = std::from_chars(text.data(), end, v);
  if (res.ec != std::errc() || res.ptr != end || v < 0) return std::nullopt;
  return v;
}

// Paths as the project stores them: whole, so that they do not depend on
// the folder the command ran in.
std::string Absolute(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

struct Parsed {
  ImportRequest request;
  std::vector<std::string> sources;
  std::string out, project;
  std::optional<double> temperature, field;
  bool haveTap = false, haveWidth = false, haveThickness = false;
};

// One file's import: its exit code (0 written, 1 unreadable or unwritable,
// 2 a column it lacks, 3 nothing to write), messages on stderr.
struct FileResult {
  int code = 0;
  ImportOutcome outcome;
  std::optional<double> temperature;
};

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

void ReportNotices(const ImportOutcome& o, const std::string& src) {
  if (o.source.truncated)
    std::fprintf(stderr, "zentrix2-calc: %s has more rows than can be read; the rest is left out\n",
                 src.c_str());
  if (o.used.kind == ImportKind::ViToEj) {
    if (o.vi.backgroundRises)
      std::fprintf(stderr,
                   "zentrix2-calc: %s: the transition seems to reach below the background "
                   "fraction; a smaller --background-fraction may fit the background better\n",
                   src.c_str());
    if (o.vi.signDoubtful)
      std::fprintf(stderr,
                   "zentrix2-calc: %s: the highest currents barely leave the noise; the sign of "
                   "the transition (%s) is a guess\n",
                   src.c_str(), o.vi.flipped ? "turned" : "kept");
    else if (o.vi.signDisagrees)
      std::fprintf(stderr,
                   "zentrix2-calc: %s: the voltage sign was %s from the highest currents; the "
                   "sum over the upper range points the other way (a dipping background?)\n",
                   src.c_str(), o.vi.flipped ? "turned" : "kept");
    if (o.vi.nonFinite > 0)
      std::fprintf(stderr, "zentrix2-calc: %s: %d rows left out whose values overflow\n",
                   src.c_str(), o.vi.nonFinite);
  }
  if (o.used.temperatureColumn) {
    if (!o.temperature)
      std::fprintf(stderr, "zentrix2-calc: %s: column %d holds no temperature on the kept points\n",
                   src.c_str(), *o.used.temperatureColumn);
    else if (o.temperature->spread > kTemperatureSpreadWarning)
      std::fprintf(stderr,
                   "zentrix2-calc: %s: the temperature spreads by %.3f K (standard deviation) "
                   "over the kept points\n",
                   src.c_str(), o.temperature->spread);
  }
}

void PrintLine(const ImportOutcome& o, const std::optional<double>& temperature) {
  if (o.used.kind == ImportKind::ViToEj)
    std::printf("kept %d\tdropped %d\toffset %s\tslope %s\tmin-field %s", o.vi.keptCount,
                o.vi.droppedCount, Sci6(o.vi.offset).c_str(), Sci6(o.vi.slope).c_str(),
                Sci6(o.vi.minField).c_str());
  else
    std::printf("kept %d\tdropped %d", o.icb.keptCount, o.icb.droppedCount);
  if (temperature)
    std::printf("\ttemperature %s", FormatChars(*temperature, std::chars_format::fixed, 3).c_str());
  std::printf("\n");
  std::fflush(stdout);
}

// Converts one file, writes it and registers it in d when there is one.
int ImportOne(const Parsed& p, const std::string& source, Document* d) {
  ImportRequest rq = p.request;
  rq.source = source;
  const ImportOutcome o = RunImport(rq);
  if (const int code = ReportError(o, rq); code != 0) return code;
  std::optional<double> temperature = p.temperature;
  if (o.temperature) temperature = o.temperature->mean;
  const std::string out = d ? Absolute(DefaultImportOutputPath(source, rq.kind)) : p.out;
  if (SameFile(source, out)) {
    std::fprintf(stderr, "zentrix2-calc: %s: the output names the measured file itself\n",
                 source.c_str());
    return 2;
  }
  if (d && temperature && !(*temperature > 0 && *temperature < kMaxTemp)) {
    std::fprintf(stderr, "zentrix2-calc: %s: a temperature of %.3f K is outside 0 to 400 K\n",
                 source.c_str(), *temperature);
    return 2;
  }
  std::optional<ImportedCondition> cond;
  if (d && temperature) {
    ImportedCondition c;
    c.temp = *temperature;
    c.magField = d->project.Settings.Mode == CalcMode::JcB ? 0.0 : p.field.value_or(0.0);
    cond = c;
    // Refused before anything is written.
    if (const std::string refused = ImportedConditionRefusal(d->project, c); !refused.empty()) {
      std::fprintf(stderr, "zentrix2-calc: %s: %s\n", source.c_str(), English(refused).c_str());
      return 2;
    }
  }
  if (d && CheckPathEntry(out) != "") {
    std::fprintf(stderr, "zentrix2-calc: %s: %s\n", source.c_str(),
                 English(CheckPathEntry(out)).c_str());
    return 1;
  }
  if (!WriteFileAtomically(out, o.bytes)) {
    std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", out.c_str());
    return 1;
  }
  ReportNotices(o, source);
  if (d) {
    if (const std::string refused = RegisterImportedData(*d, out, cond); !refused.empty()) {
      std::fprintf(stderr, "zentrix2-calc: %s: %s\n", source.c_str(), English(refused).c_str());
      return 1;
    }
    if (cond && AboveCriticalTemperature(d->project, cond->temp))
      std::fprintf(stderr,
                   "zentrix2-calc: %s: %.3f K is not below the project's T_c (%g K); set T_c "
                   "(--set T_c=...) before fitting\n",
                   source.c_str(), cond->temp, d->project.Params.T_c);
  }
  PrintLine(o, temperature);
  return 0;
}

}  // namespace

int CmdImport(int argc, char** argv) {
  Parsed p;
  ImportRequest& rq = p.request;
  rq.currentUnitGiven = rq.voltageUnitGiven = false;
  bool haveKind = false;
  bool viOnlyOption = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return UsageError(a + " needs a value");
    const std::string v = argv[++i];
    if (a == "--import-vi" || a == "--import-icb") {
      if (haveKind) return UsageError("only one command at a time");
      haveKind = true;
      rq.kind = a == "--import-vi" ? ImportKind::ViToEj : ImportKind::IcbToJcb;
      p.sources.push_back(v);
      // Every further argument up to the next option is another file.
      while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0)
        p.sources.push_back(argv[++i]);
    } else if (a == "--out") {
      p.out = v;
    } else if (a == "--project") {
      p.project = v;
    } else if (a == "--tap-length" || a == "--width" || a == "--thickness") {
      const std::optional<double> m = WholeNumber(v);
      if (!m || *m <= 0) return UsageError(a + " needs a positive length in metres");
      if (a == "--tap-length") rq.vi.tapLength = *m, p.haveTap = true, viOnlyOption = true;
      if (a == "--width") rq.vi.width = rq.icb.width = *m, p.haveWidth = true;
      if (a == "--thickness") rq.vi.thickness = rq.icb.thickness = *m, p.haveThickness = true;
    } else if (a == "--columns") {
      const std::size_t comma = v.find(',');
      if (comma == std::string::npos) return UsageError("--columns needs two numbers, e.g. 2,3");
      rq.xColumn = ColumnIndex(v.substr(0, comma));
      rq.yColumn = ColumnIndex(v.substr(comma + 1));
      if (!rq.xColumn || !rq.yColumn)
        return UsageError("--columns needs two column numbers from 0, e.g. 2,3");
    } else if (a == "--temperature-column") {
      rq.temperatureColumn = ColumnIndex(v);
      if (!rq.temperatureColumn)
        return UsageError("--temperature-column needs a column number from 0");
    } else if (a == "--temperature") {
      p.temperature = WholeNumber(v);
      if (!p.temperature || !(*p.temperature > 0 && *p.temperature < kMaxTemp))
        return UsageError("--temperature must be above 0 K and below 400 K");
    } else if (a == "--field") {
      p.field = WholeNumber(v);
      if (!p.field) return UsageError("--field needs a number in T");
      if (*p.field == 0)
        return UsageError(
            "--field must be above 0 T: the model has no E-J curve at B = 0 (give a small field "
            "for a self-field sweep)");
      if (!(*p.field > 0 && *p.field < kMaxMagField))
        return UsageError("--field must be above 0 T and below 100 T");
    } else if (a == "--current-unit") {
      const std::optional<CurrentUnit> u = ParseCurrentUnit(v);
      if (!u) return UsageError("--current-unit must be A or mA");
      rq.vi.currentUnit = rq.icb.currentUnit = *u;
      rq.currentUnitGiven = true;
    } else if (a == "--voltage-unit") {
      const std::optional<VoltageUnit> u = ParseVoltageUnit(v);
      if (!u) return UsageError("--voltage-unit must be V, mV, uV or nV");
      rq.vi.voltageUnit = *u;
      rq.voltageUnitGiven = true;
      viOnlyOption = true;
    } else if (a == "--background-fraction") {
      const std::optional<double> f = WholeNumber(v);
      if (!f || *f < 0 || *f > 1) return UsageError("--background-fraction must be from 0 to 1");
      rq.vi.backgroundFraction = *f;
      viOnlyOption = true;
    } else if (a == "--min-field") {
      const std::optional<double> e = WholeNumber(v);
      if (!e || *e < 0) return UsageError("--min-field must be a field of 0 V/m or more");
      rq.vi.minField = *e;
      viOnlyOption = true;
    } else {
      return UsageError("unknown option " + a);
    }
  }
  if (!haveKind) return UsageError("no import command given");
  const bool vi = rq.kind == ImportKind::ViToEj;
  if (!vi && viOnlyOption)
    return UsageError("--import-icb takes no tap length, voltage unit, background or min-field");
  if (!vi && p.field) return UsageError("--import-icb takes no --field (B is a column)");
  if (p.temperature && rq.temperatureColumn)
    return UsageError("--temperature and --temperature-column exclude each other");
  const bool toProject = !p.project.empty();
  if (toProject && !p.out.empty())
    return UsageError(
        "--out names one file without --project; with --project each file is "
        "written next to its measured file");
  if (!toProject && p.sources.size() > 1) return UsageError("several files need --project");
  if (!toProject && p.out.empty()) return UsageError("--out is missing");
  if (vi && !p.haveTap) return UsageError("--tap-length is missing");
  if (!p.haveWidth) return UsageError("--width is missing");
  if (!p.haveThickness) return UsageError("--thickness is missing");
  if (toProject && vi && (p.temperature || rq.temperatureColumn) && !p.field)
    return UsageError(
        "--field is missing: an E-J condition needs the field in T (above 0: the model has no "
        "curve at B = 0)");
  if (!toProject && SameFile(p.sources[0], p.out))
    return UsageError("--out names the measured file itself");

  if (!toProject) return ImportOne(p, p.sources[0], nullptr);

  Document d;
  const std::string projectPath = Absolute(p.project);
  bool created = false;
  if (!OpenOrCreateProject(d, projectPath, created)) {
    std::fprintf(stderr, "zentrix2-calc: cannot %s %s\n",
                 FileExists(projectPath) ? "read" : "write", p.project.c_str());
    return 1;
  }
  const CalcMode mode = vi ? CalcMode::EJ : CalcMode::JcB;
  if (d.project.Settings.Mode != mode) {
    // Changing the mode empties the registries: only an empty project may.
    if (!d.project.DataFiles.Empty() || !d.project.CalcConds.Empty()) {
      std::fprintf(stderr,
                   "zentrix2-calc: %s is a %s project; %s data need the %s mode (change the mode "
                   "first)\n",
                   p.project.c_str(), vi ? "Jc-B" : "E-J", vi ? "V-I" : "Ic-B",
                   vi ? "E-J" : "Jc-B");
      if (created) std::remove(projectPath.c_str());
      return 2;
    }
    SetCalcMode(d, mode);
  }
  int lastCode = 0;
  bool anyFailed = false, anyRegistered = false;
  for (const std::string& source : p.sources) {
    lastCode = ImportOne(p, Absolute(source), &d);
    if (lastCode != 0) {
      anyFailed = true;
      if (p.sources.size() > 1)
        std::fprintf(stderr, "zentrix2-calc: %s was not imported\n", source.c_str());
    } else {
      anyRegistered = true;
    }
  }
  if (anyRegistered || created) {
    if (!WriteSettings(d.project, projectPath)) {
      std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", p.project.c_str());
      return 1;
    }
  }
  if (p.sources.size() == 1) return lastCode;
  return anyFailed ? 1 : 0;
}

}  // namespace zx::cli
