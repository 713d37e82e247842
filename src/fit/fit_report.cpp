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

// The parameters a report lists: the five pinning ones, then Tc and Bc2(0)
// when the fit moved them.
std::vector<int> Listed(const FitOutcome* fit) {
  std::vector<int> ks;
  for (int k = 0; k < kFitParamCount; ++k)
    if (k < kPinningParamCount ||
        (fit && fit->params[static_cast<std::size_t>(k)].state != ParamState::Fixed))
      ks.push_back(k);
  return ks;
}

}  // namespace

std::string OneLine(const std::string& text) {
  std::string s = text;
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  return s;
}

std::string FitStopText(const FitOutcome& fit) {
  return fit.stop == FitStop::Converged ? "converged" : "stopped: " + OneLine(fit.reason);
}

std::string FitWarningDetail(const FitWarning& w) {
  std::string d;
  for (int k : w.params) d += (d.empty() ? "" : ",") + std::string(FitParamName(k));
  for (std::size_t i = 0; i < w.conditions.size(); ++i) {
    const auto [no, count] = w.conditions[i];
    d += (d.empty() ? "" : ",") + std::to_string(no) + ":" + std::to_string(count);
    if (i < w.reasons.size()) d += std::string(" ") + DropReasonName(w.reasons[i]);
  }
  return d.empty() ? "-" : d;
}

namespace {

std::string ParamLine(int k, const FitOutcome* fit, const FitValues* current) {
  const std::size_t kk = static_cast<std::size_t>(k);
  const double value = fit ? fit->params[kk].value : (*current)[kk];
  const double error = fit ? fit->params[kk].stdError : NAN;
  const ParamState state = fit ? fit->params[kk].state : ParamState::Fixed;
  return std::string("param\t") + FitParamName(k) + "\t" + Sci(value, 9) + "\t" + Sci(error, 3) +
         "\t" + ParamStateName(state);
}

std::string CorrelationLine(const FitOutcome& fit, int i, const std::vector<int>& listed) {
  std::string l = std::string("corr\t") + FitParamName(i);
  for (int j : listed)
    l += "\t" + Fixed(fit.correlation[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], 3);
  return l;
}

std::string MinimumLine(const FitMinimum& fm, std::size_t rank, const std::vector<int>& listed) {
  std::string l = "minimum\t" + std::to_string(rank) + "\t" + Fixed(fm.rms, 6) + "\t" +
                  std::to_string(fm.starts);
  for (int k : listed) l += "\t" + Sci(fm.values[static_cast<std::size_t>(k)], 9);
  return l + "\t" + Fixed(fm.merit, 6);
}

std::string OrderLine(const FitOrderResult& o) {
  return "order\t" + std::string(o.tcn == 0 ? "1" : "2") + "\t" + (o.bcn == 0 ? "1" : "2") + "\t" +
         Fixed(o.rms, 6) + "\t" + Fixed(o.merit, 6);
}

std::string WarningLine(const FitOutcome& fit, const FitWarning& w) {
  return std::string("warn\t") + FitWarningName(w.kind) + "\t" +
         (w.kind == FitWarningKind::NotConverged ? FitStopText(fit) : FitWarningDetail(w));
}

// The lines only a fit has: correlations, minima, orders and warnings.
void AppendFitLines(std::vector<std::string>& lines, const FitOutcome& fit,
                    const std::vector<int>& listed) {
  for (int i : listed) lines.push_back(CorrelationLine(fit, i, listed));
  for (std::size_t m = 0; m < fit.minima.size(); ++m)
    lines.push_back(MinimumLine(fit.minima[m], m + 1, listed));
  for (const FitOrderResult& o : fit.orders) lines.push_back(OrderLine(o));
  for (const FitWarning& w : fit.warnings) lines.push_back(WarningLine(fit, w));
}

std::string ConditionLine(const ConditionQuality& c) {
  return "cond\t" + std::to_string(c.no) + "\t" + std::to_string(c.points) + "\t" +
         Opt(Fixed(c.rms, 6), c.rms) + "\t" + Opt(Sci(c.jcData, 6), c.jcData) + "\t" +
         Opt(Sci(c.jcModel, 6), c.jcModel) + "\t" + Opt(Fixed(c.nData, 3), c.nData) + "\t" +
         Opt(Fixed(c.nModel, 3), c.nModel);
}

std::string TotalLine(const FitOutcome* fit, const FitQuality& quality) {
  const std::string status = fit ? FitStopText(*fit) : "stopped: not fitted";
  const double merit = fit ? fit->merit : quality.merit;
  return "total\t" + std::to_string(quality.points) + "\t" +
         Opt(Fixed(quality.rms, 6), quality.rms) + "\t" +
         std::to_string(fit ? fit->iterations : 0) + "\t" + status + "\t" +
         Opt(Fixed(merit, 6), merit);
}

}  // namespace

std::vector<std::string> FitReportLines(const FitOutcome* fit, const FitQuality& quality,
                                        const FitValues* current) {
  std::vector<std::string> lines;
  const std::vector<int> listed = Listed(fit);
  if (fit || current)
    for (int k : listed) lines.push_back(ParamLine(k, fit, current));
  if (fit) AppendFitLines(lines, *fit, listed);
  for (const ConditionQuality& c : quality.conditions) lines.push_back(ConditionLine(c));
  lines.push_back(TotalLine(fit, quality));
  return lines;
}

}  // namespace zx
