#include "ui/full_calculation.h"

#include <QMetaObject>

#include "ui/core_text.h"
#include "ui/dialog_helpers.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"
#include "ui/shell.h"
#include "ui/status_dialog.h"

namespace zx {

FullCalculation::FullCalculation(Shell& main) : QObject(&main.widget()), main_(main) {
  setObjectName(QStringLiteral("fullCalculation"));
  main.calculating() = true;
  ParameterPanel* panel = main.parameterPanel();
  dialog_ = new StatusDialog(main, panel ? static_cast<QWidget*>(panel) : &main.widget());
  connect(dialog_, &StatusDialog::CancelRequested, this, &FullCalculation::Cancel);
  CenterOnMainWindow(dialog_, &main.widget());
  if (panel) {
    panel->SetCalculationRunning(true);
    panel->ReadPanelValues();
  }
  // The pass reads only this snapshot, so the project stays editable.
  input_ = TakeFullCalcInput(main.project());
  worker_ = std::thread([this] { Run(); });
}

FullCalculation::~FullCalculation() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

void FullCalculation::Run() {
  FullCalcHooks hooks;
  hooks.cancel = &cancel_;
  hooks.progress = [this](const FullCalcProgress& p) {
    if (p.pointsTotal <= 0) return;
    const int permille = static_cast<int>(p.pointsDone * 1000 / p.pointsTotal);
    // One hand-over per visible step keeps the window thread's queue short.
    if (lastPermille_.exchange(permille) == permille) return;
    QMetaObject::invokeMethod(
        this, [this, permille] { OnProgress(permille); }, Qt::QueuedConnection);
  };
  hooks.writeFailed = [this](const std::string& message, const std::string&) {
    const QString text = CoreText(message);
    QMetaObject::invokeMethod(
        this, [this, text] { OnWriteFailed(text); }, Qt::QueuedConnection);
  };
  const FullCalcOutcome outcome = RunFullCalculation(input_, hooks);
  QMetaObject::invokeMethod(
      this, [this, outcome] { OnFinished(outcome); }, Qt::QueuedConnection);
}

void FullCalculation::OnProgress(int permille) {
  if (dialog_) dialog_->SetProgress(permille);
}

void FullCalculation::OnWriteFailed(const QString& message) {
  pendingMessages_.append(message);
  ShowPendingMessages();
}

void FullCalculation::ShowPendingMessages() {
  // Message boxes run a nested loop: show one at a time, never inside another.
  if (showingMessage_) return;
  showingMessage_ = true;
  QPointer<FullCalculation> guard(this);
  while (!pendingMessages_.isEmpty()) {
    const QString text = pendingMessages_.takeFirst();
    ParameterPanel* panel = main_.parameterPanel();
    ShowWarning(panel ? static_cast<QWidget*>(panel) : &main_.widget(), text);
    if (!guard) return;
  }
  showingMessage_ = false;
  DeleteWhenIdle();
}

void FullCalculation::OnFinished(FullCalcOutcome) {
  if (worker_.joinable()) worker_.join();
  finished_ = true;
  main_.calculating() = false;
  if (ParameterPanel* panel = main_.parameterPanel()) panel->SetCalculationRunning(false);
  if (dialog_) dialog_->Finish();
  emit Ended();
  DeleteWhenIdle();
}

void FullCalculation::Abort() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
  if (!finished_) {
    finished_ = true;
    main_.calculating() = false;
    if (ParameterPanel* panel = main_.parameterPanel()) panel->SetCalculationRunning(false);
    if (dialog_) dialog_->Finish();
  }
  pendingMessages_.clear();
  if (!showingMessage_) delete this;
  // Otherwise the message loop below us returns into this object; it
  // deletes itself there once the box is closed.
}

void FullCalculation::DeleteWhenIdle() {
  if (finished_ && !showingMessage_) deleteLater();
}

}  // namespace zx
