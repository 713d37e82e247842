#include "ui/fit_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>

#include "fit/fit_solver.h"
#include "model/document.h"
#include "model/format.h"
#include "ui/dialog_helpers.h"
#include "ui/fit_dialog_cells.h"
#include "ui/fit_plot_widget.h"
#include "ui/flagged_dialog.h"
#include "ui/open_dialogs.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

using namespace fit_cells;

void OpenFitDialog(Shell& main) {
  if (QDialog* open = main.dialogs().Find(DialogKind::Fit)) {
    open->show();
    open->raise();
    open->activateWindow();
    return;
  }
  auto* d = new FitDialog(main);
  main.dialogs().Opened(DialogKind::Fit, d);
  QObject::connect(d, &QDialog::finished, d,
                   [&main, d] { main.dialogs().Ended(DialogKind::Fit, d); });
  const QRect screen =
      main.widget().screen() ? main.widget().screen()->availableGeometry() : QRect(0, 0, 1280, 800);
  d->resize(std::min(1180, screen.width() - 40), std::min(720, screen.height() - 60));
  CenterOnMainWindow(d, &main.widget());
  // Larger than the main window: kept on the screen.
  const QRect f = d->frameGeometry();
  d->move(std::clamp(f.left(), screen.left(), std::max(screen.left(), screen.right() - f.width())),
          std::clamp(f.top(), screen.top(), std::max(screen.top(), screen.bottom() - f.height())));
}

FitDialog::FitDialog(Shell& main) : QDialog(&main.widget()), main_(main) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("dlgFit"));
  setWindowTitle(QStringLiteral("自動フィッティング"));
  setModal(false);
  setSizeGripEnabled(true);
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);

  auto* paramBox = new QGroupBox(QStringLiteral("ピンパラメータ"), left);
  auto* paramLayout = new QVBoxLayout(paramBox);
  params_ = new QTableWidget(5, kParamColumns, paramBox);
  params_->setObjectName(QStringLiteral("fitParams"));
  paramLayout->addWidget(params_);
  leftLayout->addWidget(paramBox);
  BuildParameterTable();

  auto* optionBox = new QGroupBox(QStringLiteral("オプション"), left);
  auto* options = new QGridLayout(optionBox);
  loss_ = new QComboBox(optionBox);
  loss_->setObjectName(QStringLiteral("fitLoss"));
  loss_->addItems({QStringLiteral("通常"), QStringLiteral("soft L1"), QStringLiteral("Cauchy")});
  lossScale_ = new QLineEdit(QStringLiteral("0.1"), optionBox);
  lossScale_->setObjectName(QStringLiteral("fitLossScale"));
  weighting_ = new QComboBox(optionBox);
  weighting_->setObjectName(QStringLiteral("fitWeighting"));
  weighting_->addItems({QStringLiteral("条件ごとに均等"), QStringLiteral("点ごとに均等")});
  options->addWidget(new QLabel(QStringLiteral("損失関数"), optionBox), 0, 0);
  options->addWidget(loss_, 0, 1);
  options->addWidget(new QLabel(QStringLiteral("尺度(デケード)"), optionBox), 0, 2);
  options->addWidget(lossScale_, 0, 3);
  options->addWidget(new QLabel(QStringLiteral("重み付け"), optionBox), 1, 0);
  options->addWidget(weighting_, 1, 1);
  leftLayout->addWidget(optionBox);

  auto* buttons = new QHBoxLayout;
  auto button = [&](const char* text, const char* name) {
    auto* b = new QPushButton(QString::fromUtf8(text), left);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  start_ = button("フィット開始", "fitStart");
  start_->setDefault(true);
  stop_ = button("中止", "fitStop");
  apply_ = button("適用", "fitApply");
  undo_ = button("元に戻す", "fitUndo");
  save_ = button("結果を保存", "fitSave");
  imageFormat_ = new QComboBox(left);
  imageFormat_->setObjectName(QStringLiteral("fitImageFormat"));
  imageFormat_->addItems({QStringLiteral("PNG"), QStringLiteral("SVG")});
  buttons->addWidget(imageFormat_);
  leftLayout->addLayout(buttons);

  status_ = new QLabel(left);
  status_->setObjectName(QStringLiteral("fitStatus"));
  leftLayout->addWidget(status_);

  auto* condBox = new QGroupBox(QStringLiteral("条件ごとの結果"), left);
  auto* condLayout = new QVBoxLayout(condBox);
  conds_ = new QTableWidget(0, static_cast<int>(std::size(kCondHeaders)), condBox);
  conds_->setObjectName(QStringLiteral("fitConds"));
  QStringList condHeaders;
  for (const char* h : kCondHeaders) condHeaders << QString::fromUtf8(h);
  conds_->setHorizontalHeaderLabels(condHeaders);
  conds_->verticalHeader()->hide();
  conds_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  conds_->setSelectionMode(QAbstractItemView::NoSelection);
  conds_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  total_ = new QLabel(condBox);
  total_->setObjectName(QStringLiteral("fitTotal"));
  condLayout->addWidget(conds_);
  condLayout->addWidget(total_);
  leftLayout->addWidget(condBox, 1);

  auto* plots = new QSplitter(Qt::Vertical, this);
  curvesPlot_ = new FitPlotWidget(plots);
  curvesPlot_->setObjectName(QStringLiteral("fitCurves"));
  residualPlot_ = new FitPlotWidget(plots);
  residualPlot_->setObjectName(QStringLiteral("fitResiduals"));

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(left);
  split->addWidget(plots);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  auto* top = new QVBoxLayout(this);
  top->addWidget(split);
  for (QWidget* w : findChildren<QWidget*>()) ApplyMenuFont(w);

  connect(start_, &QPushButton::clicked, this, &FitDialog::StartFit);
  connect(stop_, &QPushButton::clicked, this, &FitDialog::StopFit);
  connect(apply_, &QPushButton::clicked, this, &FitDialog::Apply);
  connect(undo_, &QPushButton::clicked, this, &FitDialog::Undo);
  connect(save_, &QPushButton::clicked, this, &FitDialog::SaveClicked);
  connect(params_, &QTableWidget::cellChanged, this, &FitDialog::OnParameterItemChanged);
  watch_ = new QTimer(this);
  watch_->setInterval(100);
  connect(watch_, &QTimer::timeout, this, &FitDialog::WatchRun);

  SetRunning(false);
  apply_->setEnabled(false);
  undo_->setEnabled(false);
  save_->setEnabled(false);
  status_->setText(QStringLiteral("フィット開始で、全条件に共通のパラメータを求めます。"));
}

