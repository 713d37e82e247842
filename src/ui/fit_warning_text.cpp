#include "ui/fit_warning_text.h"

#include <QStringList>

#include "model/validation.h"

namespace zx {

QString FitParamLabel(int index) {
  if (index >= 0 && index < kPinningParamCount) return QString::fromUtf8(ParamRangeName(index));
  if (index == static_cast<int>(FitParam::Tc)) return QStringLiteral("Tc");
  if (index == static_cast<int>(FitParam::Bc2)) return QStringLiteral("Bc2(0)");
  return QString::fromUtf8(FitParamName(index));
}

QString FitWarningText(const FitWarning& w) {
  QStringList names;
  for (int k : w.params) names << FitParamLabel(k);
  QStringList conds;
  for (auto [no, points] : w.conditions)
    conds << QStringLiteral("No %1 (%2 点)").arg(no).arg(points);
  const QString list = names.join(QStringLiteral(", "));
  switch (w.kind) {
    case FitWarningKind::StartClamped:
      return QStringLiteral("範囲外の開始値を範囲内に移したパラメータ: ") + list;
    case FitWarningKind::Bound:
      return QStringLiteral("範囲の境界で止まったパラメータ: ") + list;
    case FitWarningKind::Degenerate:
      return QStringLiteral("区別できないパラメータ: ") + list;
    case FitWarningKind::NoModelValue:
      return QStringLiteral("モデル値のない点を除いた条件: ") + conds.join(QStringLiteral(", "));
    case FitWarningKind::TooFewPoints:
      return QStringLiteral("データ点がフリーパラメータより少ないため、フィッティングできません。");
    case FitWarningKind::EqualBounds:
      return QStringLiteral("最小値と最大値が等しいため固定したパラメータ: ") + list;
    case FitWarningKind::NotConverged:
      return QStringLiteral("収束していません。");
  }
  return {};
}

}  // namespace zx
