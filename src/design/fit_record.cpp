#include "design/fit_record.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "model/format.h"
#include "model/program_version.h"
#include "model/text_file.h"

namespace zx {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kModelName = "creep-flow";
constexpr int kRecordFormat = 1;

const char* const kParamUnits[kFitParamCount] = {"A/m^2", "1", "1", "1", "1", "K", "T"};

// NaN and infinities are written as null and read back as NaN.
Json Num(double v) { return std::isfinite(v) ? Json(v) : Json(nullptr); }
double NumOf(const Json& j) { return j.is_number() ? j.get<double>() : NAN; }

const char* LossName(LossKind k) {
  return k == LossKind::SoftL1 ? "soft_l1" : k == LossKind::Cauchy ? "cauchy" : "linear";
}
LossKind LossOf(const std::string& s) {
  return s == "soft_l1" ? LossKind::SoftL1 : s == "cauchy" ? LossKind::Cauchy : LossKind::Linear;
}

// Exponent 1 or 2 of an order as the settings file holds it (0 or other).
int Exponent(int order) { return order == 0 ? 1 : 2; }

Json Span(double lo, double hi) { return Json::array({Num(lo), Num(hi)}); }
void SpanOf(const Json& j, double& lo, double& hi) {
  lo = hi = NAN;
  if (!j.is_array() || j.size() != 2) return;
  lo = NumOf(j[0]);
  hi = NumOf(j[1]);
}

}  // namespace

DataRange RangeOf(const FitInput& used) {
  DataRange r;
  const bool ej = used.mode == CalcMode::EJ;
  auto widen = [](double& lo, double& hi, double v) {
    lo = std::isnan(lo) ? v : std::min(lo, v);
    hi = std::isnan(hi) ? v : std::max(hi, v);
  };
  for (const ConditionData& c : used.conditions) {
    if (c.x.empty()) continue;
    widen(r.tMin, r.tMax, c.temp);
    for (std::size_t i = 0; i < c.x.size(); ++i) {
      if (ej) {
        widen(r.bMin, r.bMax, c.field);
        widen(r.jMin, r.jMax, c.x[i]);
        widen(r.eMin, r.eMax, c.y[i]);
      } else {
        widen(r.bMin, r.bMax, c.x[i]);
        widen(r.jMin, r.jMax, c.y[i]);
      }
    }
  }
  return r;
}

FitRecord MakeFitRecord(const FitInput& used, const FitOutcome& fit, const FitOptions& options,
                        const FitQuality& quality, const ModelParams& stored) {
  FitRecord rec;
  rec.version = kProgramVersion;
  rec.mode = used.mode;
  rec.values = ParamsOf(stored);
  for (int k = 0; k < kFitParamCount; ++k) {
    const std::size_t kk = static_cast<std::size_t>(k);
    rec.free[kk] = !options.fixed[kk] && fit.params[kk].state != ParamState::Fixed;
    rec.stdError[kk] = fit.params[kk].stdError;
  }
  rec.covariance = fit.covariance;
  rec.tcn = stored.Tcn;
  rec.bcn = stored.Bcn;
  rec.rhon0 = stored.Rho_n_0;
  rec.zeta = stored.Re_Zeta;
  rec.thickness = stored.Thickness;
  rec.width = stored.Width;
  rec.eC = stored.E_c;
  rec.intervals = stored.IntStepNum;
  rec.loss = options.loss;
  rec.lossScale = options.lossScale;
  rec.weighting = options.weighting;
  rec.cost = fit.cost;
  rec.rms = quality.rms;
  rec.points = quality.points;
  rec.status = fit.stop == FitStop::Converged ? "converged" : "stopped: " + fit.reason;
  for (std::size_t c = 0; c < quality.conditions.size() && c < used.conditions.size(); ++c) {
    const ConditionQuality& q = quality.conditions[c];
    const ConditionData& d = used.conditions[c];
    rec.conditions.push_back(
        {q.no, d.temp, used.mode == CalcMode::EJ ? d.field : NAN, q.points, q.rms});
  }
  rec.range = RangeOf(used);
  return rec;
}

std::string FitRecordPath(const std::string& projectPath) {
  const std::string ext = ".zx2";
  const std::size_t slash = projectPath.find_last_of('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  if (projectPath.size() > base + ext.size() &&
      projectPath.compare(projectPath.size() - ext.size(), ext.size(), ext) == 0)
    return projectPath.substr(0, projectPath.size() - ext.size()) + ".fit.json";
  return projectPath + ".fit.json";
}

