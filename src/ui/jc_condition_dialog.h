// The Jc-B calculation settings: the J bracket of the
// critical-current search, the B range, the field criterion and the
// fineness of the B grid, which also fixes the search tolerance.
#pragma once

#include "ui/modeless_dialog.h"

class QLineEdit;
class QSlider;

namespace zx {

class JcConditionDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit JcConditionDialog(Shell& main);

 private:
  void OkClicked();

  QLineEdit* jIni_ = nullptr;
  QLineEdit* jFin_ = nullptr;
  QLineEdit* bIni_ = nullptr;
  QLineEdit* bFin_ = nullptr;
  QLineEdit* ec_ = nullptr;
  QSlider* level_ = nullptr;
  QLineEdit* levelText_ = nullptr;
};

}  // namespace zx
