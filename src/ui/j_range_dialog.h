// The J range and the fineness of the E-J grid.
#pragma once

#include "ui/modeless_dialog.h"

class QLineEdit;
class QSlider;

namespace zx {

class JRangeDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit JRangeDialog(Shell& main);

 private:
  void OkClicked();

  QLineEdit* jIni_ = nullptr;
  QLineEdit* jFin_ = nullptr;
  QSlider* level_ = nullptr;
  QLineEdit* levelText_ = nullptr;
};

}  // namespace zx