std::string FitRecordJson(const FitRecord& r) {
  Json j;
  j["format"] = kRecordFormat;
  j["program"] = "ZENTRIX II";
  j["version"] = r.version;
  j["model"] = kModelName;
  j["mode"] = r.mode == CalcMode::EJ ? "E-J" : "Jc-B";
  Json params = Json::array();
  for (int k = 0; k < kFitParamCount; ++k) {
    const std::size_t kk = static_cast<std::size_t>(k);
    params.push_back({{"name", FitParamName(k)},
                      {"value", Num(r.values[kk])},
                      {"unit", kParamUnits[k]},
                      {"free", r.free[kk]},
                      {"std_error", Num(r.stdError[kk])}});
  }
  j["parameters"] = params;
  j["constants"] = Json::array({
      {{"name", "rho_n0"}, {"value", Num(r.rhon0)}, {"unit", "ohm m"}},
      {{"name", "zeta"}, {"value", Num(r.zeta)}, {"unit", "1"}},
      {{"name", "thickness"}, {"value", Num(r.thickness)}, {"unit", "m"}},
      {{"name", "width"}, {"value", Num(r.width)}, {"unit", "m"}},
      {{"name", "E_c"}, {"value", Num(r.eC)}, {"unit", "V/m"}},
      {{"name", "temperature_exponent"}, {"value", Exponent(r.tcn)}, {"unit", "1"}},
      {{"name", "field_exponent"}, {"value", Exponent(r.bcn)}, {"unit", "1"}},
      {{"name", "integration_steps"}, {"value", r.intervals}, {"unit", "1"}},
  });
  Json names = Json::array(), matrix = Json::array();
  std::vector<std::size_t> freeIdx;
  for (std::size_t k = 0; k < static_cast<std::size_t>(kFitParamCount); ++k)
    if (r.free[k]) freeIdx.push_back(k);
  for (std::size_t a : freeIdx) {
    names.push_back(FitParamName(static_cast<int>(a)));
    Json row = Json::array();
    for (std::size_t b : freeIdx) row.push_back(Num(r.covariance[a][b]));
    matrix.push_back(row);
  }
  j["covariance"] = {{"parameters", names}, {"matrix", matrix}};
  j["loss"] = {{"kind", LossName(r.loss)}, {"scale_decades", Num(r.lossScale)}};
  j["weighting"] = r.weighting == Weighting::PerPoint ? "point" : "condition";
  j["figure_of_merit"] = Num(r.cost);
  j["rms_decades"] = Num(r.rms);
  j["points"] = r.points;
  j["status"] = r.status;
  Json conds = Json::array();
  for (const RecordCondition& c : r.conditions)
    conds.push_back({{"no", c.no},
                     {"T", Num(c.temp)},
                     {"B", Num(c.field)},
                     {"points", c.points},
                     {"rms_decades", Num(c.rms)}});
  j["conditions"] = conds;
  j["data_range"] = {{"T", Span(r.range.tMin, r.range.tMax)},
                     {"B", Span(r.range.bMin, r.range.bMax)},
                     {"J", Span(r.range.jMin, r.range.jMax)},
                     {"E", Span(r.range.eMin, r.range.eMax)}};
  j["units"] = {{"T", "K"}, {"B", "T"}, {"J", "A/m^2"}, {"E", "V/m"}};
  return j.dump(2) + "\n";
}

