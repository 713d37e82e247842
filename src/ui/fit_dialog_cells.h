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

inline QTableWidgetItem* ReadOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace zx::fit_cells
