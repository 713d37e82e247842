// The fit window's results: the fitted values, the quality of every
// condition, the minima found, the correlations, the warnings and the two
// plots; applying a minimum to the parameter panel.
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "design/fit_record.h"
#include "fit/fit_after.h"
#include "fit/fit_solver.h"
#include "fit/fit_usable.h"
#include "model/format.h"
#include "ui/fit_dialog.h"
#include "ui/fit_dialog_cells.h"
#include "ui/fit_plot_widget.h"
#include "ui/fit_record_keeper.h"
#include "ui/fit_warning_text.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

using namespace fit_cells;

namespace {

// Every number the model reads, so that a redraw is skipped only when
// nothing it depends on changed.
std::vector<double> ModelKey(const ModelParams& m) {
  return {m.Re_A_m,
          m.Sigma_2,
          m.Re_Gamma,
          m.Re_m,
          m.Re_g_2,
          m.T_c,
          m.B_c2_0,
          m.Rho_n_0,
          m.Length,
          m.Width,
          m.Thickness,
          m.Re_Zeta,
          m.E_c,
          m.E_cAllowableError,
          static_cast<double>(m.Tcn),
          static_cast<double>(m.Bcn),
          m.MiniE,
          m.MaxE,
          static_cast<double>(m.IntStepNum)};
}

QTableWidget* ResultTable(const char* name, QWidget* parent) {
  auto* t = new QTableWidget(0, 0, parent);
  t->setObjectName(QString::fromUtf8(name));
  t->verticalHeader()->hide();
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  return t;
}

}  // namespace

void FitDialog::BuildResultTables() {
  results_ = new QTabWidget(this);
  results_->setObjectName(QStringLiteral("fitResults"));

  auto* condPage = new QWidget(results_);
  auto* condLayout = new QVBoxLayout(condPage);
  conds_ = ResultTable("fitConds", condPage);
  QStringList condHeaders;
  for (const char* h : kCondHeaders) condHeaders << tr(h);
  conds_->setColumnCount(static_cast<int>(condHeaders.size()));
  conds_->setHorizontalHeaderLabels(condHeaders);
  conds_->setSelectionMode(QAbstractItemView::NoSelection);
  total_ = new QLabel(condPage);
  total_->setObjectName(QStringLiteral("fitTotal"));
  condLayout->addWidget(conds_);
  condLayout->addWidget(total_);
  results_->addTab(condPage, tr("条件ごとの結果"));

  minima_ = ResultTable("fitMinima", results_);
  minima_->setSelectionBehavior(QAbstractItemView::SelectRows);
  minima_->setSelectionMode(QAbstractItemView::SingleSelection);
  minima_->setToolTip(tr("行をクリックすると、その極小値の曲線を表示します (適用で採用)"));
  results_->addTab(minima_, tr("極小値"));

  corr_ = ResultTable("fitCorrelation", results_);
  corr_->verticalHeader()->show();
  corr_->setSelectionMode(QAbstractItemView::NoSelection);
  results_->addTab(corr_, tr("相関行列"));
}

std::vector<int> FitDialog::ListedParams() const {
  std::vector<int> ks;
  for (int k = 0; k < kFitParamCount; ++k)
    if (k < kPinningParamCount ||
        (outcome_ && outcome_->params[static_cast<std::size_t>(k)].state != ParamState::Fixed))
      ks.push_back(k);
  return ks;
}

void FitDialog::ClearResults() {
  filling_ = true;
  for (int r = 0; r < kFitParamCount; ++r)
    for (int c : {kFitted, kError, kBound}) {
      params_->item(r, c)->setText({});
      params_->item(r, c)->setBackground(QBrush());
    }
  filling_ = false;
  conds_->setRowCount(0);
  total_->clear();
  minima_->clear();
  minima_->setRowCount(0);
  minima_->setColumnCount(0);
  corr_->clear();
  corr_->setRowCount(0);
  corr_->setColumnCount(0);
  warnings_->clear();
  warnings_->hide();
  shownMinimum_ = -1;
}

