// The automatic fit and the quality report of the current parameters.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/english.h"
#include "design/fit_record.h"
#include "fit/fit_after.h"
#include "fit/fit_curves.h"
#include "fit/fit_data.h"
#include "fit/fit_quality.h"
#include "fit/fit_report.h"
#include "fit/fit_report_json.h"
#include "fit/fit_solver.h"
#include "fit/param_lines.h"
#include "model/document.h"
#include "model/format.h"
#include "model/result_path.h"
#include "model/text_file.h"

namespace zx::cli {

namespace {

constexpr int kUsageError = 2;
constexpr int kNothingToFit = 3;

bool Load(Project& p, const std::string& path, ReadStamp* read = nullptr) {
  if (LoadProjectFile(p, path, read)) return true;
  std::fprintf(stderr, "zentrix2-calc: cannot read %s\n", path.c_str());
  return false;
}

// The report's lines, or with --json the same as one JSON object.
void Print(const std::vector<std::string>& lines, bool json = false) {
  if (json)
    std::fputs(FitReportJson(lines).c_str(), stdout);
  else
    for (const std::string& l : lines) std::printf("%s\n", l.c_str());
  std::fflush(stdout);
}

// The fit record beside the project, of the values the project now holds.
bool WriteRecord(const std::string& project, const FitInput& used, const FitOutcome& fit,
                 const FitOptions& fo, const FitQuality& quality) {
  Project stored;
  const std::string path = FitRecordPath(project);
  if (LoadProjectFile(stored, project) &&
      WriteFitRecord(path, MakeFitRecord(used, fit, fo, quality, stored.Params)))
    return true;
  std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", path.c_str());
  return false;
}

// Conditions without points are left out of the fit; says which and why.
void ReportLeftOut(const FitInput& input) {
  for (const ConditionData& c : input.conditions) {
    const char* why = c.status == DataStatus::NoDataFile   ? "no related data file"
                      : c.status == DataStatus::Unreadable ? "its data file cannot be read"
                      : c.status == DataStatus::NoPoints   ? "no usable point in its data file"
                                                           : nullptr;
    if (why) std::fprintf(stderr, "zentrix2-calc: condition %d left out: %s\n", c.no, why);
  }
}

// A value the model reads that is not a finite number would make every
// result meaningless: refused with its key.
bool RefuseNonFinite(const FitInput& input) {
  const std::string key = NonFiniteFitSetting(input);
  if (key.empty()) return false;
  std::fprintf(stderr, "zentrix2-calc: %s in the project is not a finite number\n", key.c_str());
  return true;
}

// Progress on a terminal: start, iteration, RMS, merit and the best merit so far, on one
// line rewritten at most ten times a second.
class Progress {
 public:
  bool operator()(const FitIteration& it) {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(100)) return true;
    last_ = now;
    std::fprintf(
        stderr,
        "\rstart %d  iteration %d  RMS %.6f  merit %.6f  best merit %.6f  starts done %d   ",
        it.start, it.iteration, it.rms, it.merit, it.bestMerit, it.startsDone);
    std::fflush(stderr);
    shown_ = true;
    return true;
  }
  void End() {
    if (shown_) std::fputs("\n", stderr);
  }

