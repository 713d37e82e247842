// Columns, headers and cell texts shared by the fit window's files.
#pragma once

#include <QColor>
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
    "パラメータ", "現在値", "固定", "最小値", "最大値", "フィット値", "標準誤差", "境界"};
inline const char* const kCondHeaders[] = {
    "No", "T(K)", "B(T)", "点数", "RMS", "Jc(データ)", "Jc(モデル)", "n(データ)", "n(モデル)"};

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