FitDialog::~FitDialog() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

bool FitDialog::event(QEvent* e) {
  // Values and ranges may have changed in the main window meanwhile.
  if (e->type() == QEvent::WindowActivate && !Running()) {
    ShowCurrentValues();
    ShowRanges();
  }
  return QDialog::event(e);
}

std::string FitDialog::RegistrySignature() const {
  const Project& p = main_.project();
  std::string s = std::to_string(static_cast<int>(p.Settings.Mode)) + "\n";
  for (const RegistryEntry& e : p.DataFiles.items) s += "D" + std::to_string(e.No) + e.Path + "\n";
  for (const RegistryEntry& e : p.CalcConds.items)
    s += "C" + std::to_string(e.No) + " " + std::to_string(e.RelatedDatFileNo) + " " +
         FormatLe(e.Temp) + " " + FormatLe(e.MagField) + "\n";
  return s;
}

void FitDialog::SetRunning(bool running) {
  start_->setEnabled(!running);
  stop_->setEnabled(running);
  params_->setEnabled(!running);
  loss_->setEnabled(!running);
  lossScale_->setEnabled(!running);
  weighting_->setEnabled(!running);
  save_->setEnabled(!running && outcome_.has_value());
  if (running) {
    apply_->setEnabled(false);
    watch_->start();
  } else {
    watch_->stop();
  }
}

