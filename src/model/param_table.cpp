#include "model/param_table.h"

#include <cmath>
#include <limits>
#include <string>

#include "model/tr_noop.h"

namespace zx {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// A value above zero; a positive constant is also normal, since a subnormal
// one passes > 0 but overflows the model's quotients.
constexpr ParamLimits kAboveZero{0.0, kInf, true};
constexpr ParamLimits kNormalPositive{std::numeric_limits<double>::min(), kInf, false};
constexpr ParamLimits kFraction{0.0, 1.0, false};
constexpr ParamLimits kFromOne{1.0, kInf, false};

constexpr ParamScale kLin = ParamScale::Linear;
constexpr ParamScale kLog = ParamScale::Log;

const ParamRow kRows[kFitParamCount] = {
    {FitParam::Am, "Am", "Am", "A/m^2", ZX_TR_NOOP("Core", "ピン力の強さ"), "am", "Re(A_m)",
     "MiniRe(Am)", "MaxRe(Am)", &ModelParams::Re_A_m, &CreepFlowInputs::Am,
     &CalcSettings::MiniRe_Am, &CalcSettings::MaxRe_Am, kLog, kLog, 0, kAboveZero},
    {FitParam::Sigma2, "sigma2", "σ^2", "1", ZX_TR_NOOP("Core", "ピン力の分布"), "sigma2",
     "Sigma^2", "MiniSigma^2", "MaxSigma^2", &ModelParams::Sigma_2, &CreepFlowInputs::sigma2,
     &CalcSettings::MiniSigma_2, &CalcSettings::MaxSigma_2, kLin, kLog, 3, kFraction},
    {FitParam::Gamma, "gamma", "γ", "1", ZX_TR_NOOP("Core", "ピン力の磁場依存性"), "gamma",
     "Re(Gamma)", "MiniRe(Gamma)", "MaxRe(Gamma)", &ModelParams::Re_Gamma, &CreepFlowInputs::gamma,
     &CalcSettings::MiniRe_Gamma, &CalcSettings::MaxRe_Gamma, kLin, kLin, 0, kFraction},
    {FitParam::M, "m", "m", "1", ZX_TR_NOOP("Core", "ピン力の温度依存性"), "m", "Re(m)",
     "MiniRe(m)", "MaxRe(m)", &ModelParams::Re_m, &CreepFlowInputs::m, &CalcSettings::MiniRe_m,
     &CalcSettings::MaxRe_m, kLin, kLin, 0, kFromOne},
    {FitParam::G2, "g2", "g^2", "1", ZX_TR_NOOP("Core", "磁束バンドルサイズ"), "g2", "Re(g^2)",
     "MiniRe(g^2)", "MaxRe(g^2)", &ModelParams::Re_g_2, &CreepFlowInputs::g2,
     &CalcSettings::MiniRe_g_2, &CalcSettings::MaxRe_g_2, kLin, kLog, 3, kFromOne},
    {FitParam::Tc, "Tc", "Tc", "K", ZX_TR_NOOP("Core", "臨界温度"), "tc", "T_c", nullptr, nullptr,
     &ModelParams::T_c, &CreepFlowInputs::Tc, nullptr, nullptr, kLin, kLin, 0, kNormalPositive},
    {FitParam::Bc2, "Bc2", "Bc2(0)", "T", ZX_TR_NOOP("Core", "上部臨界磁場"), "bc20", "B_c2(0)",
     nullptr, nullptr, &ModelParams::B_c2_0, &CreepFlowInputs::Bc20, nullptr, nullptr, kLin, kLin,
     0, kNormalPositive},
};

}  // namespace

std::span<const ParamRow> ParamTable() { return kRows; }

std::span<const ParamRow> PinningRows() { return ParamTable().first(kPinningParamCount); }

const ParamRow& ParamRowOf(FitParam p) { return kRows[static_cast<int>(p)]; }

const char* FitParamName(int index) {
  return index >= 0 && index < kFitParamCount ? kRows[index].name : "";
}

int FitParamIndex(const std::string& name) {
  for (const ParamRow& r : kRows)
    if (name == r.name) return static_cast<int>(r.id);
  return -1;
}

const char* RangeName(const ParamRow& r) { return HasStoredRange(r) ? r.symbol : r.valueKey; }

bool WithinLimits(const ParamRow& r, double v) {
  const ParamLimits& l = r.limits;
  const bool aboveLowest = l.lowestExcluded ? v > l.lowest : v >= l.lowest;
  // An infinite value (a huge typed number) would give a slider no scale.
  return aboveLowest && v <= l.highest && v < kInf;
}

}  // namespace zx
