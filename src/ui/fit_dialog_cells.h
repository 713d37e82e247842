// Columns, headers and cell texts shared by the fit window's files.
#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QString>
#include <QTableWidgetItem>
#include <cmath>

#include "model/graph_view.h"

namespace zx::fit_cells {

// Columns of the parameter table.
enum ParamColumn {
  kName,
  kCurrent,
  kFixed,
  kLower,
  kUpper,
  kFitted,
  kError,
  kBound,
  kParamColumns
};

inline const char* const kParamHeaders[kParamColumns] = {
    QT_TRANSLATE_NOOP("zx::FitDialog", "パラメータ"),
    QT_TRANSLATE_NOOP("zx::FitDialog", "現在値"),
    QT_TRANSLATE_NOOP("zx::FitDialog", "固定"),
    QT_TRANSLATE_NOOP("zx::FitDialog", "最小値"),
    QT_TRANSLATE_NOOP("zx::FitDialog", "最大値"),
    QT_TRANSLATE_NOOP("zx::FitDialog", "フィット値"),
    QT_TRANSLATE_NOOP("zx::FitDialog", "標準誤差"),
    QT_TRANSLATE_NOOP("zx::FitDialog", "境界")};
inline const char* const kCondHeaders[] = {"No",
                                           "T(K)",
                                           "B(T)",
                                           QT_TRANSLATE_NOOP("zx::FitDialog", "点数"),
                                           "RMS",
                                           QT_TRANSLATE_NOOP("zx::FitDialog", "Jc(データ)"),
                                           QT_TRANSLATE_NOOP("zx::FitDialog", "Jc(モデル)"),
                                           QT_TRANSLATE_NOOP("zx::FitDialog", "n(データ)"),
                                           QT_TRANSLATE_NOOP("zx::FitDialog", "n(モデル)")};

// "-" stands for a value that does not exist.
inline QString Sci(double v, int decimals) {
  return std::isnan(v) ? QStringLiteral("-") : QString::number(v, 'e', decimals);
}
inline QString Fix(double v, int decimals) {
  return std::isnan(v) ? QStringLiteral("-") : QString::number(v, 'f', decimals);
}

// A number as a person writes it: 0.75, 10, 0.08, in scientific notation
// (1.25e9, 3e-7) only below 1e-4 and from 1e6 on, with the significant
// digits the value carries, at most `digits`.
inline QString Plain(double v, int digits = 7) {
  if (std::isnan(v)) return QStringLiteral("-");
  const double a = std::fabs(v);
  if (a == 0 || (a >= 1e-4 && a < 1e6) || !std::isfinite(v)) return QString::number(v, 'g', digits);
  const QString e = QString::number(v, 'e', digits - 1);  // "1.250000e+09"
  const qsizetype at = e.indexOf(QLatin1Char('e'));
  QString mantissa = e.left(at);
  if (mantissa.contains(QLatin1Char('.'))) {
    while (mantissa.endsWith(QLatin1Char('0'))) mantissa.chop(1);
    if (mantissa.endsWith(QLatin1Char('.'))) mantissa.chop(1);
  }
  return mantissa + QLatin1Char('e') + QString::number(e.mid(at + 1).toInt());
}

inline QTableWidgetItem* ReadOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace zx::fit_cells
