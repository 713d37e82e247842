// The automatic fit and the quality report of the current parameters.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "fit/fit_data.h"
#include "fit/fit_quality.h"
#include "fit/fit_report.h"
#include "fit/fit_solver.h"
#include "fit/param_lines.h"
#include "model/settings_file.h"

namespace zx::cli {

namespace {

constexpr int kNothingToFit = 3;

bool Load(Project& p, const std::string& path) {
  if (LoadSettingsFile(p, path)) return true;
  std::fprintf(stderr, "zentrix2-calc: cannot read %s\n", path.c_str());
  return false;
}

void Print(const std::vector<std::string>& lines) {
  for (const std::string& l : lines) std::printf("%s\n", l.c_str());
  std::fflush(stdout);
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

}  // namespace

int CmdFit(const std::string& project, const Options& opt) {
  Project p;
  if (!Load(p, project)) return 1;
  const FitInput input = TakeFitInput(p);
  ReportLeftOut(input);
  FitOptions fo = opt.fit;
  fo.threads = opt.threads;
  const FitOutcome fit = RunFit(input, fo);
  if (fit.stop == FitStop::NothingToFit) {
    std::fprintf(stderr, "zentrix2-calc: nothing to fit: %s\n", fit.reason.c_str());
    return kNothingToFit;
  }
  FitValues values;
  for (int k = 0; k < kFitParamCount; ++k)
    values[static_cast<std::size_t>(k)] = fit.params[static_cast<std::size_t>(k)].value;
  const FitQuality quality = EvaluateQuality(input, values, opt.threads);
  Print(FitReportLines(&fit, quality));
  if (!fit.degenerate.empty()) {
    std::string names;
    for (const std::string& n : fit.degenerate) names += (names.empty() ? "" : ", ") + n;
    std::fprintf(stderr, "zentrix2-calc: degenerate: %s cannot be told apart\n", names.c_str());
  }
  if (!opt.write) return 0;
  if (fit.stop != FitStop::Converged) {
    std::fprintf(stderr, "zentrix2-calc: not written: the fit did not converge\n");
    return 0;
  }
  if (!WriteParameterLines(project, values)) {
    std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", project.c_str());
    return 1;
  }
  return 0;
}

int CmdQuality(const std::string& project, const Options& opt) {
  Project p;
  if (!Load(p, project)) return 1;
  const FitInput input = TakeFitInput(p);
  ReportLeftOut(input);
  const FitQuality quality = EvaluateQuality(input, ParamsOf(p.Params), opt.threads);
  Print(FitReportLines(nullptr, quality));
  if (quality.points == 0) {
    std::fprintf(stderr, "zentrix2-calc: nothing to evaluate: no usable point\n");
    return kNothingToFit;
  }
  return 0;
}

}  // namespace zx::cli