void FitDialog::Finished(const FitOutcome& outcome, const FitQuality& quality,
                         const std::vector<ConditionCurves>& curves) {
  if (worker_.joinable()) worker_.join();
  // A change just before the end counts as much as one the watch saw.
  if (!registryChanged_ && !signature_.empty() && RegistrySignature() != signature_)
    registryChanged_ = true;
  outcome_ = outcome;
  quality_ = quality;
  SetRunning(false);
  ClearResults();
  shownMinimum_ = 0;
  ShowParameterResults(ValuesOf(outcome), true);
  ShowConditions(quality);
  ShowMinima();
  ShowCorrelations();
  ShowWarnings();
  ShowPlots(input_, relatedFiles_, curves);
  ModelParams shown = input_.params;
  SetParams(shown, ValuesOf(outcome));
  if (outcomeAllOrders_) {
    shown.Tcn = outcome.tcn;
    shown.Bcn = outcome.bcn;
  }
  shownKey_ = ModelKey(shown);
  shownSignature_ = signature_;

  QString text = outcome.stop == FitStop::Converged
                     ? tr("収束しました")
                     : tr("停止しました (%1)").arg(QString::fromStdString(outcome.reason));
  if (outcome.stop == FitStop::Cancelled) text = tr("中止しました");
  text += tr("   反復 %1   RMS %2 デケード   経過時間 %3 秒")
              .arg(outcome.iterations)
              .arg(Fix(quality.rms, 6))
              .arg(clock_.isValid() ? clock_.elapsed() / 1000.0 : 0.0, 0, 'f', 1);
  if (std::isfinite(outcome.merit)) text += tr("   評価値 %1").arg(Fix(outcome.merit, 6));
  if (outcome.minima.size() > 1) text += tr("   極小値 %1 個").arg(outcome.minima.size());
  if (outcomeAllOrders_)
    text += tr("   次数 (温度 %1, 磁場 %2)").arg(outcome.tcn + 1).arg(outcome.bcn + 1);
  status_->setText(text);
  // A fit of registries that have changed since belongs to none of them.
  apply_->setEnabled(!registryChanged_ && outcome.stop != FitStop::NothingToFit);
  save_->setEnabled(true);
  if (registryChanged_)
    ShowWarning(
        this,
        tr("データファイルまたは計算条件の登録が変更されたため、フィッティングを中止しました。"));
}

namespace {

// Where a value of a minimum other than the best lies within the fit's bounds.
ParamState StateAt(const FitParamOutcome& p, double value) {
  if (p.state == ParamState::Fixed) return ParamState::Fixed;
  const double tol = kBoundTolerance * (p.upper - p.lower);
  if (value <= p.lower + tol) return ParamState::Lower;
  if (value >= p.upper - tol) return ParamState::Upper;
  return ParamState::Free;
}

}  // namespace

void FitDialog::ShowParameterResults(const FitValues& values, bool best) {
  if (!outcome_) return;
  filling_ = true;
  for (int r = 0; r < kFitParamCount; ++r) {
    const FitParamOutcome& p = outcome_->params[static_cast<std::size_t>(r)];
    params_->item(r, kFitted)->setText(Plain(values[r]));
    // Errors belong to the best minimum only; any minimum may lie on a bound.
    const ParamState state = best ? p.state : StateAt(p, values[r]);
    params_->item(r, kError)->setText(best ? Plain(p.stdError, 4) : QString());
    const bool onBound = state == ParamState::Lower || state == ParamState::Upper;
    params_->item(r, kBound)->setText(state == ParamState::Lower   ? tr("下限")
                                      : state == ParamState::Upper ? tr("上限")
                                                                   : QString());
    const QBrush mark = onBound ? QBrush(QColor(255, 220, 160)) : QBrush();
    params_->item(r, kFitted)->setBackground(mark);
    params_->item(r, kBound)->setBackground(mark);
  }
  filling_ = false;
}

