// The calculation commands: the full pass and one preview pass.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "calc/full_pass.h"
#include "calc/preview_pass.h"
#include "cli/commands.h"
#include "cli/english.h"
#include "model/format.h"
#include "model/document.h"
#include "model/text_file.h"
#include "model/view_state.h"

namespace zx::cli {

namespace {

bool LoadProject(Project& p, const std::string& path) {
  if (LoadProjectFile(p, path)) return true;
  std::fprintf(stderr, "zentrix2-calc: cannot read %s\n", path.c_str());
  return false;
}

void ReportFileFailure(const std::string& message, const std::string& path) {
  std::fprintf(stderr, "%s %s\n", Localized(message).c_str(), path.c_str());
}

// Says on stderr why the conditions left without a coefficient have none,
// once per data file; `reported` files have had their message.
void ReportSkipped(const Project& p, const std::set<int>& computed,
                   const std::set<std::string>& reported) {
  std::set<int> told;
  for (const CalcCondEntry& c : p.CalcConds.items) {
    if (computed.count(c.No) || !told.insert(c.RelatedDatFileNo).second) continue;
    const RegistryEntry* series = p.DataFiles.Find(c.RelatedDatFileNo);
    if (!series) {
      std::fprintf(stderr, "zentrix2-calc: no data file %d is registered\n", c.RelatedDatFileNo);
      continue;
    }
    if (reported.count(series->Path)) continue;
    std::string reason = OpenFailureReason(series->Path);
    if (reason.empty()) reason = "read error";
    std::fprintf(stderr, "zentrix2-calc: cannot read %s: %s\n", series->Path.c_str(),
                 reason.c_str());
  }
}

// "%.17g": every digit of the coefficient.
std::string Exact(double v) { return FormatChars(v, std::chars_format::general, 17); }

}  // namespace

int CmdCalc(const std::string& project, const Options& opt) {
  Project p;
  if (!LoadProject(p, project)) return 1;
  FullCalcHooks hooks;
  hooks.fileWritten = [](const CalcCondEntry& c, int points) {
    std::printf("%d\t%d\t%s\n", c.No, points, c.OutpFilePath.c_str());
    std::fflush(stdout);
  };
  hooks.writeFailed = ReportFileFailure;
  FullCalcInput input = TakeFullCalcInput(p);
  input.settingsFilePath = project;
  input.threads = opt.threads;
  const FullCalcOutcome outcome = RunFullCalculation(input, hooks);
  return outcome.filesFailed > 0 ? 1 : 0;
}

int CmdPreview(const std::string& project, const Options& opt) {
  Project p;
  if (!LoadProject(p, project)) return 1;
  std::set<int> computed;
  bool failed = false;
  PreviewHooks hooks;
  hooks.threads = opt.threads;
  hooks.writeCurveFiles = false;
  hooks.showCorrCoef = [&computed](int row, const std::string&) { computed.insert(row); };
  std::set<std::string> reported;
  hooks.warning = [&failed, &reported](const std::string& message, const std::string& path) {
    failed = true;
    reported.insert(path);
    ReportFileFailure(message, path);
  };
  ViewState v = MakeViewState(p);
  RunPreviewCalculation(p, v, hooks);
  ReportSkipped(p, computed, reported);

  for (const CalcCondEntry& c : p.CalcConds.items) {
    const std::string coef = computed.count(c.No) ? Exact(CorrCoefOf(v, c)) : "skipped";
    std::printf("%d\t%d\t%s\n", c.No, c.RelatedDatFileNo, coef.c_str());
  }
  return failed ? 1 : 0;
}

}  // namespace zx::cli
