// The about box: the program icon and an OK button.
#pragma once

#include "ui/flagged_dialog.h"

namespace zx {

class AboutBox : public FlaggedDialog {
  Q_OBJECT

 public:
  explicit AboutBox(Shell& main);
};

}  // namespace zx