void FitDialog::StartFit() {
  if (Running()) return;
  Project snapshot = main_.project();
  if (main_.parameterPanel()) main_.parameterPanel()->ReadPanelValuesInto(snapshot.Params);
  input_ = TakeFitInput(snapshot);
  relatedFiles_.clear();
  for (const CalcCondEntry& c : snapshot.CalcConds.items)
    relatedFiles_.push_back(c.RelatedDatFileNo);
  const FitOptions options = Options();
  ShowCurrentValues();
  ShowRanges();

  const double scale = EditNumber(lossScale_->text());
  if (!(scale > 0) || !std::isfinite(scale)) {
    ShowWarning(this, QStringLiteral("不正な値の入力 : 尺度"));
    return;
  }
  bool anyFree = false;
  for (bool f : options.fixed) anyFree = anyFree || !f;
  if (input_.UsedPoints() == 0 || !anyFree) {
    ShowWarning(
        this,
        input_.UsedPoints() == 0
            ? QStringLiteral("フィッティングできません : 使用できるデータ点がありません。")
            : QStringLiteral("フィッティングできません : すべてのパラメータが固定されています。"));
    return;
  }

  cancel_ = false;
  registryChanged_ = false;
  signature_ = RegistrySignature();
  iteration_ = 0;
  rms_ = NAN;
  outcome_.reset();
  clock_.start();
  SetRunning(true);
  WatchRun();

  auto input = std::make_shared<const FitInput>(input_);
  FitOptions o = options;
  o.onIteration = [this, input](const FitIteration& it) {
    if (cancel_) return false;
    auto curves = FitCurves(*input, it.values);
    QMetaObject::invokeMethod(
        this, [this, it, curves = std::move(curves)] { ShowIteration(it, curves); },
        Qt::QueuedConnection);
    return !cancel_;
  };
  worker_ = std::thread([this, input, o] {
    const FitOutcome outcome = RunFit(*input, o);
    FitValues values;
    for (std::size_t k = 0; k < kFitParamCount; ++k) values[k] = outcome.params[k].value;
    FitQuality quality;
    std::vector<ConditionCurves> curves;
    if (outcome.stop != FitStop::NothingToFit) {
      quality = EvaluateQuality(*input, values, 0);
      curves = FitCurves(*input, values);
    }
    QMetaObject::invokeMethod(
        this,
        [this, outcome, quality = std::move(quality), curves = std::move(curves)] {
          Finished(outcome, quality, curves);
        },
        Qt::QueuedConnection);
  });
}

void FitDialog::StopFit() { cancel_ = true; }

void FitDialog::WatchRun() {
  if (Running() && !registryChanged_ && RegistrySignature() != signature_) {
    registryChanged_ = true;
    cancel_ = true;
  }
  status_->setText(QStringLiteral("反復 %1   RMS %2 デケード   経過時間 %3 秒")
                       .arg(iteration_)
                       .arg(Fix(rms_, 6))
                       .arg(clock_.isValid() ? clock_.elapsed() / 1000.0 : 0.0, 0, 'f', 1));
}

void FitDialog::ShowIteration(const FitIteration& it, const std::vector<ConditionCurves>& curves) {
  if (!Running()) return;
  iteration_ = it.iteration;
  rms_ = it.rms;
  filling_ = true;
  for (int r = 0; r < 5; ++r)
    params_->item(r, kFitted)->setText(QString::fromStdString(FormatSci(it.values[r], 6)));
  filling_ = false;
  ShowPlots(curves);
  WatchRun();
}

