#include "model/settings_keys.h"

#include <algorithm>
#include <cmath>

#include "model/param_table.h"

namespace zx {

#define ZX_FIELD(expr) [](Project& p) -> void* { return &p.expr; }

namespace {

enum class ParamSlot { Value, Minimum, Maximum };

// The key of a parameter's value or range bound, spelled by its table row.
template <FitParam P, ParamSlot S>
SettingsKey ParamKey() {
  const ParamRow& r = ParamRowOf(P);
  const char* name = S == ParamSlot::Value     ? r.valueKey
                     : S == ParamSlot::Minimum ? r.minimumKey
                                               : r.maximumKey;
  return {name, KeyType::Double, [](Project& p) -> void* {
            const ParamRow& row = ParamRowOf(P);
            if constexpr (S == ParamSlot::Value) return &(p.Params.*row.value);
            if constexpr (S == ParamSlot::Minimum) return &(p.Settings.*row.minimum);
            return &(p.Settings.*row.maximum);
          }};
}

template <FitParam P>
SettingsKey ValueKey() {
  return ParamKey<P, ParamSlot::Value>();
}
template <FitParam P>
SettingsKey MinimumKey() {
  return ParamKey<P, ParamSlot::Minimum>();
}
template <FitParam P>
SettingsKey MaximumKey() {
  return ParamKey<P, ParamSlot::Maximum>();
}

}  // namespace

std::span<const SettingsKey> SettingsKeys() {
  // The fitted quantities' keys come from the parameter table.
  static const SettingsKey keys[] = {
      ValueKey<FitParam::Am>(),
      ValueKey<FitParam::Sigma2>(),
      ValueKey<FitParam::Gamma>(),
      ValueKey<FitParam::M>(),
      ValueKey<FitParam::G2>(),
      ValueKey<FitParam::Tc>(),
      {"Rho_n(0)", KeyType::Double, ZX_FIELD(Params.Rho_n_0)},
      ValueKey<FitParam::Bc2>(),
      {"Re(Zeta)", KeyType::Double, ZX_FIELD(Params.Re_Zeta)},
      {"SampleName", KeyType::Text, ZX_FIELD(Params.SampleName)},
      {"Length", KeyType::Double, ZX_FIELD(Params.Length)},
      {"Width", KeyType::Double, ZX_FIELD(Params.Width)},
      {"Thickness", KeyType::Double, ZX_FIELD(Params.Thickness)},
      {"Tcn", KeyType::Int, ZX_FIELD(Params.Tcn), std::string::npos, true},
      {"Bcn", KeyType::Int, ZX_FIELD(Params.Bcn), std::string::npos, true},
      {"IntStepNum", KeyType::Int, ZX_FIELD(Params.IntStepNum)},
      {"E_c", KeyType::Double, ZX_FIELD(Params.E_c)},
      {"E_cAllowableError", KeyType::Double, ZX_FIELD(Params.E_cAllowableError)},
      {"MiniE", KeyType::Double, ZX_FIELD(Params.MiniE)},
      {"MaxE", KeyType::Double, ZX_FIELD(Params.MaxE)},
      {"JIni", KeyType::Double, ZX_FIELD(Settings.JIni)},
      {"JFin", KeyType::Double, ZX_FIELD(Settings.JFin)},
      {"JStepLevel", KeyType::Int, ZX_FIELD(Settings.JStepLevel)},
      {"BIni", KeyType::Double, ZX_FIELD(Settings.BIni)},
      {"BFin", KeyType::Double, ZX_FIELD(Settings.BFin)},
      {"BStepLevel", KeyType::Int, ZX_FIELD(Settings.BStepLevel)},
      MinimumKey<FitParam::Am>(),
      MaximumKey<FitParam::Am>(),
      MinimumKey<FitParam::Sigma2>(),
      MaximumKey<FitParam::Sigma2>(),
      MinimumKey<FitParam::Gamma>(),
      MaximumKey<FitParam::Gamma>(),
      MinimumKey<FitParam::M>(),
      MaximumKey<FitParam::M>(),
      MinimumKey<FitParam::G2>(),
      MaximumKey<FitParam::G2>(),
      {"CalcMode", KeyType::Mode, ZX_FIELD(Settings.Mode)},
      {"XType", KeyType::Scale, ZX_FIELD(Axes.X.type), 15},
      {"XAutoScale", KeyType::Flag, ZX_FIELD(Axes.X.autoScale)},
      {"XMin", KeyType::Double, ZX_FIELD(Axes.X.min)},
      {"XMax", KeyType::Double, ZX_FIELD(Axes.X.max)},
      {"YType", KeyType::Scale, ZX_FIELD(Axes.Y.type), 15},
      {"YAutoScale", KeyType::Flag, ZX_FIELD(Axes.Y.autoScale)},
      {"YMin", KeyType::Double, ZX_FIELD(Axes.Y.min)},
      {"YMax", KeyType::Double, ZX_FIELD(Axes.Y.max)},
  };
  return keys;
}

#undef ZX_FIELD

std::string FirstNonFiniteKey(const Project& p, std::span<const double* const> fields) {
  for (const SettingsKey& k : SettingsKeys()) {
    if (k.type != KeyType::Double) continue;
    const double* field = k.Double(p);
    if (std::find(fields.begin(), fields.end(), field) != fields.end() && !std::isfinite(*field))
      return k.name;
  }
  return {};
}

}  // namespace zx