 private:
  std::chrono::steady_clock::time_point last_{};
  bool shown_ = false;
};

// "# cond <No> <T> <B>" and 200 lines "x model lower upper" per condition.
std::string CurvesText(const FitInput& input, const std::vector<ConditionCurves>& curves) {
  auto num = [](double v) { return FormatChars(v, std::chars_format::scientific, 9); };
  std::string text;
  for (const ConditionCurves& cc : curves) {
    const ConditionData& cd = input.conditions[static_cast<std::size_t>(cc.cond)];
    text += "# cond " + std::to_string(cd.no) + " " + num(cd.temp) + " " + num(cd.field) + "\n";
    for (std::size_t i = 0; i < cc.modelX.size(); ++i) {
      const bool band = i < cc.modelLower.size();
      text += num(cc.modelX[i]) + "\t" + num(cc.modelY[i]) + "\t" +
              (band ? num(cc.modelLower[i]) : "nan") + "\t" +
              (band ? num(cc.modelUpper[i]) : "nan") + "\n";
    }
  }
  return text;
}

// Refuses ranges the fit cannot use and a --curves file that would
// overwrite one of the project's own; true when refused.
bool RefuseFitSetup(Project& p, const std::string& project, const FitInput& input,
                    const FitOptions& fo, const Options& opt) {
  if (const std::string refused = CheckFitBounds(input, fo); !refused.empty()) {
    std::fprintf(stderr, "zentrix2-calc: %s\n", Localized(refused).c_str());
    return true;
  }
  if (!opt.curves.empty()) {
    p.SettingsFilePath = project;
    if (const ResultPathClash clash = CheckResultPath(p, opt.curves);
        clash != ResultPathClash::None) {
      std::fprintf(stderr, "zentrix2-calc: --curves: %s\n", ResultPathClashText(clash));
      return true;
    }
  }
  return false;
}

// The exit code of a fit that gave no result; nothing when it gave one.
std::optional<int> NoResult(const FitOutcome& fit) {
  if (fit.stop == FitStop::NothingToFit) {
    for (const FitWarning& w : fit.warnings)
      std::printf("warn\t%s\t%s\n", FitWarningName(w.kind), FitWarningDetail(w).c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "zentrix2-calc: nothing to fit: %s\n", fit.reason.c_str());
    return kNothingToFit;
  }
  if (fit.stop == FitStop::Failed && fit.minima.empty()) {
    std::fprintf(stderr, "zentrix2-calc: the fit failed: %s\n", OneLine(fit.reason).c_str());
    return 1;
  }
  return std::nullopt;
}

void ReportDegenerate(const FitOutcome& fit) {
  if (fit.degenerate.empty()) return;
  std::string names;
  for (const std::string& n : fit.degenerate) names += (names.empty() ? "" : ", ") + n;
  std::fprintf(stderr, "zentrix2-calc: degenerate: %s cannot be told apart\n", names.c_str());
}

bool WriteCurves(const std::string& path, const FitInput& used, const FitValues& values,
                 const Options& opt, const FitOutcome& fit) {
  const auto curves = FitCurves(used, values, kDenseCurvePoints, opt.threads, &fit);
  if (WriteFileAtomically(path, CurvesText(used, curves))) return true;
  std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", path.c_str());
  return false;
}

// The project's lines --write replaces: the pinning parameters, Tc and
// Bc2(0) when fitted, the orders when all were tried.
SettingsLines FittedLines(const FitValues& values, const FitOptions& fo, const FitOutcome& fit) {
  SettingsLines lines = FittedParamLines(values, fo.fixed);
  if (fo.allOrders) {
    const SettingsLines orders = ScalingOrderLines(fit.tcn, fit.bcn);
    lines.insert(lines.end(), orders.begin(), orders.end());
  }
  return lines;
}

// --write: the fitted values into the project, unless it changed since
// it was read, then the fit record beside it.
int WriteFitted(const std::string& project, const ReadStamp& read, const FitReport& report,
                const FitOutcome& fit, const FitOptions& fo, const FitValues& values) {
  if (fit.stop != FitStop::Converged) {
    std::fprintf(stderr, "zentrix2-calc: not written: the fit did not converge\n");
    return 0;
  }
  switch (WriteProjectLines(project, FittedLines(values, fo, fit), read)) {
    case WriteResult::Written:
      break;
    case WriteResult::ChangedSinceRead:
      std::fprintf(stderr, "zentrix2-calc: %s\n",
                   English(FillPattern(kChangedSinceReadPattern, project)).c_str());
      return 1;
    case WriteResult::Failed:
      std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", project.c_str());
      return 1;
  }
  return WriteRecord(project, report.used, fit, fo, report.quality) ? 0 : 1;
}

}  // namespace

int CmdFit(const std::string& project, const Options& opt) {
  Project p;
  ReadStamp read;  // --write refuses a project changed during the fit
  if (!Load(p, project, &read)) return 1;
  FitInput input = TakeFitInput(p);
  if (RefuseNonFinite(input)) return kUsageError;
  FitOptions fo = opt.fit;
  fo.threads = opt.threads;
  if (RefuseFitSetup(p, project, input, fo, opt)) return kUsageError;
  ReportLeftOut(input);
  Progress progress;
  if (isatty(STDERR_FILENO)) fo.onIteration = [&](const FitIteration& it) { return progress(it); };
  FitOutcome fit = RunFit(input, fo);
  AddDroppedLinesWarning(input, fit);
  progress.End();
  if (const std::optional<int> code = NoResult(fit)) return *code;
  const FitValues values = ValuesOf(fit);
  // The report covers the points where the fitted model has a value.
  const FitReport report = ReportAfterFit(input, fit, values, opt.threads);
  Print(FitReportLines(&fit, report.quality), opt.json);
  ReportDegenerate(fit);
  if (!opt.curves.empty() && !WriteCurves(opt.curves, report.used, values, opt, fit)) return 1;
  if (!opt.write) return 0;
  return WriteFitted(project, read, report, fit, fo, values);
}

int CmdQuality(const std::string& project, const Options& opt) {
  Project p;
  if (!Load(p, project)) return 1;
  const FitInput input = TakeFitInput(p);
  if (RefuseNonFinite(input)) return kUsageError;
  ReportLeftOut(input);
  const FitValues current = ParamsOf(p.Params);
  const FitQuality quality = EvaluateQuality(input, current, opt.threads);
  Print(FitReportLines(nullptr, quality, &current), opt.json);
  if (quality.points == 0) {
    std::fprintf(stderr, "zentrix2-calc: nothing to evaluate: no usable point\n");
    return kNothingToFit;
  }
  return 0;
}

}  // namespace zx::cli
