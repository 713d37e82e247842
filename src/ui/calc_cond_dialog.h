// Registration of a calculation condition: the condition and
// the curve series that draws it.
#pragma once

#include <memory>

#include "ui/calc_cond_fields.h"
#include "ui/modeless_dialog.h"

namespace zx {

class CalcCondDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit CalcCondDialog(Shell& main);
  ~CalcCondDialog() override;

 private:
  void RegisterClicked();

  std::unique_ptr<CalcCondFields> fields_;
};

}  // namespace zx
