#include "fit/fit_report_json.h"

#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>

namespace zx {

namespace {

using Json = nlohmann::ordered_json;

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    f.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
    if (tab == std::string::npos) return f;
    start = tab + 1;
  }
}

// A number where the field is one, null for "nan" and "-", else the text.
Json Value(const std::string& s) {
  if (s == "nan" || s == "-") return nullptr;
  if (!s.empty() && s.find_first_not_of("-0123456789") == std::string::npos && s.size() < 18)
    return std::stoll(s);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (!s.empty() && end == s.c_str() + s.size()) return v;
  return s;
}

// The named fields of a line; columns beyond the names go to "more".
Json Record(const std::vector<std::string>& f, const std::vector<std::string>& names,
            std::size_t first = 1) {
  Json r = Json::object();
  for (std::size_t i = first; i < f.size(); ++i) {
    const std::size_t k = i - first;
    if (k < names.size())
      r[names[k]] = names[k] == "name" || names[k] == "state" || names[k] == "kind" ||
                            names[k] == "detail" || names[k] == "status"
                        ? Json(f[i])
                        : Value(f[i]);
    else
      r["more"].push_back(Value(f[i]));
  }
  return r;
}

// Correlations keyed by the names of the param lines before.
Json CorrelationRecord(const std::vector<std::string>& f, const std::vector<std::string>& listed) {
  Json r = {{"name", f.size() > 1 ? f[1] : ""}, {"r", Json::object()}};
  for (std::size_t i = 2; i < f.size(); ++i)
    r["r"][i - 2 < listed.size() ? listed[i - 2] : std::to_string(i - 2)] = Value(f[i]);
  return r;
}

// A minimum's values keyed by the parameter names; its merit follows them.
Json MinimumRecord(const std::vector<std::string>& f, const std::vector<std::string>& listed) {
  Json r = Record(f, {"rank", "rms", "starts"});
  r.erase("more");
  Json values = Json::object();
  for (std::size_t i = 4; i < f.size(); ++i) {
    if (i - 4 < listed.size())
      values[listed[i - 4]] = Value(f[i]);
    else if (i - 4 == listed.size())
      r["merit"] = Value(f[i]);
    else
      r["more"].push_back(Value(f[i]));
  }
  r["values"] = values;
  return r;
}

// Field names of the kinds kept as plain records in a list; null for others.
const std::vector<std::string>* PlainRecordNames(const std::string& kind) {
  static const std::map<std::string, std::vector<std::string>> names = {
      {"order", {"n_T", "n_B", "rms", "merit"}},
      {"warn", {"kind", "detail"}},
      {"cond", {"no", "points", "rms", "jc_data", "jc_model", "n_data", "n_model"}},
  };
  const auto it = names.find(kind);
  return it == names.end() ? nullptr : &it->second;
}

}  // namespace

std::string FitReportJson(const std::vector<std::string>& lines) {
  Json j = Json::object();
  for (const char* kind : {"param", "corr", "minimum", "order", "warn", "cond"})
    j[kind] = Json::array();
  std::vector<std::string> listed;  // parameter names in the order of the param lines
  for (const std::string& line : lines) {
    const std::vector<std::string> f = Fields(line);
    const std::string& kind = f[0];
    if (kind == "param") {
      if (f.size() > 1) listed.push_back(f[1]);
      j["param"].push_back(Record(f, {"name", "value", "error", "state"}));
    } else if (kind == "corr") {
      j["corr"].push_back(CorrelationRecord(f, listed));
    } else if (kind == "minimum") {
      j["minimum"].push_back(MinimumRecord(f, listed));
    } else if (kind == "total") {
      j["total"] = Record(f, {"points", "rms", "iterations", "status", "merit"});
    } else if (const std::vector<std::string>* names = PlainRecordNames(kind)) {
      j[kind].push_back(Record(f, *names));
    }
  }
  return j.dump(2) + "\n";
}

}  // namespace zx
