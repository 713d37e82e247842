// Design data from the fitted model: maps of Jc and n over a grid of
// temperatures and fields, and single operating points.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "design/design_basis.h"
#include "design/design_point.h"
#include "design/map_export.h"
#include "model/result_path.h"
#include "model/document.h"
#include "model/text_file.h"

namespace zx::cli {

namespace {

constexpr int kUsageError = 2;

bool Load(Project& p, const std::string& path) {
  if (LoadProjectFile(p, path)) return true;
  std::fprintf(stderr, "zentrix2-calc: cannot read %s\n", path.c_str());
  return false;
}

// The basis of the project, saying on stderr when it has no bands.
DesignBasis Basis(const Project& p, const std::string& project) {
  const DesignBasis basis = LoadDesignBasis(p, project);
  if (const std::string why = RecordStateText(basis.record, FitRecordPath(project)); !why.empty())
    std::fprintf(stderr, "zentrix2-calc: %s\n", why.c_str());
  return basis;
}

double Criterion(const Project& p, const Options& opt) {
  return std::isnan(opt.criterion) ? p.Params.E_c : opt.criterion;
}

}  // namespace

int CmdMap(const std::string& project, const MapAxes& axes, const Options& opt) {
  Project p;
  if (!Load(p, project)) return 1;
  const std::optional<MapFormat> format = MapFormatOf(opt.format);
  if (!format) return kUsageError;
  if (!opt.out.empty()) {
    p.SettingsFilePath = project;
    if (const ResultPathClash clash = CheckResultPath(p, opt.out); clash != ResultPathClash::None) {
      std::fprintf(stderr, "zentrix2-calc: --out: %s\n", ResultPathClashText(clash));
      return kUsageError;
    }
  }
  const DesignBasis basis = Basis(p, project);
  const DesignMap map =
      ComputeDesignMap(basis, AxisValues(axes.tLo, axes.tHi, axes.tStep),
                       AxisValues(axes.bLo, axes.bHi, axes.bStep), Criterion(p, opt), opt.threads);
  const std::string text = MapText(map, basis, *format);
  if (opt.out.empty()) {
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (!WriteFileAtomically(opt.out, text)) {
    std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", opt.out.c_str());
    return 1;
  }
  return 0;
}

int CmdAt(const std::string& project, const AtPoint& at, const Options& opt) {
  Project p;
  if (!Load(p, project)) return 1;
  const DesignBasis basis = Basis(p, project);
  const OperatingPoint op =
      EvaluateOperatingPoint(basis, at.temp, at.field, Criterion(p, opt), at.current);
  if (op.point.extrapolated)
    std::fprintf(stderr, "zentrix2-calc: T %g K, B %g T lies outside the data's range (%s)\n",
                 at.temp, at.field, RangeText(basis.range).c_str());
  if (opt.json) {
    std::fputs(OperatingPointJson(op, basis).c_str(), stdout);
  } else {
    for (const std::string& l : OperatingPointLines(op, basis)) std::printf("%s\n", l.c_str());
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace zx::cli
