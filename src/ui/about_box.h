// The about box: the program icon, its name and version, and an OK button.
#pragma once

#include "ui/modeless_dialog.h"

namespace zx {

class AboutBox : public ModelessDialog {
  Q_OBJECT

 public:
  explicit AboutBox(Shell& main);
};

}  // namespace zx
