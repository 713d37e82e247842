// The fit window's tables: parameters with their bounds, options, and the
// quality of every condition.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <algorithm>

#include "model/document.h"
#include "model/format.h"
#include "ui/dialog_helpers.h"
#include "ui/fit_dialog.h"
#include "ui/fit_dialog_cells.h"
#include "ui/flagged_dialog.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

using namespace fit_cells;

void FitDialog::BuildParameterTable() {
  filling_ = true;
  QStringList headers;
  for (const char* h : kParamHeaders) headers << QString::fromUtf8(h);
  params_->setHorizontalHeaderLabels(headers);
  params_->verticalHeader()->hide();
  params_->setSelectionMode(QAbstractItemView::NoSelection);
  params_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
  for (int r = 0; r < 5; ++r) {
    params_->setItem(r, kName, ReadOnly(QString::fromUtf8(ParamRangeName(r))));
    auto* fixed = new QTableWidgetItem;
    fixed->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    fixed->setCheckState(Qt::Unchecked);
    params_->setItem(r, kFixed, fixed);
    for (int c : {kCurrent, kFitted, kError, kBound}) params_->setItem(r, c, ReadOnly({}));
    for (int c : {kLower, kUpper}) params_->setItem(r, c, new QTableWidgetItem);
  }
  params_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  params_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  filling_ = false;
  ShowCurrentValues();
  ShowRanges();
}

void FitDialog::ShowCurrentValues() {
  filling_ = true;
  std::array<double, 5> v{};
  if (main_.parameterPanel()) {
    v = main_.parameterPanel()->PinValues();
  } else {
    const FitValues all = ParamsOf(main_.project().Params);
    std::copy_n(all.begin(), v.size(), v.begin());
  }
  for (int r = 0; r < 5; ++r)
    params_->item(r, kCurrent)->setText(QString::fromStdString(FormatSci(v[r], 6)));
  filling_ = false;
}

void FitDialog::ShowRanges() {
  filling_ = true;
  const ParamRanges ranges = ParamRangesOf(main_.project().Settings);
  for (int r = 0; r < 5; ++r) {
    params_->item(r, kLower)->setText(QString::fromStdString(FormatSci(ranges.lo[r], 6)));
    params_->item(r, kUpper)->setText(QString::fromStdString(FormatSci(ranges.hi[r], 6)));
  }
  filling_ = false;
}

void FitDialog::OnParameterItemChanged(int row, int column) {
  if (filling_ || (column != kLower && column != kUpper)) return;
  ParamRanges ranges = ParamRangesOf(main_.project().Settings);
  const double v = EditNumber(params_->item(row, column)->text());
  (column == kLower ? ranges.lo : ranges.hi)[row] = v;
  if (const std::string refused = SetParamRanges(main_.document(), ranges); !refused.empty()) {
    // The message of the range dialog; the cell goes back to the range.
    ShowRanges();
    ShowWarning(this, QString::fromStdString(refused));
    return;
  }
  ShowRanges();
}

FitOptions FitDialog::Options() const {
  FitOptions o;
  for (int r = 0; r < 5; ++r)
    o.fixed[static_cast<std::size_t>(r)] = params_->item(r, kFixed)->checkState() == Qt::Checked;
  o.loss = static_cast<LossKind>(loss_->currentIndex());
  const double scale = EditNumber(lossScale_->text());
  o.lossScale = scale > 0 && std::isfinite(scale) ? scale : 0.1;
  o.weighting = weighting_->currentIndex() == 1 ? Weighting::PerPoint : Weighting::PerCondition;
  return o;
}

QString FitDialog::OptionsText() const {
  const FitOptions o = Options();
  QString fixed;
  for (int k = 0; k < kFitParamCount; ++k)
    if (o.fixed[static_cast<std::size_t>(k)])
      fixed += (fixed.isEmpty() ? "" : ",") + QString::fromUtf8(FitParamName(k));
  return QStringLiteral("損失関数 %1 (尺度 %2 デケード), 重み付け %3, 固定 %4")
      .arg(loss_->currentText())
      .arg(o.lossScale)
      .arg(weighting_->currentText())
      .arg(fixed.isEmpty() ? QStringLiteral("なし") : fixed);
}

void FitDialog::ShowConditions(const FitQuality& quality) {
  conds_->setRowCount(static_cast<int>(quality.conditions.size()));
  const bool ej = input_.mode == CalcMode::EJ;
  for (std::size_t i = 0; i < quality.conditions.size(); ++i) {
    const ConditionQuality& q = quality.conditions[i];
    const ConditionData& cd = input_.conditions[i];
    const int related = i < relatedFiles_.size() ? relatedFiles_[i] : -1;
    const QStringList cells = {QString::number(q.no),
                               QString::number(cd.temp, 'g', 6),
                               ej ? QString::number(cd.field, 'g', 6) : QStringLiteral("-"),
                               QString::number(q.points),
                               Fix(q.rms, 6),
                               Sci(q.jcData, 4),
                               Sci(q.jcModel, 4),
                               Fix(q.nData, 2),
                               Fix(q.nModel, 2)};
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = ReadOnly(cells[c]);
      // The condition's colour as the calculation-condition list shows it.
      item->setBackground(ToQColor(CurvePalette[PaletteIndex(related)]));
      item->setForeground(Qt::white);
      conds_->setItem(static_cast<int>(i), c, item);
    }
  }
  total_->setText(
      QStringLiteral("全体: %1 点, RMS %2 デケード").arg(quality.points).arg(Fix(quality.rms, 6)));
}

}  // namespace zx
