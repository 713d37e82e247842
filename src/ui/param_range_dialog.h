// The settable ranges of the five pinning-parameter sliders.
#pragma once

#include <array>

#include "model/param_table.h"
#include "ui/modeless_dialog.h"

class QLineEdit;

namespace zx {

class ParamRangeDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit ParamRangeDialog(Shell& main);

 private:
  void OkClicked();

  std::array<QLineEdit*, kPinningParamCount> min_{};
  std::array<QLineEdit*, kPinningParamCount> max_{};
};

}  // namespace zx
