#include "model/settings_keys.h"

namespace zx {

#define ZX_FIELD(expr) [](Project& p) -> void* { return &p.expr; }

std::span<const SettingsKey> SettingsKeys() {
  static const SettingsKey keys[] = {
      {"Re(A_m)", KeyType::Double, ZX_FIELD(Params.Re_A_m)},
      {"Sigma^2", KeyType::Double, ZX_FIELD(Params.Sigma_2)},
      {"Re(Gamma)", KeyType::Double, ZX_FIELD(Params.Re_Gamma)},
      {"Re(m)", KeyType::Double, ZX_FIELD(Params.Re_m)},
      {"Re(g^2)", KeyType::Double, ZX_FIELD(Params.Re_g_2)},
      {"T_c", KeyType::Double, ZX_FIELD(Params.T_c)},
      {"Rho_n(0)", KeyType::Double, ZX_FIELD(Params.Rho_n_0)},
      {"B_c2(0)", KeyType::Double, ZX_FIELD(Params.B_c2_0)},
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
      {"MiniRe(Am)", KeyType::Double, ZX_FIELD(Settings.MiniRe_Am)},
      {"MaxRe(Am)", KeyType::Double, ZX_FIELD(Settings.MaxRe_Am)},
      {"MiniSigma^2", KeyType::Double, ZX_FIELD(Settings.MiniSigma_2)},
      {"MaxSigma^2", KeyType::Double, ZX_FIELD(Settings.MaxSigma_2)},
      {"MiniRe(Gamma)", KeyType::Double, ZX_FIELD(Settings.MiniRe_Gamma)},
      {"MaxRe(Gamma)", KeyType::Double, ZX_FIELD(Settings.MaxRe_Gamma)},
      {"MiniRe(m)", KeyType::Double, ZX_FIELD(Settings.MiniRe_m)},
      {"MaxRe(m)", KeyType::Double, ZX_FIELD(Settings.MaxRe_m)},
      {"MiniRe(g^2)", KeyType::Double, ZX_FIELD(Settings.MiniRe_g_2)},
      {"MaxRe(g^2)", KeyType::Double, ZX_FIELD(Settings.MaxRe_g_2)},
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

}  // namespace zx
