#include "model/validation.h"

#include <limits>

#include "model/tr_noop.h"

namespace zx {

namespace {

struct ParamRow {
  const char* name;
  double lowest, highest;  // allowed values of either bound
  bool lowestExcluded;
  double CalcSettings::*minField;
  double CalcSettings::*maxField;
};

constexpr double kInf = std::numeric_limits<double>::infinity();
const ParamRow kRows[5] = {
    {"Am", 0.0, kInf, true, &CalcSettings::MiniRe_Am, &CalcSettings::MaxRe_Am},
    {"σ^2", 0.0, 1.0, false, &CalcSettings::MiniSigma_2, &CalcSettings::MaxSigma_2},
    {"γ", 0.0, 1.0, false, &CalcSettings::MiniRe_Gamma, &CalcSettings::MaxRe_Gamma},
    {"m", 1.0, kInf, false, &CalcSettings::MiniRe_m, &CalcSettings::MaxRe_m},
    {"g^2", 1.0, kInf, false, &CalcSettings::MiniRe_g_2, &CalcSettings::MaxRe_g_2},
};

// An infinite bound (a huge typed number) would give the slider no scale.
bool Allowed(const ParamRow& row, double v) {
  const bool aboveLowest = row.lowestExcluded ? v > row.lowest : v >= row.lowest;
  return aboveLowest && v <= row.highest && v < kInf;
}

}  // namespace

std::string RefusalText(const std::string& field) { return FillPattern(kRefusalPattern, field); }

std::string CheckCalcCond(const Project& p, const CalcCondInput& in) {
  const int headNo = p.DataFiles.HeadNo();
  // A condition must belong to a data file while there are any: a missing
  // selection would store -1, which no data file carries.
  if (in.relatedDatFileNo > headNo || (in.relatedDatFileNo < 0 && headNo >= 0))
    return RefusalText(ZX_TR_NOOP("Core", "関連付けデータファイル番号"));
  if (!(in.temp > 0.0 && in.temp < kMaxTemp)) return RefusalText(ZX_TR_NOOP("Core", "温度"));
  if (p.Settings.Mode != CalcMode::JcB && !(in.magField > 0.0 && in.magField < kMaxMagField))
    return RefusalText(ZX_TR_NOOP("Core", "磁場"));
  if (in.folder.empty()) return RefusalText(ZX_TR_NOOP("Core", "計算結果出力フォルダ"));
  if (in.name.empty()) return RefusalText(ZX_TR_NOOP("Core", "出力ファイル名"));
  return {};
}

std::string CheckJRange(double jIni, double jFin, int jStepLevel) {
  if (!(jIni > 0.0)) return RefusalText(ZX_TR_NOOP("Core", "J範囲開始値"));
  // A reversed or empty range gives no usable grid.
  if (!(jFin > 0.0) || !(jIni < jFin)) return RefusalText(ZX_TR_NOOP("Core", "J範囲終了値"));
  if (jStepLevel < 1 || jStepLevel > kMaxJStepLevel)
    return RefusalText(ZX_TR_NOOP("Core", "計算の細かさ"));
  return {};
}

std::string CheckJcConditions(const JcConditions& c) {
  // J brackets a search on log J: a start of 0 would make every Jc 1.
  if (!(c.jIni > 0.0)) return RefusalText(ZX_TR_NOOP("Core", "J範囲開始値"));
  if (!(c.jFin >= 0.0) || !(c.jIni < c.jFin)) return RefusalText(ZX_TR_NOOP("Core", "J範囲終了値"));
  if (!(c.bIni >= 0.0)) return RefusalText(ZX_TR_NOOP("Core", "B範囲開始値"));
  if (!(c.bFin >= 0.0) || !(c.bIni < c.bFin)) return RefusalText(ZX_TR_NOOP("Core", "B範囲終了値"));
  if (!(c.ec >= 0.0)) return RefusalText(ZX_TR_NOOP("Core", "電界基準値"));
  if (c.bStepLevel < 1 || c.bStepLevel > kMaxBStepLevel)
    return RefusalText(ZX_TR_NOOP("Core", "計算の細かさ"));
  return {};
}

ParamRanges ParamRangesOf(const CalcSettings& s) {
  ParamRanges r;
  for (int i = 0; i < 5; ++i) {
    r.lo[i] = s.*kRows[i].minField;
    r.hi[i] = s.*kRows[i].maxField;
  }
  return r;
}

void ApplyParamRanges(CalcSettings& s, const ParamRanges& r) {
  for (int i = 0; i < 5; ++i) {
    s.*kRows[i].minField = r.lo[i];
    s.*kRows[i].maxField = r.hi[i];
  }
}

const char* ParamRangeName(int i) { return i >= 0 && i < 5 ? kRows[i].name : ""; }

std::string CheckParamRanges(const ParamRanges& r) {
  for (int i = 0; i < 5; ++i) {
    const ParamRow& row = kRows[i];
    if (!Allowed(row, r.lo[i])) return RefusalText(FillPattern(kMinimumOfPattern, row.name));
    // Equal bounds would leave the slider no scale to move on.
    if (!Allowed(row, r.hi[i]) || !(r.lo[i] < r.hi[i]))
      return RefusalText(FillPattern(kMaximumOfPattern, row.name));
  }
  return {};
}

std::string CheckParamValue(int i, double v) {
  if (i < 0 || i >= 5) return RefusalText("");
  return Allowed(kRows[i], v) ? std::string() : RefusalText(kRows[i].name);
}

}  // namespace zx
