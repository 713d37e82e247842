// Changing a registered calculation condition in place. The
// lists panel hands it the condition; a hand-over while it is open
// re-targets it.
#pragma once

#include <cstdint>
#include <memory>

#include "ui/calc_cond_fields.h"
#include "ui/modeless_dialog.h"

namespace zx {

class CalcCondChangeDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit CalcCondChangeDialog(Shell& main);
  ~CalcCondChangeDialog() override;

  // Edits the condition numbered `no` from now on and shows its values.
  void Target(int no);
  std::uint64_t TargetUid() const { return uid_; }

 private:
  void OkClicked();

  std::unique_ptr<CalcCondFields> fields_;
  std::uint64_t uid_ = 0;
};

}  // namespace zx
