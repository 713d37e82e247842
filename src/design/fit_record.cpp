#include "design/fit_record.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "design/json_numbers.h"
#include "model/format.h"
#include "model/param_table.h"
#include "model/program_version.h"
#include "model/text_file.h"

namespace zx {

namespace {

constexpr const char* kModelName = "creep-flow";
constexpr int kRecordFormat = 1;

const char* LossName(LossKind k) {
  return k == LossKind::SoftL1 ? "soft_l1" : k == LossKind::Cauchy ? "cauchy" : "linear";
}
LossKind LossOf(const std::string& s) {
  return s == "soft_l1" ? LossKind::SoftL1 : s == "cauchy" ? LossKind::Cauchy : LossKind::Linear;
}

void SpanOf(const Json& j, double& lo, double& hi) {
  lo = hi = NAN;
  if (!j.is_array() || j.size() != 2) return;
  lo = NumOf(j[0]);
  hi = NumOf(j[1]);
}

// The sample constants kept as plain numbers, in the record's order.
struct ConstantField {
  const char* name;
  double FitRecord::*field;
  const char* unit;
};
constexpr ConstantField kConstantFields[] = {
    {"rho_n0", &FitRecord::rhon0, "ohm m"},
    {"zeta", &FitRecord::zeta, "1"},
    {"thickness", &FitRecord::thickness, "m"},
    {"width", &FitRecord::width, "m"},
    {"E_c", &FitRecord::eC, "V/m"},
};

// The spans of data_range, in the record's order.
struct RangeField {
  const char* name;
  double DataRange::*lo;
  double DataRange::*hi;
};
constexpr RangeField kRangeFields[] = {
    {"T", &DataRange::tMin, &DataRange::tMax},
    {"B", &DataRange::bMin, &DataRange::bMax},
    {"J", &DataRange::jMin, &DataRange::jMax},
    {"E", &DataRange::eMin, &DataRange::eMax},
};

// A member of an object when it is of that type, else null.
const Json* MemberOf(const Json& o, const char* key, Json::value_t type) {
  if (!o.is_object()) return nullptr;
  const auto it = o.find(key);
  return it != o.end() && it->type() == type ? &*it : nullptr;
}
const Json* ArrayAt(const Json& o, const char* key) {
  return MemberOf(o, key, Json::value_t::array);
}
const Json* ObjectAt(const Json& o, const char* key) {
  return MemberOf(o, key, Json::value_t::object);
}
// A number member; `absent` where there is none, NaN where it is no number.
double NumberAt(const Json& o, const char* key, double absent) {
  return o.contains(key) ? NumOf(o[key]) : absent;
}

// Every fitted parameter must be there; unknown names are passed over.
bool ReadParameters(const Json& list, FitRecord& r, std::string& why) {
  bool seen[kFitParamCount] = {};
  for (const Json& p : list) {
    if (!p.is_object()) continue;
    const int k = FitParamIndex(p.value("name", ""));
    if (k < 0) continue;
    const std::size_t kk = static_cast<std::size_t>(k);
    seen[k] = true;
    r.values[kk] = NumberAt(p, "value", NAN);
    r.free[kk] = p.value("free", false);
    r.stdError[kk] = NumberAt(p, "std_error", NAN);
  }
  for (int k = 0; k < kFitParamCount; ++k)
    if (!seen[k]) {
      why = std::string("parameter ") + FitParamName(k) + " missing";
      return false;
    }
  return true;
}

void ReadConstant(const std::string& name, double v, FitRecord& r) {
  for (const ConstantField& f : kConstantFields)
    if (name == f.name) r.*f.field = v;
  if (name == "temperature_exponent") r.tcn = v == 1 ? 0 : 1;
  if (name == "field_exponent") r.bcn = v == 1 ? 0 : 1;
  if (name == "integration_steps" && std::isfinite(v)) r.intervals = static_cast<int>(v);
}

void ReadConstants(const Json& list, FitRecord& r) {
  for (const Json& c : list)
    if (c.is_object() && c.contains("value"))
      ReadConstant(c.value("name", ""), NumOf(c["value"]), r);
}

// Rows and columns named by parameters; a matrix of another size is passed over.
void ReadCovariance(const Json& cov, FitMatrix& m) {
  std::vector<int> idx;
  if (const Json* names = ArrayAt(cov, "parameters"))
    for (const Json& n : *names)
      idx.push_back(n.is_string() ? FitParamIndex(n.get<std::string>()) : -1);
  const Json* matrix = ArrayAt(cov, "matrix");
  if (!matrix || matrix->size() != idx.size()) return;
  for (std::size_t a = 0; a < idx.size(); ++a) {
    const Json& row = (*matrix)[a];
    if (!row.is_array() || row.size() != idx.size() || idx[a] < 0) continue;
    for (std::size_t b = 0; b < idx.size(); ++b)
      if (idx[b] >= 0)
        m[static_cast<std::size_t>(idx[a])][static_cast<std::size_t>(idx[b])] = NumOf(row[b]);
  }
}

RecordCondition ReadCondition(const Json& c) {
  RecordCondition rc;
  rc.no = c.value("no", -1);
  rc.temp = NumberAt(c, "T", rc.temp);
  rc.field = NumberAt(c, "B", rc.field);
  rc.points = c.value("points", 0);
  rc.rms = NumberAt(c, "rms_decades", rc.rms);
  return rc;
}

void ReadDataRange(const Json& d, DataRange& range) {
  for (const RangeField& f : kRangeFields)
    if (d.contains(f.name)) SpanOf(d[f.name], range.*f.lo, range.*f.hi);
}

// The record's fields after its kind was checked.
bool ReadRecord(const Json& j, FitRecord& r, std::string& why) {
  r.version = j.value("version", "");
  r.mode = j.value("mode", "E-J") == "Jc-B" ? CalcMode::JcB : CalcMode::EJ;
  if (!ReadParameters(j["parameters"], r, why)) return false;
  if (const Json* constants = ArrayAt(j, "constants")) ReadConstants(*constants, r);
  if (const Json* cov = ObjectAt(j, "covariance")) ReadCovariance(*cov, r.covariance);
  if (const Json* loss = ObjectAt(j, "loss")) {
    r.loss = LossOf(loss->value("kind", "linear"));
    r.lossScale = NumberAt(*loss, "scale_decades", r.lossScale);
  }
  r.weighting =
      j.value("weighting", "condition") == "point" ? Weighting::PerPoint : Weighting::PerCondition;
  r.cost = NumberAt(j, "figure_of_merit", r.cost);
  r.rms = NumberAt(j, "rms_decades", r.rms);
  r.points = j.value("points", 0);
  r.status = j.value("status", "");
  if (const Json* conds = ArrayAt(j, "conditions"))
    for (const Json& c : *conds)
      if (c.is_object()) r.conditions.push_back(ReadCondition(c));
  if (const Json* d = ObjectAt(j, "data_range")) ReadDataRange(*d, r.range);
  return true;
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
  for (const ParamRow& row : ParamTable()) {
    const std::size_t kk = static_cast<std::size_t>(row.id);
    params.push_back({{"name", row.name},
                      {"value", Num(r.values[kk])},
                      {"unit", row.unit},
                      {"free", r.free[kk]},
                      {"std_error", Num(r.stdError[kk])}});
  }
  j["parameters"] = params;
  Json constants = Json::array();
  for (const ConstantField& f : kConstantFields)
    constants.push_back({{"name", f.name}, {"value", Num(r.*f.field)}, {"unit", f.unit}});
  constants.push_back(
      {{"name", "temperature_exponent"}, {"value", ScalingExponent(r.tcn)}, {"unit", "1"}});
  constants.push_back(
      {{"name", "field_exponent"}, {"value", ScalingExponent(r.bcn)}, {"unit", "1"}});
  constants.push_back({{"name", "integration_steps"}, {"value", r.intervals}, {"unit", "1"}});
  j["constants"] = constants;
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
  Json range = Json::object();
  for (const RangeField& f : kRangeFields) range[f.name] = Span(r.range.*f.lo, r.range.*f.hi);
  j["data_range"] = range;
  j["units"] = {{"T", "K"}, {"B", "T"}, {"J", "A/m^2"}, {"E", "V/m"}};
  return j.dump(2) + "\n";
}

bool ParseFitRecord(const std::string& text, FitRecord& r, std::string& why) {
  const Json j = Json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    why = "not a JSON object";
    return false;
  }
  // A field of another type than the record's (a text where a number or a
  // flag belongs) throws in the JSON reader: such a file is refused.
  try {
    if (j.value("model", "") != kModelName || !ArrayAt(j, "parameters")) {
      why = "not a fit record of this program";
      return false;
    }
    r = FitRecord{};
    return ReadRecord(j, r, why);
  } catch (const Json::exception&) {
    why = "a field of the wrong type";
    return false;
  }
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
  return ScalingExponent(record.tcn) == ScalingExponent(params.Tcn) &&
         ScalingExponent(record.bcn) == ScalingExponent(params.Bcn);
}

}  // namespace zx
