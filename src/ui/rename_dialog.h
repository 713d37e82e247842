// Changing the path of a registered data file. The lists
// panel hands it the entry to rename; a hand-over while it is open
// re-targets it.
#pragma once

#include <cstdint>

#include "ui/modeless_dialog.h"

class QLineEdit;

namespace zx {

class RenameDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit RenameDialog(Shell& main);

  // Edits the data file numbered `no` from now on and shows its path.
  void Target(int no);
  // The entry being edited; 0 when none.
  std::uint64_t TargetUid() const { return uid_; }

 private:
  void Browse();
  void ChangeClicked();

  QLineEdit* path_ = nullptr;
  std::uint64_t uid_ = 0;
};

}  // namespace zx
