#include "ui/fit_warning_text.h"

#include <QCoreApplication>
#include <QStringList>

#include "model/param_table.h"

namespace zx {

QString FitParamLabel(int index) {
  if (index < 0 || index >= kFitParamCount) return {};
  return QString::fromUtf8(ParamRowOf(index).symbol);
}

QString FitWarningText(const FitWarning& w) {
  QStringList names;
  for (int k : w.params) names << FitParamLabel(k);
  QStringList conds;
  for (auto [no, points] : w.conditions)
    conds << QCoreApplication::translate("zx::FitWarningText", "No %1 (%2 点)").arg(no).arg(points);
  const QString list = names.join(QStringLiteral(", "));
  switch (w.kind) {
    case FitWarningKind::StartClamped:
      return QCoreApplication::translate("zx::FitWarningText",
                                         "範囲外の開始値を範囲内に移したパラメータ: ") +
             list;
    case FitWarningKind::Bound:
      return QCoreApplication::translate("zx::FitWarningText", "範囲の境界で止まったパラメータ: ") +
             list;
    case FitWarningKind::Degenerate:
      return QCoreApplication::translate("zx::FitWarningText", "区別できないパラメータ: ") + list;
    case FitWarningKind::NoModelValue:
      return QCoreApplication::translate("zx::FitWarningText", "モデル値のない点を除いた条件: ") +
             conds.join(QStringLiteral(", "));
    case FitWarningKind::TooFewPoints:
      return QCoreApplication::translate(
          "zx::FitWarningText",
          "データ点がフリーパラメータより少ないため、フィッティングできません。");
    case FitWarningKind::EqualBounds:
      return QCoreApplication::translate("zx::FitWarningText",
                                         "最小値と最大値が等しいため固定したパラメータ: ") +
             list;
    case FitWarningKind::NotConverged:
      return QCoreApplication::translate("zx::FitWarningText", "収束していません。");
    case FitWarningKind::StartsCapped:
      return QCoreApplication::translate(
          "zx::FitWarningText",
          "開始点の上限に達しました。最良の極小値が見つかっていない可能性があります。");
    case FitWarningKind::DroppedLines: {
      QStringList lines;
      for (std::size_t i = 0; i < w.conditions.size(); ++i) {
        const bool finite = i < w.reasons.size() && w.reasons[i] == DropReason::NotPositive;
        lines << (finite
                      ? QCoreApplication::translate("zx::FitWarningText", "No %1 (%2 行, 0 以下)")
                      : QCoreApplication::translate("zx::FitWarningText",
                                                    "No %1 (%2 行, 有限でない値)"))
                     .arg(w.conditions[i].first)
                     .arg(w.conditions[i].second);
      }
      return QCoreApplication::translate("zx::FitWarningText", "データファイルから除いた行: ") +
             lines.join(QStringLiteral(", "));
    }
  }
  return {};
}

}  // namespace zx
