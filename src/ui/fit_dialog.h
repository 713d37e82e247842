// The automatic fit window: parameters with their bounds, options, a fit
// on a worker thread with live progress, per-condition results, the minima
// found, the correlations, the two plots, and applying a result to the
// parameter panel.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fit/fit_curves.h"
#include "fit/fit_quality.h"
#include "fit/fit_types.h"
#include "model/document.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QTimer;
class QVBoxLayout;

namespace zx {

class Shell;
class FitPlotWidget;
struct FitProgress;

// Opens the window, or brings the open one to the front.
void OpenFitDialog(Shell& main);

class FitDialog : public QDialog {
  Q_OBJECT
  friend void OpenFitDialog(Shell& main);

 public:
  explicit FitDialog(Shell& main);
  ~FitDialog() override;

  void StartFit();
  void StopFit();
  void Apply();
  void Undo();
  // Writes the report to `path` and the plots next to it; the refusal or
  // failure message, empty on success.
  QString SaveResults(const QString& path);
  bool Running() const { return worker_.joinable(); }
  // The last finished fit, if any.
  const std::optional<FitOutcome>& Outcome() const { return outcome_; }
  // Shows a finished fit as if the worker had delivered it.
  void Finished(const FitOutcome& outcome, const FitQuality& quality,
                const std::vector<ConditionCurves>& curves);
  // Shows the minimum of that rank (0: the best) in the tables and plots;
  // Apply then takes its values. The result is the quality shown.
  FitQuality ShowMinimum(int rank);
  int ShownMinimum() const { return shownMinimum_; }
  // The main window's project changed: values, ranges or registries.
  void ProjectChanged(const DocChange& change);
  // Draws the model at the panel's values now, when no fit runs.
  void ShowModelNow();
  FitOptions Options() const;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  // The window's parts, built in the order of its tab chain.
  QGroupBox* BuildParameterBox(QWidget* left);
  QGroupBox* BuildOptionBox(QWidget* left);
  QHBoxLayout* BuildButtonRow(QWidget* left);
  void BuildStatusLines(QWidget* left, QVBoxLayout* leftLayout);
  QSplitter* BuildPlots();
  void KeepParameterRowsInView();
  void ConnectControls();
  void BuildParameterTable();
  void BuildResultTables();
  ModelParams PanelParams() const;
  void ShowCurrentValues();
  void ShowRanges();
  void OnParameterItemChanged(int row, int column);
  // A bound of Tc or Bc2(0) typed in the table (side 0: the minimum); empty
  // stands for the fit's default.
  void TypeFitBound(int row, int side, const QString& text);
  void SetRunning(bool running);
  // The input of a fit, or nothing (with the warning shown) when no fit can run.
  std::optional<FitInput> CheckedInput(const Project& snapshot, const FitOptions& options);
  void BeginRun(const Project& snapshot, const FitOptions& options);
  std::function<bool(const FitIteration&)> IterationWatcher(std::shared_ptr<const FitInput> input);
  void SendLiveCurves(const FitInput& input, const FitValues& values,
                      std::chrono::steady_clock::time_point now, FitProgress& progress);
  void ClearResults();
  void WatchRun();
  void ShowProgress();
  void ShowLiveCurves(std::vector<ConditionCurves> curves);
  // The fitted values of the best minimum or of another one (no errors).
  void ShowParameterResults(const FitValues& values, bool best);
  void ShowConditions(const FitQuality& quality);
  void ShowMinima();
  void ShowCorrelations();
  void ShowWarnings();
  void ShowPlots(const FitInput& in, const std::vector<int>& related,
                 const std::vector<ConditionCurves>& curves);
  void SaveClicked();
  // The record of the applied result, written beside the project by its next save.
  void KeepAppliedRecord();
  std::string RegistrySignature() const;
  QString OptionsText() const;
  // The parameters the result tables list: the five pinning parameters,
  // then Tc and Bc2(0) when the fit moved them.
  std::vector<int> ListedParams() const;

  Shell& main_;
  QTableWidget* params_ = nullptr;
  QTableWidget* conds_ = nullptr;
  QTableWidget* minima_ = nullptr;
  QTableWidget* corr_ = nullptr;
  QTabWidget* results_ = nullptr;
  QComboBox* loss_ = nullptr;
  QLineEdit* lossScale_ = nullptr;
  QComboBox* weighting_ = nullptr;
  QSpinBox* starts_ = nullptr;
  QCheckBox* allOrders_ = nullptr;
  QComboBox* imageFormat_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* undo_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* warnings_ = nullptr;
  QLabel* total_ = nullptr;
  FitPlotWidget* curvesPlot_ = nullptr;
  FitPlotWidget* residualPlot_ = nullptr;
  QTimer* watch_ = nullptr;
  QTimer* modelTimer_ = nullptr;

  bool filling_ = false;  // the dialog writes its own table cells
  bool placed_ = false;
  QRect framePlace_;  // where the frame was meant to go when opened
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::shared_ptr<FitProgress> progress_;
  bool registryChanged_ = false;
  std::string signature_;
  QElapsedTimer clock_;
  int runStarts_ = 1;

  // Bounds of Tc and Bc2(0) typed in the table; NaN: the fit's defaults.
  std::array<double, 2> tcBounds_{NAN, NAN}, bc2Bounds_{NAN, NAN};

  FitInput input_;                 // of the running or last fit, or of the model shown
  std::vector<int> relatedFiles_;  // data file of each condition, for colours
  // What the model curves shown were drawn from.
  std::vector<double> shownKey_;
  std::string shownSignature_;
  std::optional<FitOutcome> outcome_;
  bool outcomeAllOrders_ = false;  // the fit chose the orders
  FitQuality quality_;
  int shownMinimum_ = -1;
  std::optional<ModelParams> beforeApply_;
};

}  // namespace zx
