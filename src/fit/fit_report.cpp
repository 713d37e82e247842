#include "fit/fit_report.h"

#include <cmath>

#include "model/format.h"

namespace zx {

namespace {

std::string Sci(double v, int precision) {
  return FormatChars(v, std::chars_format::scientific, precision);
}
std::string Fixed(double v, int precision) {
  return FormatChars(v, std::chars_format::fixed, precision);
}

// "-" for values that are not available.
std::string Opt(const std::string& text, double v) { return std::isnan(v) ? "-" : text; }

}  // namespace

std::string FitStopText(const FitOutcome& fit) {
  return fit.stop == FitStop::Converged ? "converged" : "stopped: " + fit.reason;
}

std::vector<std::string> FitReportLines(const FitOutcome* fit, const FitQuality& quality) {
  std::vector<std::string> lines;
  if (fit) {
    for (int k = 0; k < kPinningParamCount; ++k) {
      const FitParamOutcome& p = fit->params[static_cast<std::size_t>(k)];
      lines.push_back(std::string("param\t") + FitParamName(k) + "\t" + Sci(p.value, 9) + "\t" +
                      Sci(p.stdError, 3) + "\t" + ParamStateName(p.state));
    }
  }
  for (const ConditionQuality& c : quality.conditions) {
    lines.push_back("cond\t" + std::to_string(c.no) + "\t" + std::to_string(c.points) + "\t" +
                    Opt(Fixed(c.rms, 6), c.rms) + "\t" + Opt(Sci(c.jcData, 6), c.jcData) + "\t" +
                    Opt(Sci(c.jcModel, 6), c.jcModel) + "\t" + Opt(Fixed(c.nData, 3), c.nData) +
                    "\t" + Opt(Fixed(c.nModel, 3), c.nModel));
  }
  const std::string status = fit ? FitStopText(*fit) : "stopped: not fitted";
  lines.push_back("total\t" + std::to_string(quality.points) + "\t" +
                  Opt(Fixed(quality.rms, 6), quality.rms) + "\t" +
                  std::to_string(fit ? fit->iterations : 0) + "\t" + status);
  return lines;
}

}  // namespace zx
