#include "design/map_export.h"

#include <nlohmann/json.hpp>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "design/json_numbers.h"
#include "fit/fit_quality.h"
#include "model/format.h"
#include "model/program_version.h"

namespace zx {

namespace {

std::string Sci(double v) { return FormatChars(v, std::chars_format::scientific, 9); }
// A number, or `none` where there is no value.
std::string Or(double v, const char* none) { return std::isfinite(v) ? Sci(v) : none; }

const char* RecordName(RecordState s) {
  switch (s) {
    case RecordState::Current:
      return "current";
    case RecordState::Stale:
      return "stale";
    case RecordState::Unreadable:
      return "unreadable";
    case RecordState::Missing:
      break;
  }
  return "missing";
}

Json ValidityJson(const DesignBasis& basis) {
  const DataRange& r = basis.range;
  return {{"T_K", Span(r.tMin, r.tMax)},        {"B_T", Span(r.bMin, r.bMax)},
          {"J_A_per_m2", Span(r.jMin, r.jMax)}, {"E_V_per_m", Span(r.eMin, r.eMax)},
          {"Tc_K", Num(basis.params.T_c)},      {"Bc2_0_T", Num(basis.params.B_c2_0)}};
}

std::string CsvText(const DesignMap& map) {
  std::string t =
      "T_K,B_T,Jc_A_per_m2,Jc_lower_A_per_m2,Jc_upper_A_per_m2,n,n_lower,n_upper,extrapolated\n";
  for (const DesignPoint& p : map.points)
    t += Sci(p.temp) + "," + Sci(p.field) + "," + Or(p.jc, "") + "," + Or(p.jcLower, "") + "," +
         Or(p.jcUpper, "") + "," + Or(p.n, "") + "," + Or(p.nLower, "") + "," + Or(p.nUpper, "") +
         "," + (p.extrapolated ? "1" : "0") + "\n";
  return t;
}

std::string ComsolText(const DesignMap& map, const DesignBasis& basis) {
  const DataRange& r = basis.range;
  std::string t = std::string("% ") + kProgramName + " " + kProgramVersion +
                  ": Jc and n of the fitted creep-flow model\n";
  t += "% Criterion E_c " + Sci(map.eC) + " V/m; NaN where the model has no value\n";
  t += "% Fitted data: T " + Sci(r.tMin) + " to " + Sci(r.tMax) + " K, B " + Sci(r.bMin) + " to " +
       Sci(r.bMax) + " T\n";
  t += "% Columns: T (K), B (T), Jc (A/m^2), n (1)\n";
  t += "% T B Jc n\n";
  for (const DesignPoint& p : map.points)
    t += Sci(p.temp) + " " + Sci(p.field) + " " + Or(p.jc, "NaN") + " " + Or(p.n, "NaN") + "\n";
  return t;
}

std::string JsonText(const DesignMap& map, const DesignBasis& basis) {
  Json j;
  j["program"] = "ZENTRIX II";
  j["version"] = kProgramVersion;
  j["criterion_V_per_m"] = Num(map.eC);
  j["bands"] = basis.HasBands();
  j["fit_record"] = RecordName(basis.record);
  j["grid"] = {{"T_K", map.temps}, {"B_T", map.fields}};
  Json T = Json::array(), B = Json::array(), jc = Json::array(), jl = Json::array(),
       ju = Json::array(), n = Json::array(), nl = Json::array(), nu = Json::array(),
       ex = Json::array();
  for (const DesignPoint& p : map.points) {
    T.push_back(p.temp);
    B.push_back(p.field);
    jc.push_back(Num(p.jc));
    jl.push_back(Num(p.jcLower));
    ju.push_back(Num(p.jcUpper));
    n.push_back(Num(p.n));
    nl.push_back(Num(p.nLower));
    nu.push_back(Num(p.nUpper));
    ex.push_back(p.extrapolated);
  }
  j["T_K"] = T;
  j["B_T"] = B;
  j["Jc_A_per_m2"] = jc;
  j["Jc_lower_A_per_m2"] = jl;
  j["Jc_upper_A_per_m2"] = ju;
  j["n"] = n;
  j["n_lower"] = nl;
  j["n_upper"] = nu;
  j["extrapolated"] = ex;
  j["validity"] = ValidityJson(basis);
  return j.dump(1) + "\n";
}

}  // namespace

std::optional<MapFormat> MapFormatOf(const std::string& name) {
  if (name == "csv") return MapFormat::Csv;
  if (name == "comsol") return MapFormat::Comsol;
  if (name == "json") return MapFormat::Json;
  return std::nullopt;
}

std::string MapText(const DesignMap& map, const DesignBasis& basis, MapFormat format) {
  switch (format) {
    case MapFormat::Comsol:
      return ComsolText(map, basis);
    case MapFormat::Json:
      return JsonText(map, basis);
    case MapFormat::Csv:
      break;
  }
  return CsvText(map);
}

OperatingPoint EvaluateOperatingPoint(const DesignBasis& basis, double T, double B, double eC,
                                      double current) {
  OperatingPoint op;
  op.point = EvaluateDesignPoint(basis, T, B, eC);
  op.eC = eC;
  op.width = basis.params.Width;
  op.thickness = basis.params.Thickness;
  op.current = current;
  const double area = op.width * op.thickness;
  if (op.point.hasValue) {
    op.ic = op.point.jc * area;
    op.icLower = op.point.jcLower * area;
    op.icUpper = op.point.jcUpper * area;
    op.iTenth = ModelJc(basis.params, T, B, eC / 10, kReportJcPrecision, basis.settings.JIni,
                        basis.settings.JFin, nullptr, op.point.jc) *
                area;
    if (std::isfinite(current) && current > 0 && area > 0)
      op.eAtCurrent = ModelE(basis.params, current / area, T, B);
  }
  return op;
}

std::string RangeText(const DataRange& r) {
  auto g = [](double v) { return FormatChars(v, std::chars_format::general, 6); };
  std::string t =
      "T " + g(r.tMin) + ".." + g(r.tMax) + " K, B " + g(r.bMin) + ".." + g(r.bMax) + " T";
  if (!std::isnan(r.eMin)) t += ", E " + g(r.eMin) + ".." + g(r.eMax) + " V/m";
  return t;
}

std::vector<std::string> OperatingPointLines(const OperatingPoint& op, const DesignBasis& basis) {
  const DesignPoint& p = op.point;
  std::vector<std::string> l;
  l.push_back("point\t" + Sci(p.temp) + "\t" + Sci(p.field) + "\t" + Sci(op.eC) + "\t" +
              (p.extrapolated ? "extrapolated" : "inside"));
  l.push_back("jc\t" + Or(p.jc, "nan") + "\t" + Or(p.jcLower, "nan") + "\t" + Or(p.jcUpper, "nan"));
  l.push_back("n\t" + Or(p.n, "nan") + "\t" + Or(p.nLower, "nan") + "\t" + Or(p.nUpper, "nan"));
  l.push_back("ic\t" + Or(op.ic, "nan") + "\t" + Or(op.icLower, "nan") + "\t" +
              Or(op.icUpper, "nan"));
  l.push_back("i_tenth\t" + Or(op.iTenth, "nan"));
  if (!std::isnan(op.current))
    l.push_back("e\t" + Sci(op.current) + "\t" + Or(op.eAtCurrent, "nan"));
  if (!p.hasValue) l.push_back("warn\tno-model-value\tT >= Tc, B >= Bc2(T), B <= 0 or no Jc");
  if (p.extrapolated) l.push_back("warn\textrapolated\t" + RangeText(basis.range));
  return l;
}

std::string OperatingPointJson(const OperatingPoint& op, const DesignBasis& basis) {
  const DesignPoint& p = op.point;
  Json j;
  j["T_K"] = Num(p.temp);
  j["B_T"] = Num(p.field);
  j["criterion_V_per_m"] = Num(op.eC);
  j["has_value"] = p.hasValue;
  j["extrapolated"] = p.extrapolated;
  j["Jc_A_per_m2"] = {{"value", Num(p.jc)}, {"lower", Num(p.jcLower)}, {"upper", Num(p.jcUpper)}};
  j["n"] = {{"value", Num(p.n)}, {"lower", Num(p.nLower)}, {"upper", Num(p.nUpper)}};
  j["Ic_A"] = {{"value", Num(op.ic)}, {"lower", Num(op.icLower)}, {"upper", Num(op.icUpper)}};
  j["width_m"] = Num(op.width);
  j["thickness_m"] = Num(op.thickness);
  j["I_at_tenth_criterion_A"] = Num(op.iTenth);
  if (!std::isnan(op.current))
    j["E_at_current"] = {{"I_A", op.current}, {"E_V_per_m", Num(op.eAtCurrent)}};
  j["bands"] = basis.HasBands();
  j["fit_record"] = RecordName(basis.record);
  j["validity"] = ValidityJson(basis);
  return j.dump(2) + "\n";
}

}  // namespace zx
