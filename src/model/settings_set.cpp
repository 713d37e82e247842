#include "model/settings_set.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "model/format.h"
#include "model/limits.h"
#include "model/param_table.h"
#include "model/settings_keys.h"
#include "model/settings_lines.h"
#include "model/text_codec.h"
#include "model/validation.h"

namespace zx {

namespace {

// The smallest sample length, width or thickness taken (1 nm, a few atomic
// layers): below it J = I / (w t) and E = V / l leave any physical scale.
constexpr double kMinSampleDimension = 1e-9;

// Each key is checked by its own group's rule in either mode: a value set for
// the other mode is used as soon as the mode changes.
enum class Group {
  None,
  Param,      // a row of the parameter table: its limits
  Positive,   // a normal positive number: the model divides by it
  Dimension,  // a sample size in metres, at least kMinSampleDimension
  Order,
  IntSteps,
  Name,
  Ranges,
  JRange,     // JIni, JFin, JStepLevel: checked together
  BRange,     // BIni, BFin, BStepLevel: checked together
  Criterion,  // E_c: a normal positive field
};

struct Settable {
  const char* key;
  Group group;
  std::string label;  // the panel's or the dialog's name of the field
  int param = -1;     // FitParam of a parameter's value
};

// The keys the command line may set besides the parameter table's; axes,
// the mode and the internal tolerances stay with the windows.
const Settable kSettable[] = {
    {"Rho_n(0)", Group::Positive, "ρn"},
    {"Re(Zeta)", Group::Positive, "ζ"},
    {"SampleName", Group::Name, ZX_TR_NOOP("Core", "サンプル名")},
    {"Length", Group::Dimension, ZX_TR_NOOP("Core", "長さ")},
    {"Width", Group::Dimension, ZX_TR_NOOP("Core", "幅")},
    {"Thickness", Group::Dimension, ZX_TR_NOOP("Core", "厚さ")},
    {"Tcn", Group::Order, ZX_TR_NOOP("Core", "スケール則内の規格化温度の次数")},
    {"Bcn", Group::Order, ZX_TR_NOOP("Core", "スケール則内の規格化磁場の次数")},
    {"IntStepNum", Group::IntSteps, ZX_TR_NOOP("Core", "積分区間数")},
    {"E_c", Group::Criterion, ZX_TR_NOOP("Core", "電界基準値")},
    {"JIni", Group::JRange, "J範囲開始値"},
    {"JFin", Group::JRange, "J範囲終了値"},
    {"JStepLevel", Group::JRange, ZX_TR_NOOP("Core", "計算の細かさ")},
    {"BIni", Group::BRange, "B範囲開始値"},
    {"BFin", Group::BRange, "B範囲終了値"},
    {"BStepLevel", Group::BRange, ZX_TR_NOOP("Core", "計算の細かさ")},
};

// A parameter's value or a bound of its stored range.
std::optional<Settable> FindParamSettable(const std::string& key) {
  for (const ParamRow& r : ParamTable()) {
    if (key == r.valueKey)
      return Settable{r.valueKey, Group::Param, r.symbol, static_cast<int>(r.id)};
    if (!HasStoredRange(r)) continue;
    if (key == r.minimumKey)
      return Settable{r.minimumKey, Group::Ranges, FillPattern(kMinimumOfPattern, r.symbol)};
    if (key == r.maximumKey)
      return Settable{r.maximumKey, Group::Ranges, FillPattern(kMaximumOfPattern, r.symbol)};
  }
  return std::nullopt;
}

std::optional<Settable> FindSettable(const std::string& key) {
  for (const Settable& s : kSettable)
    if (key == s.key) return s;
  return FindParamSettable(key);
}

const SettingsKey* FindKey(const std::string& key) {
  for (const SettingsKey& k : SettingsKeys())
    if (key == k.name) return &k;
  return nullptr;
}

// The whole text as one finite number: no unit, no trailing text.
bool WholeNumber(const std::string& text, double& v) {
  const char* end = text.data() + text.size();
  const auto res = std::from_chars(text.data(), end, v);
  return !text.empty() && res.ec == std::errc() && res.ptr == end && std::isfinite(v);
}

bool WholeInt(const std::string& text, int& v) {
  const char* end = text.data() + text.size();
  const auto res = std::from_chars(text.data(), end, v);
  return !text.empty() && res.ec == std::errc() && res.ptr == end;
}

bool IsStorableName(const std::string& name) {
  if (name.empty() || !CanWriteCp932(name)) return false;
  if (name.find_first_of(" \t\r\n\v\f") != std::string::npos) return false;
  std::size_t chars = 0;
  for (char c : name) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return chars <= 39;
}

// Whether a number the text gave may be stored under the key's group.
bool DoubleAllowed(const Settable& s, double v) {
  // A subnormal value passes > 0 but overflows the model's quotients.
  const bool normal = v >= std::numeric_limits<double>::min();
  if ((s.group == Group::Positive || s.group == Group::Criterion) && !normal) return false;
  return s.group != Group::Dimension || v >= kMinSampleDimension;
}

bool IntAllowed(const Settable& s, int v) {
  if (s.group == Group::Order) return v == 0 || v == 1;
  return s.group != Group::IntSteps || (v >= 1 && v <= kMaxIntStepNum);
}

std::string ApplyDouble(Project& p, const Settable& s, const SettingsKey& k,
                        const std::string& text) {
  double v = 0;
  if (!WholeNumber(text, v)) return RefusalText(s.label);
  if (s.group == Group::Param)
    if (std::string m = CheckParamValue(s.param, v); !m.empty()) return m;
  if (!DoubleAllowed(s, v)) return RefusalText(s.label);
  *k.Double(p) = v;
  return {};
}

std::string ApplyInt(Project& p, const Settable& s, const SettingsKey& k, const std::string& text) {
  int v = 0;
  if (!WholeInt(text, v) || !IntAllowed(s, v)) return RefusalText(s.label);
  *k.Int(p) = v;
  if (std::strcmp(k.name, "BStepLevel") == 0) ApplyBStepLevel(p.Params, v);
  return {};
}

std::string ApplyOne(Project& p, const Settable& s, const SettingsKey& k, const std::string& text) {
  switch (k.type) {
    case KeyType::Double:
      return ApplyDouble(p, s, k, text);
    case KeyType::Int:
      return ApplyInt(p, s, k, text);
    case KeyType::Text:
      if (!IsStorableName(text)) return RefusalText(s.label);
      *k.Text(p) = text;
      return {};
    default:
      return RefusalText(s.label);
  }
}

}  // namespace

bool ParseKeyAssignment(const std::string& text, KeyAssignment& out) {
  const std::size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  out.key = text.substr(0, eq);
  out.value = text.substr(eq + 1);
  return true;
}

namespace {

// The B range of a Jc-B calculation; 0 T may start it.
std::string CheckBRange(double bIni, double bFin, int bStepLevel) {
  if (!(bIni >= 0.0)) return RefusalText("B範囲開始値");
  if (!(bIni < bFin)) return RefusalText("B範囲終了値");
  if (bStepLevel < 1 || bStepLevel > kMaxBStepLevel)
    return RefusalText(ZX_TR_NOOP("Core", "計算の細かさ"));
  return {};
}

}  // namespace

std::string ApplyKeyAssignments(Project& p, const std::vector<KeyAssignment>& assignments) {
  bool ranges = false, jRange = false, bRange = false;
  for (const KeyAssignment& a : assignments) {
    const std::optional<Settable> s = FindSettable(a.key);
    const SettingsKey* k = FindKey(a.key);
    if (!s || !k) return "unknown key " + a.key;
    if (std::string m = ApplyOne(p, *s, *k, a.value); !m.empty()) return m;
    ranges = ranges || s->group == Group::Ranges;
    jRange = jRange || s->group == Group::JRange;
    bRange = bRange || s->group == Group::BRange;
  }
  const CalcSettings& c = p.Settings;
  if (ranges)
    if (std::string m = CheckParamRanges(ParamRangesOf(c)); !m.empty()) return m;
  if (jRange)
    if (std::string m = CheckJRange(c.JIni, c.JFin, c.JStepLevel); !m.empty()) return m;
  if (bRange)
    if (std::string m = CheckBRange(c.BIni, c.BFin, c.BStepLevel); !m.empty()) return m;
  return {};
}

bool ReplaceKeyValues(const std::string& bytes, const Project& p,
                      const std::vector<std::string>& keys, std::string& out) {
  SettingsLines lines;
  for (const std::string& key : keys) {
    const SettingsKey* k = FindKey(key);
    if (!k) return false;
    std::string value;
    switch (k->type) {
      case KeyType::Double:
        value = FormatLe(*k->Double(p));
        break;
      case KeyType::Int:
        value = std::to_string(*k->Int(p));
        break;
      case KeyType::Text:
        if (!Utf8ToCp932(*k->Text(p), value)) return false;
        break;
      default:
        return false;
    }
    lines.emplace_back(key, std::move(value));
  }
  out = ReplaceSettingsLines(bytes, lines);
  return true;
}

}  // namespace zx
