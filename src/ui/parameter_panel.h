// The parameter panel: pinning parameters with sliders, sample properties,
// scaling-law orders, integration intervals, start and finish buttons.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <map>
#include <vector>

#include "model/project.h"
#include "ui/slider_scale.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace zx {

class Shell;

// The controls that a running calculation disables, in creation order of
// their kind; the five sliders are not among them.
inline constexpr std::array<int, 38> PanelControlIds = {
    1045, 1027, 1020, 1042, 1019, 1015, 1046, 1007, 1009, 1008, 1010, 1047, 1011,
    1012, 1013, 1040, 1032, 1033, 1034, 1035, 1014, 1016, 1017, 1018, 1021, 1028,
    1029, 1030, 1031, 1037, 1038, 1039, 1044, 1041, 1043, 1036, 1048, 1049};

class ParameterPanel : public QWidget {
  Q_OBJECT

 public:
  ParameterPanel(Shell& main, QWidget* parent);

  // Puts the project's values into the controls.
  void ShowProjectInPanel();
  // Copies the controls' contents into the project's model parameters.
  void ReadPanelValues();
  void ReadPanelValuesInto(ModelParams& m) const;
  // Disables (or enables again) the panel's controls while a full
  // calculation runs; the sliders stay enabled.
  void SetCalculationRunning(bool running);
  // The five pinning parameters as the panel holds them (Am, σ^2, γ, m, g^2).
  std::array<double, 5> PinValues() const;
  // Puts values into the five pinning-parameter edits as if typed there:
  // sliders follow, the project is marked modified and the graph redrawn.
  void TypePinValues(const std::array<double, 5>& values);
  // As TypePinValues, for every value a fit may change: the five pinning
  // parameters, Tc, Bc2(0) and the two scaling-law orders, taken from `m`.
  void TypeFitValues(const ModelParams& m);
  // The start button (also command 40009).
  void ClickStart();
  // The finish button: save question, then the program ends.
  void ClickFinish();

  // Moves every slider to the place of the value its edit shows, after a
  // change of the ranges; the values stay as they are.
  void PlaceSliders();

  // The control with the given id (objectName "ctl<id>"), or nullptr.
  QWidget* Control(int id) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // A numeric edit. While it still shows the text the program wrote from
  // the project, the project's value is read back instead of the shortened
  // text, so that showing a project never changes its numbers.
  struct NumberEdit {
    QLineEdit* edit = nullptr;
    double ModelParams::*field = nullptr;
    QString programText;
    double programValue = 0.0;
    bool programOwned = false;
  };
  struct PinParameter {
    QSlider* slider = nullptr;
    int editIndex = 0;  // into numberEdits_
    SliderScale scale = SliderScale::Linear;
    double CalcSettings::*min = nullptr;
    double CalcSettings::*max = nullptr;
  };

  void BuildControls();
  void Register(int id, QWidget* control);
  void ShowNumber(NumberEdit& e, double value);
  double ReadNumber(const NumberEdit& e) const;
  int PositionFor(const PinParameter& pin, double value) const;
  void OnSliderMoved(int pinIndex, int position);
  void OnEditTextChanged(int id);
  void OnOrderChanged();
  // Refuses a step count below one when the edit is left.
  void CheckStepCount();

  Shell& main_;
  std::map<int, QWidget*> controls_;
  std::vector<NumberEdit> numberEdits_;
  std::vector<PinParameter> pins_;
  QLineEdit* sampleName_ = nullptr;
  QLineEdit* intStepNum_ = nullptr;
  QComboBox* tcn_ = nullptr;
  QComboBox* bcn_ = nullptr;
  QPushButton* start_ = nullptr;
  // Set while the panel writes its own controls, so that their change
  // signals are not taken for the user's.
  bool showing_ = false;
};

}  // namespace zx
