// The settable ranges of the five pinning-parameter sliders.
#pragma once

#include <array>

#include "ui/modeless_dialog.h"

class QLineEdit;

namespace zx {

class ParamRangeDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit ParamRangeDialog(Shell& main);

 private:
  void OkClicked();

  std::array<QLineEdit*, 5> min_{};
  std::array<QLineEdit*, 5> max_{};
};

}  // namespace zx
