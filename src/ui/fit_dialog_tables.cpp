// The fit window's parameter table and options: current values, what stays
// fixed, the bounds (the project's ranges; Tc and Bc2(0) of the fit alone).
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>

#include "fit/fit_solver.h"
#include "model/document.h"
#include "model/format.h"
#include "model/validation.h"
#include "ui/core_text.h"
#include "ui/dialog_helpers.h"
#include "ui/fit_dialog.h"
#include "ui/fit_dialog_cells.h"
#include "ui/fit_warning_text.h"
#include "ui/modeless_dialog.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

using namespace fit_cells;

namespace {

constexpr int kTcRow = static_cast<int>(FitParam::Tc);
constexpr int kBc2Row = static_cast<int>(FitParam::Bc2);

}  // namespace

void FitDialog::BuildParameterTable() {
  filling_ = true;
  QStringList headers;
  for (const char* h : kParamHeaders) headers << tr(h);
  params_->setHorizontalHeaderLabels(headers);
  params_->verticalHeader()->hide();
  params_->setSelectionMode(QAbstractItemView::NoSelection);
  params_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
  for (int r = 0; r < kFitParamCount; ++r) {
    params_->setItem(r, kName, ReadOnly(FitParamLabel(r)));
    auto* fixed = new QTableWidgetItem;
    fixed->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    // Tc and Bc2(0) are the sample's: they move only when asked to.
    fixed->setCheckState(r < kPinningParamCount ? Qt::Unchecked : Qt::Checked);
    params_->setItem(r, kFixed, fixed);
    for (int c : {kCurrent, kFitted, kError, kBound}) params_->setItem(r, c, ReadOnly({}));
    for (int c : {kLower, kUpper}) params_->setItem(r, c, new QTableWidgetItem);
  }
  for (int r : {kTcRow, kBc2Row})
    for (int c : {kLower, kUpper})
      params_->item(r, c)->setToolTip(
          tr("空欄: 既定値 (Tc ±10 %、ただし測定温度の最高値の 1.005 倍以上; Bc2(0) ×/÷ 3)"));
  params_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  params_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  filling_ = false;
  ShowCurrentValues();
  ShowRanges();
}

ModelParams FitDialog::PanelParams() const {
  ModelParams m = main_.project().Params;
  if (main_.parameterPanel()) main_.parameterPanel()->ReadPanelValuesInto(m);
  return m;
}

void FitDialog::ShowCurrentValues() {
  const FitValues v = ParamsOf(PanelParams());
  filling_ = true;
  for (int r = 0; r < kFitParamCount; ++r) params_->item(r, kCurrent)->setText(Plain(v[r]));
  // Untyped bounds of Tc and Bc2(0) follow the values.
  for (int r : {kTcRow, kBc2Row}) {
    const std::array<double, 2>& typed = r == kTcRow ? tcBounds_ : bc2Bounds_;
    const std::array<double, 2> fallback = DefaultRange(static_cast<FitParam>(r), v[r], input_);
    for (int side = 0; side < 2; ++side) {
      QTableWidgetItem* item = params_->item(r, side == 0 ? kLower : kUpper);
      const bool own = !std::isnan(typed[side]);
      item->setText(Plain(own ? typed[side] : fallback[side]));
      item->setForeground(own ? QBrush() : QBrush(QColor(128, 128, 128)));
    }
  }
  filling_ = false;
}

void FitDialog::ShowRanges() {
  filling_ = true;
  const ParamRanges ranges = ParamRangesOf(main_.project().Settings);
  for (int r = 0; r < kPinningParamCount; ++r) {
    params_->item(r, kLower)->setText(Plain(ranges.lo[r]));
    params_->item(r, kUpper)->setText(Plain(ranges.hi[r]));
  }
  filling_ = false;
  ShowCurrentValues();
}

void FitDialog::OnParameterItemChanged(int row, int column) {
  if (filling_ || (column != kLower && column != kUpper)) return;
  const QString text = params_->item(row, column)->text().trimmed();
  if (row >= kPinningParamCount) {
    TypeFitBound(row, column == kLower ? 0 : 1, text);
    return;
  }
  ParamRanges ranges = ParamRangesOf(main_.project().Settings);
  (column == kLower ? ranges.lo : ranges.hi)[row] = EditNumber(text);
  if (const std::string refused = SetParamRanges(main_.document(), ranges); !refused.empty()) {
    // The message of the range dialog; the cell goes back to the range.
    ShowRanges();
    ShowWarning(this, QString::fromStdString(refused));
    return;
  }
  ShowRanges();
}

void FitDialog::TypeFitBound(int row, int side, const QString& text) {
  const double v = EditNumber(text);
  std::array<double, 2>& typed = row == kTcRow ? tcBounds_ : bc2Bounds_;
  std::array<double, 2> next = typed;
  next[side] = text.isEmpty() ? NAN : v;
  const std::array<double, 2> fallback = DefaultRange(
      static_cast<FitParam>(row), ParamsOf(PanelParams())[static_cast<std::size_t>(row)], input_);
  const double lo = std::isnan(next[0]) ? fallback[0] : next[0];
  const double hi = std::isnan(next[1]) ? fallback[1] : next[1];
  const bool usable = text.isEmpty() || (v > 0 && std::isfinite(v));
  if (!usable || !(lo < hi)) {
    ShowCurrentValues();
    const char* bound = side == 0 ? kMinimumOfPattern : kMaximumOfPattern;
    ShowWarning(this, CoreText(RefusalText(FillPattern(bound, FitParamLabel(row).toStdString()))));
    return;
  }
  typed = next;
  ShowCurrentValues();
}

FitOptions FitDialog::Options() const {
  FitOptions o;
  for (int r = 0; r < kFitParamCount; ++r)
    o.fixed[static_cast<std::size_t>(r)] = params_->item(r, kFixed)->checkState() == Qt::Checked;
  o.loss = static_cast<LossKind>(loss_->currentIndex());
  const double scale = EditNumber(lossScale_->text());
  o.lossScale = scale > 0 && std::isfinite(scale) ? scale : 0.1;
  o.weighting = weighting_->currentIndex() == 1 ? Weighting::PerPoint : Weighting::PerCondition;
  o.starts = starts_->value();
  o.allOrders = allOrders_->isChecked();
  At(o.lower, FitParam::Tc) = tcBounds_[0];
  At(o.upper, FitParam::Tc) = tcBounds_[1];
  At(o.lower, FitParam::Bc2) = bc2Bounds_[0];
  At(o.upper, FitParam::Bc2) = bc2Bounds_[1];
  return o;
}

QString FitDialog::OptionsText() const {
  const FitOptions o = Options();
  QString fixed;
  for (int k = 0; k < kFitParamCount; ++k)
    if (o.fixed[static_cast<std::size_t>(k)])
      fixed += (fixed.isEmpty() ? "" : ",") + QString::fromUtf8(FitParamName(k));
  QString text = tr("損失関数 %1 (尺度 %2 デケード), 重み付け %3, 開始点 %4, 固定 %5")
                     .arg(loss_->currentText())
                     .arg(o.lossScale)
                     .arg(weighting_->currentText())
                     .arg(o.starts)
                     .arg(fixed.isEmpty() ? tr("なし") : fixed);
  if (o.allOrders) text += tr(", 次数 4通り");
  return text;
}

}  // namespace zx
