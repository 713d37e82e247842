// Switching between E-J and Jc-B calculation. Registered
// data files and conditions belong to one mode, so a switch clears them
// after asking.
#pragma once

#include "ui/modeless_dialog.h"

class QRadioButton;

namespace zx {

class ModeDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit ModeDialog(Shell& main);

 private:
  void OkClicked();

  QRadioButton* ej_ = nullptr;
  QRadioButton* jcb_ = nullptr;
};

}  // namespace zx