void FitDialog::ShowConditions(const FitQuality& quality) {
  conds_->setRowCount(static_cast<int>(quality.conditions.size()));
  const bool ej = input_.mode == CalcMode::EJ;
  for (std::size_t i = 0; i < quality.conditions.size(); ++i) {
    const ConditionQuality& q = quality.conditions[i];
    const ConditionData cd = i < input_.conditions.size() ? input_.conditions[i] : ConditionData{};
    const int related = i < relatedFiles_.size() ? relatedFiles_[i] : -1;
    const QStringList cells = {QString::number(q.no),
                               QString::number(cd.temp, 'g', 6),
                               ej ? QString::number(cd.field, 'g', 6) : QStringLiteral("-"),
                               QString::number(q.points),
                               Fix(q.rms, 6),
                               Plain(q.jcData, 5),
                               Plain(q.jcModel, 5),
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
  total_->setText(tr("全体: %1 点, RMS %2 デケード").arg(quality.points).arg(Fix(quality.rms, 6)));
}

void FitDialog::ShowMinima() {
  const std::vector<int> listed = ListedParams();
  QStringList headers = {QString(), QStringLiteral("RMS"), tr("到達数")};
  // The figure that ranks the minima comes last, so the other columns keep their places.
  const QString meritHeader = tr("評価値");
  for (int k : listed) headers << FitParamLabel(k);
  headers << meritHeader;
  minima_->clear();
  minima_->setColumnCount(static_cast<int>(headers.size()));
  minima_->setHorizontalHeaderLabels(headers);
  const std::vector<FitMinimum>& all = outcome_->minima;
  minima_->setRowCount(static_cast<int>(all.size()));
  for (std::size_t m = 0; m < all.size(); ++m) {
    QStringList cells = {m == 0 ? tr("★最良") : QString::number(m + 1), Fix(all[m].rms, 6),
                         QString::number(all[m].starts)};
    for (int k : listed) cells << Plain(all[m].values[static_cast<std::size_t>(k)]);
    cells << Fix(all[m].merit, 6);
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = ReadOnly(cells[c]);
      if (m == 0) {
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
      }
      minima_->setItem(static_cast<int>(m), c, item);
    }
  }
  if (!all.empty()) minima_->selectRow(0);
}

void FitDialog::ShowCorrelations() {
  const std::vector<int> listed = ListedParams();
  const int n = static_cast<int>(listed.size());
  QStringList names;
  for (int k : listed) names << FitParamLabel(k);
  corr_->clear();
  corr_->setRowCount(n);
  corr_->setColumnCount(n);
  corr_->setHorizontalHeaderLabels(names);
  corr_->setVerticalHeaderLabels(names);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const double r = outcome_->correlation[static_cast<std::size_t>(listed[i])]
                                            [static_cast<std::size_t>(listed[j])];
      // Blank where the correlation is not defined (fixed, degenerate).
      auto* item = ReadOnly(std::isfinite(r) ? QString::number(r, 'f', 3) : QString());
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      corr_->setItem(i, j, item);
    }
}

void FitDialog::ShowWarnings() {
  QStringList lines;
  bool degenerateNamed = false;
  for (const FitWarning& w : outcome_->warnings) {
    lines << FitWarningText(w);
    degenerateNamed = degenerateNamed || w.kind == FitWarningKind::Degenerate;
  }
  if (!degenerateNamed && !outcome_->degenerate.empty()) {
    // Named as the parameter table and the panel name them.
    FitWarning w{FitWarningKind::Degenerate, {}, {}};
    for (const std::string& n : outcome_->degenerate) w.params.push_back(FitParamIndex(n));
    lines << FitWarningText(w);
  }
  warnings_->setText(lines.join(QLatin1Char('\n')));
  warnings_->setVisible(!lines.isEmpty());
}

void FitDialog::ShowPlots(const FitInput& in, const std::vector<int>& related,
                          const std::vector<ConditionCurves>& curves) {
  const bool ej = in.mode == CalcMode::EJ;
  GraphView axes;
  ApplyModeAxes(axes, ej ? CalcMode::EJ : CalcMode::JcB);
  std::vector<PointSet> main, residuals;
  std::vector<PointBand> bands;
  std::vector<LegendEntry> legend;
  double xLo = INFINITY, xHi = -INFINITY;
  for (const ConditionCurves& cc : curves) {
    const std::size_t ci = static_cast<std::size_t>(cc.cond);
    if (ci >= in.conditions.size()) continue;
    const ConditionData& cd = in.conditions[ci];
    const int file = ci < related.size() ? related[ci] : -1;
    const Rgb dataColor = DataPalette[PaletteIndex(file)];
    const Rgb curveColor = CurvePalette[PaletteIndex(file)];
    main.push_back({MarkersOnly(dataColor), cd.x, cd.y});
    main.push_back({LineOnly(curveColor, LinePattern::Solid, 2), cc.modelX, cc.modelY});
    if (!cc.modelLower.empty() && cc.modelLower.size() == cc.modelX.size() &&
        cc.modelUpper.size() == cc.modelX.size())
      bands.push_back({BandFill(curveColor), cc.modelX, cc.modelLower, cc.modelUpper});
    QString text = QStringLiteral("No %1  %2 K").arg(cd.no).arg(cd.temp, 0, 'g', 6);
    if (ej) text += QStringLiteral("  %1 T").arg(cd.field, 0, 'g', 6);
    legend.push_back({text.toStdString(), dataColor, curveColor});
    residuals.push_back({MarkersOnly(dataColor), cc.residualX, cc.residualY});
    for (double x : cc.residualX) {
      xLo = std::min(xLo, x);
      xHi = std::max(xHi, x);
    }
  }
  if (xLo <= xHi) {
    residuals.push_back({LineOnly({0, 0, 0}), {xLo, xHi}, {0.0, 0.0}});
    // Keeps a visible scale when the residuals are all but zero.
    residuals.push_back({MarkersOnly({0, 0, 0}, 3, MarkerShape::None), {xLo, xHi}, {-1e-3, 1e-3}});
  }
  curvesPlot_->SetContent(axes, std::move(main), std::move(bands), std::move(legend));
  GraphView resAxes = axes;
  resAxes.Y.Type = AxisScale::Linear;
  resAxes.Y.Title = tr("log10(測定値/モデル)").toStdString();
  residualPlot_->SetContent(resAxes, std::move(residuals));
}

