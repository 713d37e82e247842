#include "model/validation.h"

#include "model/param_table.h"
#include "model/tr_noop.h"

namespace zx {

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
  for (const ParamRow& row : PinningRows()) {
    r.lo[static_cast<int>(row.id)] = s.*row.minimum;
    r.hi[static_cast<int>(row.id)] = s.*row.maximum;
  }
  return r;
}

void ApplyParamRanges(CalcSettings& s, const ParamRanges& r) {
  for (const ParamRow& row : PinningRows()) {
    s.*row.minimum = r.lo[static_cast<int>(row.id)];
    s.*row.maximum = r.hi[static_cast<int>(row.id)];
  }
}

const char* ParamRangeName(int i) {
  return i >= 0 && i < kPinningParamCount ? ParamRowOf(i).symbol : "";
}

std::string CheckParamRanges(const ParamRanges& r) {
  for (const ParamRow& row : PinningRows()) {
    const int i = static_cast<int>(row.id);
    if (!WithinLimits(row, r.lo[i])) return RefusalText(FillPattern(kMinimumOfPattern, row.symbol));
    // Equal bounds would leave the slider no scale to move on.
    if (!WithinLimits(row, r.hi[i]) || !(r.lo[i] < r.hi[i]))
      return RefusalText(FillPattern(kMaximumOfPattern, row.symbol));
  }
  return {};
}

std::string CheckParamValue(int i, double v) {
  if (i < 0 || i >= kFitParamCount) return RefusalText("");
  const ParamRow& row = ParamRowOf(i);
  return WithinLimits(row, v) ? std::string() : RefusalText(row.symbol);
}

}  // namespace zx
