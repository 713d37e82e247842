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
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>

#include "fit/fit_after.h"
#include "fit/fit_solver.h"
#include "model/format.h"
#include "ui/dialog_helpers.h"
#include "ui/fit_dialog_cells.h"
#include "ui/fit_plot_widget.h"
#include "ui/modeless_dialog.h"
#include "ui/open_dialogs.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"
#include "ui/shell.h"
#include "ui/window_place.h"

namespace zx {

using namespace fit_cells;

// What the worker leaves for the window: the latest iterate, and whether a
// set of live curves is still on its way. The window reads it on its timer,
// so an iteration costs the fit no message to the window.
struct FitProgress {
  std::mutex mutex;
  FitIteration latest;
  bool any = false;
  std::chrono::steady_clock::time_point nextCurves{};
  std::atomic<bool> curvesPending{false};
};

namespace {

// Live plots are redrawn at most this often, and never so often that
// their curves take more than a twentieth of the fit's time: a curve set costs
// about as much as an iteration. They have fewer points than the final
// curves, which replace them.
constexpr auto kLivePlotInterval = std::chrono::milliseconds(200);
constexpr int kLiveCurveShare = 20;
constexpr int kLiveCurvePoints = 80;
constexpr int kWatchInterval = 100;  // ms, status line and registry watch

// What the worker hands the window once the fit ended.
struct WorkerResult {
  FitOutcome outcome;
  FitQuality quality;
  std::vector<ConditionCurves> curves;
};

// On the worker: the fit, its quality and its curves.
WorkerResult RunFitWork(const FitInput& input, const FitOptions& o,
                        const std::atomic<bool>& cancel) {
  WorkerResult r;
  r.outcome = RunFit(input, o);
  AddDroppedLinesWarning(input, r.outcome);
  if (r.outcome.stop == FitStop::NothingToFit) return r;
  // The result belongs to the orders the fit ended with.
  FitInput at = input;
  if (o.allOrders) {
    at.params.Tcn = r.outcome.tcn;
    at.params.Bcn = r.outcome.bcn;
  }
  r.quality = ReportAfterFit(input, r.outcome, ValuesOf(r.outcome), 0).quality;
  // A stopped fit ends where it was, not at a minimum, and Stop also
  // ends the slow band: its curves are drawn as the live ones, at once.
  if (r.outcome.stop != FitStop::Cancelled)
    r.curves = FitCurves(at, ValuesOf(r.outcome), kDenseCurvePoints, 0, &r.outcome, &cancel);
  if (r.outcome.stop == FitStop::Cancelled || cancel)
    r.curves = FitCurves(at, ValuesOf(r.outcome), kLiveCurvePoints);
  return r;
}

}  // namespace

void OpenFitDialog(Shell& main) {
  if (RaiseOpenWindow(main, DialogKind::Fit)) return;
  auto* d = new FitDialog(main);
  TrackOwnWindow(main, DialogKind::Fit, d);
  d->framePlace_ = PlaceBesideMainWindow(d, &main.widget(), QSize(1180, 720));
  ShowInFront(d);
  FocusFirstTabStop(d);
}

FitDialog::FitDialog(Shell& main)
    : QDialog(&main.widget()), main_(main), progress_(std::make_shared<FitProgress>()) {
  SetUpOwnWindow(this, DialogKind::Fit, tr("自動フィッティング"));
  // Parameters, options, buttons, status and results on the left; the
  // plots take the rest of the width.
  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(BuildParameterBox(left));
  leftLayout->addWidget(BuildOptionBox(left));
  leftLayout->addLayout(BuildButtonRow(left));
  BuildStatusLines(left, leftLayout);
  BuildResultTables();
  leftLayout->addWidget(results_, 1);
  QSplitter* plots = BuildPlots();

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->setChildrenCollapsible(false);
  split->addWidget(left);
  split->addWidget(plots);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  auto* top = new QVBoxLayout(this);
  top->addWidget(split);
  for (QWidget* w : findChildren<QWidget*>()) ApplyMenuFont(w);
  KeepParameterRowsInView();
  ConnectControls();

  SetRunning(false);
  apply_->setEnabled(false);
  undo_->setEnabled(false);
  save_->setEnabled(false);
  status_->setText(tr("フィット開始で、全条件に共通のパラメータを求めます。"));
  ShowModelNow();
}

QGroupBox* FitDialog::BuildParameterBox(QWidget* left) {
  auto* box = new QGroupBox(tr("パラメータ", "group box"), left);
  auto* layout = new QVBoxLayout(box);
  params_ = new QTableWidget(kFitParamCount, kParamColumns, box);
  params_->setObjectName(QStringLiteral("fitParams"));
  layout->addWidget(params_);
  BuildParameterTable();
  return box;
}

QGroupBox* FitDialog::BuildOptionBox(QWidget* left) {
  auto* box = new QGroupBox(tr("オプション"), left);
  auto* options = new QGridLayout(box);
  loss_ = new QComboBox(box);
  loss_->setObjectName(QStringLiteral("fitLoss"));
  loss_->addItems({tr("通常"), QStringLiteral("soft L1"), QStringLiteral("Cauchy")});
  lossScale_ = new QLineEdit(QStringLiteral("0.1"), box);
  lossScale_->setObjectName(QStringLiteral("fitLossScale"));
  weighting_ = new QComboBox(box);
  weighting_->setObjectName(QStringLiteral("fitWeighting"));
  weighting_->addItems({tr("条件ごとに均等"), tr("点ごとに均等")});
  starts_ = new QSpinBox(box);
  starts_->setObjectName(QStringLiteral("fitStarts"));
  starts_->setRange(1, 1000);
  starts_->setValue(FitOptions{}.starts);
  starts_->setToolTip(tr("1: 現在値からの1回のフィットのみ"));
  allOrders_ = new QCheckBox(tr("規格化温度・磁場の次数を4通りとも試す"), box);
  allOrders_->setObjectName(QStringLiteral("fitAllOrders"));
  options->addWidget(new QLabel(tr("損失関数"), box), 0, 0);
  options->addWidget(loss_, 0, 1);
  options->addWidget(new QLabel(tr("尺度(デケード)"), box), 0, 2);
  options->addWidget(lossScale_, 0, 3);
  options->addWidget(new QLabel(tr("重み付け"), box), 1, 0);
  options->addWidget(weighting_, 1, 1);
  options->addWidget(new QLabel(tr("開始点の数"), box), 1, 2);
  options->addWidget(starts_, 1, 3);
  options->addWidget(allOrders_, 2, 0, 1, 4);
  options->setColumnStretch(3, 1);
  return box;
}

QHBoxLayout* FitDialog::BuildButtonRow(QWidget* left) {
  auto* buttons = new QHBoxLayout;
  auto button = [&](const QString& text, const char* name) {
    auto* b = new QPushButton(text, left);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  start_ = button(tr("フィット開始"), "fitStart");
  start_->setDefault(true);
  stop_ = button(tr("中止"), "fitStop");
  apply_ = button(tr("適用"), "fitApply");
  undo_ = button(tr("元に戻す"), "fitUndo");
  save_ = button(tr("結果を保存"), "fitSave");
  imageFormat_ = new QComboBox(left);
  imageFormat_->setObjectName(QStringLiteral("fitImageFormat"));
  imageFormat_->addItems({QStringLiteral("PNG"), QStringLiteral("SVG")});
  buttons->addWidget(imageFormat_);
  return buttons;
}

void FitDialog::BuildStatusLines(QWidget* left, QVBoxLayout* leftLayout) {
  status_ = new QLabel(left);
  status_->setObjectName(QStringLiteral("fitStatus"));
  status_->setWordWrap(true);
  leftLayout->addWidget(status_);
  warnings_ = new QLabel(left);
  warnings_->setObjectName(QStringLiteral("fitWarnings"));
  warnings_->setWordWrap(true);
  warnings_->setStyleSheet(QStringLiteral("color: #d00000;"));
  warnings_->hide();
  leftLayout->addWidget(warnings_);
}

// The curves above the residuals.
QSplitter* FitDialog::BuildPlots() {
  auto* plots = new QSplitter(Qt::Vertical, this);
  plots->setChildrenCollapsible(false);
  curvesPlot_ = new FitPlotWidget(plots);
  curvesPlot_->setObjectName(QStringLiteral("fitCurves"));
  residualPlot_ = new FitPlotWidget(plots);
  residualPlot_->setObjectName(QStringLiteral("fitResiduals"));
  return plots;
}

// Every parameter row stays in view at the window's smallest size.
void FitDialog::KeepParameterRowsInView() {
  params_->resizeRowsToContents();
  int height = params_->horizontalHeader()->sizeHint().height() + 2 * params_->frameWidth();
  for (int r = 0; r < kFitParamCount; ++r) height += params_->rowHeight(r);
  params_->setMinimumHeight(height);
}

void FitDialog::ConnectControls() {
  connect(start_, &QPushButton::clicked, this, &FitDialog::StartFit);
  connect(stop_, &QPushButton::clicked, this, &FitDialog::StopFit);
  connect(apply_, &QPushButton::clicked, this, &FitDialog::Apply);
  connect(undo_, &QPushButton::clicked, this, &FitDialog::Undo);
  connect(save_, &QPushButton::clicked, this, &FitDialog::SaveClicked);
  connect(params_, &QTableWidget::cellChanged, this, &FitDialog::OnParameterItemChanged);
  connect(minima_, &QTableWidget::cellClicked, this, [this](int row, int) { ShowMinimum(row); });
  watch_ = new QTimer(this);
  watch_->setInterval(kWatchInterval);
  connect(watch_, &QTimer::timeout, this, &FitDialog::WatchRun);
  // Slider drags change the values many times a second: the model is
  // drawn once they rest for a moment.
  modelTimer_ = new QTimer(this);
  modelTimer_->setSingleShot(true);
  modelTimer_->setInterval(150);
  connect(modelTimer_, &QTimer::timeout, this, &FitDialog::ShowModelNow);
}

FitDialog::~FitDialog() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

bool FitDialog::event(QEvent* e) {
  // Ranges may have changed in the main window meanwhile.
  if (e->type() == QEvent::WindowActivate) {
    ShowCurrentValues();
    if (!Running()) ShowRanges();
  }
  return QDialog::event(e);
}

void FitDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // Qt makes every window with a parent a transient window of it, which
  // window managers keep above the main window.
  if (QWindow* w = windowHandle()) w->setTransientParent(nullptr);
  if (placed_ || framePlace_.isNull()) return;
  placed_ = true;
  // The frame is known only once the window manager has put it on, which
  // may take a while on a busy machine: looked at again later.
  QTimer::singleShot(200, this, [this] { KeepFrameAt(this, framePlace_); });
  QTimer::singleShot(1000, this, [this] { KeepFrameAt(this, frameGeometry()); });
}

void FitDialog::ProjectChanged(const DocChange& change) {
  ShowCurrentValues();
  if (change.kind == ChangeKind::SettingsChanged || change.kind == ChangeKind::ProjectReplaced)
    if (!Running()) ShowRanges();
  if (!Running()) modelTimer_->start();
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
  starts_->setEnabled(!running);
  allOrders_->setEnabled(!running);
  minima_->setEnabled(!running);
  save_->setEnabled(!running && outcome_.has_value());
  if (running) {
    apply_->setEnabled(false);
    modelTimer_->stop();
    watch_->start();
  } else {
    watch_->stop();
  }
}

void FitDialog::StartFit() {
  if (Running()) return;
  Project snapshot = main_.project();
  snapshot.Params = PanelParams();
  const FitOptions options = Options();
  ShowCurrentValues();
  ShowRanges();
  std::optional<FitInput> taken = CheckedInput(snapshot, options);
  if (!taken) return;
  input_ = std::move(*taken);
  BeginRun(snapshot, options);

  auto input = std::make_shared<const FitInput>(input_);
  FitOptions o = options;
  o.onIteration = IterationWatcher(input);
  worker_ = std::thread([this, input, o] {
    WorkerResult r = RunFitWork(*input, o, cancel_);
    QMetaObject::invokeMethod(
        this, [this, r = std::move(r)] { Finished(r.outcome, r.quality, r.curves); },
        Qt::QueuedConnection);
  });
}

std::optional<FitInput> FitDialog::CheckedInput(const Project& snapshot,
                                                const FitOptions& options) {
  const double scale = EditNumber(lossScale_->text());
  if (!(scale > 0) || !std::isfinite(scale)) {
    ShowWarning(this, tr("不正な値の入力 : 尺度"));
    return std::nullopt;
  }
  FitInput taken = TakeFitInput(snapshot);
  bool anyFree = false;
  for (bool f : options.fixed) anyFree = anyFree || !f;
  if (taken.UsedPoints() == 0 || !anyFree) {
    ShowWarning(this,
                taken.UsedPoints() == 0
                    ? tr("フィッティングできません : 使用できるデータ点がありません。")
                    : tr("フィッティングできません : すべてのパラメータが固定されています。"));
    return std::nullopt;
  }
  return taken;
}

void FitDialog::BeginRun(const Project& snapshot, const FitOptions& options) {
  relatedFiles_.clear();
  for (const CalcCondEntry& c : snapshot.CalcConds.items)
    relatedFiles_.push_back(c.RelatedDatFileNo);
  cancel_ = false;
  registryChanged_ = false;
  signature_ = RegistrySignature();
  outcome_.reset();
  outcomeAllOrders_ = options.allOrders;
  runStarts_ = options.starts;
  ClearResults();
  progress_ = std::make_shared<FitProgress>();
  clock_.start();
  SetRunning(true);
  ShowProgress();
}

// The worker only notes the iterate; curves for the live plots are made
// at most every kLivePlotInterval, and never while the last set is still
// waiting to be drawn.
std::function<bool(const FitIteration&)> FitDialog::IterationWatcher(
    std::shared_ptr<const FitInput> input) {
  return [this, input, progress = progress_](const FitIteration& it) {
    if (cancel_) return false;
    const auto now = std::chrono::steady_clock::now();
    bool curvesDue;
    {
      std::lock_guard<std::mutex> lock(progress->mutex);
      progress->latest = it;
      progress->any = true;
      curvesDue = !progress->curvesPending && now >= progress->nextCurves;
      if (curvesDue) progress->curvesPending = true;
    }
    if (curvesDue) SendLiveCurves(*input, it.values, now, *progress);
    return !cancel_;
  };
}

// On the worker: the curves of the iterate, queued for the window, and the
// time the next set is due.
void FitDialog::SendLiveCurves(const FitInput& input, const FitValues& values,
                               std::chrono::steady_clock::time_point now, FitProgress& progress) {
  std::vector<ConditionCurves> curves = FitCurves(input, values, kLiveCurvePoints);
  const auto done = std::chrono::steady_clock::now();
  {
    std::lock_guard<std::mutex> lock(progress.mutex);
    progress.nextCurves = now + std::max<std::chrono::steady_clock::duration>(
                                    kLivePlotInterval, (done - now) * kLiveCurveShare);
  }
  QMetaObject::invokeMethod(
      this, [this, curves = std::move(curves)]() mutable { ShowLiveCurves(std::move(curves)); },
      Qt::QueuedConnection);
}

void FitDialog::StopFit() {
  cancel_ = true;
  if (!Running()) return;
  // The workers stop at their next iteration; until the result is back
  // the window says that the stop was taken.
  stop_->setEnabled(false);
  ShowProgress();
}

void FitDialog::WatchRun() {
  if (Running() && !registryChanged_ && RegistrySignature() != signature_) {
    registryChanged_ = true;
    cancel_ = true;
  }
  ShowProgress();
}

void FitDialog::ShowProgress() {
  if (cancel_ && Running()) {
    status_->setText(tr("中止しています…"));
    return;
  }
  FitIteration it;
  bool any;
  {
    std::lock_guard<std::mutex> lock(progress_->mutex);
    it = progress_->latest;
    any = progress_->any;
  }
  QString text = tr("開始点 %1/%2   反復 %3   RMS %4 デケード")
                     .arg(any ? it.start + 1 : 1)
                     .arg(std::max(runStarts_, any ? it.start + 1 : 1))
                     .arg(it.iteration)
                     .arg(Fix(any ? it.rms : NAN, 6));
  if (any && std::isfinite(it.merit)) text += tr("   評価値 %1").arg(Fix(it.merit, 6));
  if (any && std::isfinite(it.bestMerit))
    text += tr("   最良の評価値 %1").arg(Fix(it.bestMerit, 6));
  text +=
      tr("   経過時間 %1 秒").arg(clock_.isValid() ? clock_.elapsed() / 1000.0 : 0.0, 0, 'f', 1);
  status_->setText(text);
  if (!any || !Running()) return;
  filling_ = true;
  for (int r = 0; r < kFitParamCount; ++r) params_->item(r, kFitted)->setText(Plain(it.values[r]));
  filling_ = false;
}

void FitDialog::ShowLiveCurves(std::vector<ConditionCurves> curves) {
  progress_->curvesPending = false;
  if (!Running()) return;
  ShowPlots(input_, relatedFiles_, curves);
}

}  // namespace zx