FitQuality FitDialog::ShowMinimum(int rank) {
  if (!outcome_ || Running() || rank < 0 || rank >= static_cast<int>(outcome_->minima.size()))
    return {};
  shownMinimum_ = rank;
  // The best is shown as the report gives it (its values may sit snapped onto a bound).
  const FitValues values = rank == 0 ? ValuesOf(*outcome_)
                                     : outcome_->minima[static_cast<std::size_t>(rank)].values;
  FitInput at = input_;
  if (outcomeAllOrders_) {
    at.params.Tcn = outcome_->tcn;
    at.params.Bcn = outcome_->bcn;
  }
  // The covariance, and with it the band, is that of the best minimum.
  const FitOutcome* band = rank == 0 ? &*outcome_ : nullptr;
  ShowParameterResults(values, rank == 0);
  const FitQuality quality = ReportAfterFit(input_, *outcome_, values, 0).quality;
  ShowConditions(quality);
  ShowPlots(at, relatedFiles_, FitCurves(at, values, kDenseCurvePoints, 0, band));
  SetParams(at.params, values);
  shownKey_ = ModelKey(at.params);
  if (minima_->currentRow() != rank) minima_->selectRow(rank);
  return quality;
}

void FitDialog::ShowModelNow() {
  if (Running()) return;
  Project snapshot = main_.project();
  snapshot.Params = PanelParams();
  const std::vector<double> key = ModelKey(snapshot.Params);
  const std::string signature = RegistrySignature();
  if (key == shownKey_ && signature == shownSignature_) return;
  const FitInput in = TakeFitInput(snapshot);
  std::vector<int> related;
  for (const CalcCondEntry& c : snapshot.CalcConds.items) related.push_back(c.RelatedDatFileNo);
  ShowPlots(in, related, FitCurves(in, ParamsOf(snapshot.Params)));
  shownKey_ = key;
  shownSignature_ = signature;
  // Before any fit the tables follow the model shown.
  if (!outcome_) {
    input_ = in;
    relatedFiles_ = related;
  }
}

void FitDialog::Apply() {
  if (!outcome_ || !main_.parameterPanel()) return;
  const bool haveMinimum =
      shownMinimum_ >= 0 && shownMinimum_ < static_cast<int>(outcome_->minima.size());
  const FitValues values = haveMinimum
                               ? outcome_->minima[static_cast<std::size_t>(shownMinimum_)].values
                               : ValuesOf(*outcome_);
  const ModelParams before = PanelParams();
  ModelParams m = before;
  FitValues typed = ParamsOf(m);
  // The sample's Tc and Bc2(0) change only when the fit moved them.
  for (std::size_t k = 0; k < kFitParamCount; ++k)
    if (static_cast<int>(k) < kPinningParamCount || outcome_->params[k].state != ParamState::Fixed)
      typed[k] = values[k];
  SetParams(m, typed);
  if (outcomeAllOrders_) {
    m.Tcn = outcome_->tcn;
    m.Bcn = outcome_->bcn;
  }
  beforeApply_ = before;
  main_.parameterPanel()->TypeFitValues(m);
  KeepAppliedRecord();
  undo_->setEnabled(true);
  ShowCurrentValues();
}

void FitDialog::Undo() {
  if (!beforeApply_ || !main_.parameterPanel()) return;
  main_.parameterPanel()->TypeFitValues(*beforeApply_);
  beforeApply_.reset();
  ForgetFitRecord(main_.document());
  undo_->setEnabled(false);
  ShowCurrentValues();
}

void FitDialog::KeepAppliedRecord() {
  // The covariance is the best minimum's: another one applied has no record.
  if (!outcome_ || shownMinimum_ > 0) {
    ForgetFitRecord(main_.document());
    return;
  }
  FitInput at = input_;
  at.params = main_.project().Params;
  std::vector<std::pair<int, int>> leftOut;
  KeepFitRecord(main_.document(), MakeFitRecord(UsablePoints(at, leftOut), *outcome_, Options(),
                                                quality_, main_.project().Params));
}

}  // namespace zx
