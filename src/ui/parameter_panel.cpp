#include "ui/parameter_panel.h"

#include "app/main_window.h"
#include "ui/dialogs.h"

namespace zx {

// Minimal version; the full panel replaces it.
ParameterPanel::ParameterPanel(MainWindow& main, QWidget* parent) : QWidget(parent), main_(main) {
  setGeometry(470, 0, 330, 536);
}

void ParameterPanel::ShowProjectInPanel() {}
void ParameterPanel::ReadPanelValues() {}
void ParameterPanel::SetCalculationRunning(bool) {}
void ParameterPanel::ClickStart() { StartFullCalculation(main_); }

}  // namespace zx