bool ParseFitRecord(const std::string& text, FitRecord& r, std::string& why) {
  const Json j = Json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    why = "not a JSON object";
    return false;
  }
  if (j.value("model", "") != kModelName || !j.contains("parameters") ||
      !j["parameters"].is_array()) {
    why = "not a fit record of this program";
    return false;
  }
  r = FitRecord{};
  r.version = j.value("version", "");
  r.mode = j.value("mode", "E-J") == "Jc-B" ? CalcMode::JcB : CalcMode::EJ;
  bool seen[kFitParamCount] = {};
  for (const Json& p : j["parameters"]) {
    if (!p.is_object()) continue;
    const int k = FitParamIndex(p.value("name", ""));
    if (k < 0) continue;
    const std::size_t kk = static_cast<std::size_t>(k);
    seen[k] = true;
    r.values[kk] = p.contains("value") ? NumOf(p["value"]) : NAN;
    r.free[kk] = p.value("free", false);
    r.stdError[kk] = p.contains("std_error") ? NumOf(p["std_error"]) : NAN;
  }
  for (int k = 0; k < kFitParamCount; ++k)
    if (!seen[k]) {
      why = std::string("parameter ") + FitParamName(k) + " missing";
      return false;
    }
  if (j.contains("constants") && j["constants"].is_array())
    for (const Json& c : j["constants"]) {
      if (!c.is_object() || !c.contains("value")) continue;
      const std::string name = c.value("name", "");
      const double v = NumOf(c["value"]);
      if (name == "rho_n0") r.rhon0 = v;
      if (name == "zeta") r.zeta = v;
      if (name == "thickness") r.thickness = v;
      if (name == "width") r.width = v;
      if (name == "E_c") r.eC = v;
      if (name == "temperature_exponent") r.tcn = v == 1 ? 0 : 1;
      if (name == "field_exponent") r.bcn = v == 1 ? 0 : 1;
      if (name == "integration_steps" && std::isfinite(v)) r.intervals = static_cast<int>(v);
    }
  if (j.contains("covariance") && j["covariance"].is_object()) {
    const Json& cov = j["covariance"];
    std::vector<int> idx;
    if (cov.contains("parameters") && cov["parameters"].is_array())
      for (const Json& n : cov["parameters"])
        idx.push_back(n.is_string() ? FitParamIndex(n.get<std::string>()) : -1);
    if (cov.contains("matrix") && cov["matrix"].is_array() && cov["matrix"].size() == idx.size())
      for (std::size_t a = 0; a < idx.size(); ++a) {
        const Json& row = cov["matrix"][a];
        if (!row.is_array() || row.size() != idx.size() || idx[a] < 0) continue;
        for (std::size_t b = 0; b < idx.size(); ++b)
          if (idx[b] >= 0)
            r.covariance[static_cast<std::size_t>(idx[a])][static_cast<std::size_t>(idx[b])] =
                NumOf(row[b]);
      }
  }
  if (j.contains("loss") && j["loss"].is_object()) {
    r.loss = LossOf(j["loss"].value("kind", "linear"));
    if (j["loss"].contains("scale_decades")) r.lossScale = NumOf(j["loss"]["scale_decades"]);
  }
  r.weighting =
      j.value("weighting", "condition") == "point" ? Weighting::PerPoint : Weighting::PerCondition;
  if (j.contains("figure_of_merit")) r.cost = NumOf(j["figure_of_merit"]);
  if (j.contains("rms_decades")) r.rms = NumOf(j["rms_decades"]);
  r.points = j.value("points", 0);
  r.status = j.value("status", "");
  if (j.contains("conditions") && j["conditions"].is_array())
    for (const Json& c : j["conditions"]) {
      if (!c.is_object()) continue;
      RecordCondition rc;
      rc.no = c.value("no", -1);
      if (c.contains("T")) rc.temp = NumOf(c["T"]);
      if (c.contains("B")) rc.field = NumOf(c["B"]);
      rc.points = c.value("points", 0);
      if (c.contains("rms_decades")) rc.rms = NumOf(c["rms_decades"]);
      r.conditions.push_back(rc);
    }
  if (j.contains("data_range") && j["data_range"].is_object()) {
    const Json& d = j["data_range"];
    if (d.contains("T")) SpanOf(d["T"], r.range.tMin, r.range.tMax);
    if (d.contains("B")) SpanOf(d["B"], r.range.bMin, r.range.bMax);
    if (d.contains("J")) SpanOf(d["J"], r.range.jMin, r.range.jMax);
    if (d.contains("E")) SpanOf(d["E"], r.range.eMin, r.range.eMax);
  }
  return true;
}

bool WriteFitRecord(const std::string& path, const FitRecord& record) {
  return WriteFileAtomically(path, FitRecordJson(record));
}

bool ReadFitRecord(const std::string& path, FitRecord& record, std::string& why) {
  std::string text;
  constexpr std::size_t kMaxBytes = 16u << 20;
  if (!ReadWholeFile(path, text, kMaxBytes)) {
    why = FileExists(path) ? "cannot be read" : "no fit record";
    return false;
  }
  return ParseFitRecord(text, record, why);
}

bool RecordMatches(const FitRecord& record, const ModelParams& params) {
  const FitValues now = ParamsOf(params);
  for (std::size_t k = 0; k < static_cast<std::size_t>(kFitParamCount); ++k)
    if (FormatLe(record.values[k]) != FormatLe(now[k])) return false;
  return Exponent(record.tcn) == Exponent(params.Tcn) &&
         Exponent(record.bcn) == Exponent(params.Bcn);
}

}  // namespace zx
