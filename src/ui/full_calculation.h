// One full calculation: the pass runs on a worker thread over a snapshot of
// the project taken at the start, while the window keeps working. Progress,
// file failures and the end are handed back to the window thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <atomic>
#include <thread>

#include "calc/full_pass.h"

namespace zx {

class Shell;
class StatusDialog;

class FullCalculation : public QObject {
  Q_OBJECT

 public:
  // Takes the snapshot, disables the panel, shows the status dialog and
  // starts the worker. The object deletes itself when the pass has ended
  // and its messages have been shown.
  explicit FullCalculation(Shell& main);
  // Stops the pass before its next condition and waits for the worker.
  ~FullCalculation() override;

  // Asks the pass to stop before its next condition.
  void Cancel() { cancel_ = true; }
  // Cancels, waits for the worker and ends at once (the window is going
  // away); messages not yet shown are dropped. Deletes the object.
  void Abort();
  bool Finished() const { return finished_; }

 signals:
  void Ended();

 private:
  void Run();
  void OnProgress(int permille);
  void OnWriteFailed(const QString& message);
  void OnFinished(FullCalcOutcome outcome);
  void ShowPendingMessages();
  void DeleteWhenIdle();

  Shell& main_;
  FullCalcInput input_;
  std::atomic<bool> cancel_{false};
  std::atomic<int> lastPermille_{-1};
  std::thread worker_;
  QPointer<StatusDialog> dialog_;
  QStringList pendingMessages_;
  bool finished_ = false;
  bool showingMessage_ = false;
};

}  // namespace zx