void FitDialog::Finished(const FitOutcome& outcome, const FitQuality& quality,
                         const std::vector<ConditionCurves>& curves) {
  if (worker_.joinable()) worker_.join();
  // A change just before the end counts as much as one the watch saw.
  if (!registryChanged_ && RegistrySignature() != signature_) registryChanged_ = true;
  WatchRun();
  iteration_ = outcome.iterations;
  outcome_ = outcome;
  quality_ = quality;
  SetRunning(false);
  filling_ = true;
  for (int r = 0; r < 5; ++r) {
    const FitParamOutcome& p = outcome.params[static_cast<std::size_t>(r)];
    params_->item(r, kFitted)->setText(QString::fromStdString(FormatSci(p.value, 6)));
    params_->item(r, kError)->setText(Sci(p.stdError, 3));
    const bool onBound = p.state == ParamState::Lower || p.state == ParamState::Upper;
    params_->item(r, kBound)->setText(p.state == ParamState::Lower   ? QStringLiteral("下限")
                                      : p.state == ParamState::Upper ? QStringLiteral("上限")
                                                                     : QString());
    const QBrush mark = onBound ? QBrush(QColor(255, 220, 160)) : QBrush();
    params_->item(r, kFitted)->setBackground(mark);
    params_->item(r, kBound)->setBackground(mark);
  }
  filling_ = false;
  ShowConditions(quality);
  ShowPlots(curves);

  QString text =
      outcome.stop == FitStop::Converged
          ? QStringLiteral("収束しました")
          : QStringLiteral("停止しました (%1)").arg(QString::fromStdString(outcome.reason));
  if (outcome.stop == FitStop::Cancelled) text = QStringLiteral("中止しました");
  status_->setText(QStringLiteral("%1   反復 %2   RMS %3 デケード   経過時間 %4 秒")
                       .arg(text)
                       .arg(outcome.iterations)
                       .arg(Fix(quality.rms, 6))
                       .arg(clock_.elapsed() / 1000.0, 0, 'f', 1));
  if (!outcome.degenerate.empty()) {
    QString names;
    // Named as the parameter table and the panel name them.
    for (const std::string& n : outcome.degenerate) {
      const int k = FitParamIndex(n);
      names += (names.isEmpty() ? "" : ", ") +
               (k >= 0 ? QString::fromUtf8(ParamRangeName(k)) : QString::fromStdString(n));
    }
    status_->setText(status_->text() + QStringLiteral("   区別できないパラメータ: ") + names);
  }
  // A fit of registries that have changed since belongs to none of them.
  apply_->setEnabled(!registryChanged_);
  if (registryChanged_)
    ShowWarning(
        this,
        QStringLiteral(
            "データファイルまたは計算条件の登録が変更されたため、フィッティングを中止しました。"));
}

void FitDialog::ShowPlots(const std::vector<ConditionCurves>& curves) {
  const bool ej = input_.mode == CalcMode::EJ;
  GraphView axes;
  ApplyModeAxes(axes, ej ? CalcMode::EJ : CalcMode::JcB);
  std::vector<PointSet> main, residuals;
  double xLo = INFINITY, xHi = -INFINITY;
  for (const ConditionCurves& cc : curves) {
    const ConditionData& cd = input_.conditions[static_cast<std::size_t>(cc.cond)];
    const int related = static_cast<std::size_t>(cc.cond) < relatedFiles_.size()
                            ? relatedFiles_[static_cast<std::size_t>(cc.cond)]
                            : -1;
    const Rgb dataColor = DataPalette[PaletteIndex(related)];
    main.push_back({MarkersOnly(dataColor), cd.x, cd.y});
    main.push_back({LineOnly(CurvePalette[PaletteIndex(related)], LinePattern::Solid, 2), cc.modelX,
                    cc.modelY});
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
  curvesPlot_->SetContent(axes, std::move(main));
  GraphView resAxes = axes;
  resAxes.Y.Type = AxisScale::Linear;
  resAxes.Y.Title = "log10(測定値/モデル)";
  residualPlot_->SetContent(resAxes, std::move(residuals));
}

void FitDialog::Apply() {
  if (!outcome_ || !main_.parameterPanel()) return;
  std::array<double, 5> values;
  for (std::size_t k = 0; k < 5; ++k) values[k] = outcome_->params[k].value;
  beforeApply_ = main_.parameterPanel()->PinValues();
  main_.parameterPanel()->TypePinValues(values);
  undo_->setEnabled(true);
  ShowCurrentValues();
}

void FitDialog::Undo() {
  if (!beforeApply_ || !main_.parameterPanel()) return;
  main_.parameterPanel()->TypePinValues(*beforeApply_);
  beforeApply_.reset();
  undo_->setEnabled(false);
  ShowCurrentValues();
}

}  // namespace zx
