// The calculation status dialog: a note, a progress bar and
// a cancel button, shown while a full calculation runs.
#pragma once

#include "ui/modeless_dialog.h"

class QProgressBar;

namespace zx {

class StatusDialog : public ModelessDialog {
  Q_OBJECT

 public:
  StatusDialog(Shell& main, QWidget* owner);

  // Progress in thousandths of the points to compute.
  void SetProgress(int permille);
  // The calculation has ended: the dialog closes itself.
  void Finish();

 signals:
  // The user asked to stop (cancel button, close box or Escape).
  void CancelRequested();

 private:
  QProgressBar* bar_ = nullptr;
};

}  // namespace zx
