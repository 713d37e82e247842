// Axis settings: for each axis linear or logarithmic scale,
// and automatic scaling or a manual minimum and maximum.
#pragma once

#include "model/document.h"
#include "model/graph_view.h"
#include "ui/modeless_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace zx {

class AxisDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit AxisDialog(Shell& main);

 private:
  struct AxisControls {
    QComboBox* type = nullptr;
    QCheckBox* autoScale = nullptr;
    QLineEdit* min = nullptr;
    QLineEdit* max = nullptr;
  };
  // The axis's controls are named after `prefix` ("x": xAxisGroup,
  // xScaleCombo, xAutoScaleCheck, xMinEdit, ...).
  AxisControls BuildAxis(const QString& title, const QString& autoText, const QString& prefix,
                         AxisScale type, bool autoScale);
  // Shows the effective range of the axis (`x` or Y).
  void ShowRange(const AxisControls& c, bool x);
  // Reads one axis into `a`; false (with its message shown) when a bound is
  // refused, `a` then holding what was read before it.
  bool ReadAxis(const AxisControls& c, bool x, AxisSettings& a);
  void OkClicked();

  AxisControls x_, y_;
};

}  // namespace zx
