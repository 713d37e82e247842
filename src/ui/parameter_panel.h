// The parameter panel: pinning parameters with sliders, sample properties,
// scaling-law orders, integration intervals, start and finish buttons.
#pragma once

#include <QWidget>

namespace zx {

class MainWindow;

class ParameterPanel : public QWidget {
  Q_OBJECT

 public:
  ParameterPanel(MainWindow& main, QWidget* parent);

  // Puts the project's values into the controls.
  void ShowProjectInPanel();
  // Copies the controls' contents into the project's model parameters.
  void ReadPanelValues();
  // Disables (or enables again) the panel's controls while a full
  // calculation runs; the sliders stay enabled.
  void SetCalculationRunning(bool running);
  // The start button (also command 40009).
  void ClickStart();

 private:
  MainWindow& main_;
};

}  // namespace zx
