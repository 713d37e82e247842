// The parameter panel: pinning parameters with sliders, sample properties,
// scaling-law orders, integration intervals, start and finish buttons.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <map>
#include <vector>

#include "model/param_table.h"
#include "model/project.h"
#include "ui/slider_scale.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace zx {

class Shell;
struct PanelField;

// The controls that a running calculation disables, in creation order of
// their kind; the five sliders are not among them.
inline constexpr std::array<const char*, 38> PanelControlNames = {
    "pinGroup",       "amLabel",       "sigma2Label",     "gammaLabel",      "mLabel",
    "g2Label",        "propertyGroup", "tcLabel",         "rhonLabel",       "bc20Label",
    "zetaLabel",      "sizeGroup",     "sampleNameLabel", "lengthLabel",     "widthLabel",
    "thicknessLabel", "otherGroup",    "tempOrderLabel",  "fieldOrderLabel", "intStepLabel",
    "amEdit",         "sigma2Edit",    "gammaEdit",       "mEdit",           "g2Edit",
    "tcEdit",         "rhonEdit",      "bc20Edit",        "zetaEdit",        "sampleNameEdit",
    "lengthEdit",     "widthEdit",     "thicknessEdit",   "tempOrderCombo",  "fieldOrderCombo",
    "intStepEdit",    "startButton",   "finishButton"};

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

  // The control with the given object name ("amEdit"), or nullptr.
  QWidget* Control(const QString& name) const;

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
    int editIndex = 0;              // into numberEdits_
    const ParamRow* row = nullptr;  // its scale and stored range
  };

  void BuildControls();
  // The steps of BuildControls: a group box (returns the next one's top),
  // a label, an edit, a number edit (returns its index), the groups' rows.
  int AddGroup(const char* name, const char* title, int y, int rows);
  void AddLabel(const QString& name, const QString& text, const QString& tip, const QRect& at);
  QLineEdit* AddLineEdit(const QString& name, const QString& tip, const QRect& at);
  int AddNumberEdit(const PanelField& d, const QRect& at);
  void BuildPins(int top);
  void BuildFieldPairs(const std::vector<PanelField>& defs, int top, int firstRow);
  void BuildSampleName(int top);
  QComboBox* AddOrder(const char* labelName, const char* comboName, const QString& text, int y);
  void BuildOtherGroup(int top);
  void BuildButtons(int top);
  void Register(const QString& name, QWidget* control);
  void ShowNumber(NumberEdit& e, double value);
  double ReadNumber(const NumberEdit& e) const;
  int PositionFor(const PinParameter& pin, double value) const;
  void OnSliderMoved(int pinIndex, int position);
  void OnEditTextChanged(const QWidget* edit);
  void OnOrderChanged();
  // Refuses a step count below one when the edit is left.
  void CheckStepCount();

  Shell& main_;
  std::map<QString, QWidget*> controls_;
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
