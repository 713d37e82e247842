// The automatic fit window: parameters with their bounds, options, a fit
// on a worker thread with live progress, per-condition results, the two
// plots, and applying the result to the parameter panel.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fit/fit_curves.h"
#include "fit/fit_quality.h"
#include "fit/fit_types.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace zx {

class Shell;
class FitPlotWidget;

// Opens the window, or brings the open one to the front.
void OpenFitDialog(Shell& main);

class FitDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FitDialog(Shell& main);
  ~FitDialog() override;

  void StartFit();
  void StopFit();
  void Apply();
  void Undo();
  // Writes the report to `path` and the plots next to it; false on failure.
  bool SaveResults(const QString& path);
  bool Running() const { return worker_.joinable(); }
  // The last finished fit, if any.
  const std::optional<FitOutcome>& Outcome() const { return outcome_; }

 protected:
  bool event(QEvent* e) override;

 private:
  void BuildParameterTable();
  void ShowCurrentValues();
  void ShowRanges();
  void OnParameterItemChanged(int row, int column);
  void SetRunning(bool running);
  void WatchRun();
  void ShowIteration(const FitIteration& it, const std::vector<ConditionCurves>& curves);
  void Finished(const FitOutcome& outcome, const FitQuality& quality,
                const std::vector<ConditionCurves>& curves);
  void ShowConditions(const FitQuality& quality);
  void ShowPlots(const std::vector<ConditionCurves>& curves);
  void SaveClicked();
  FitOptions Options() const;
  std::string RegistrySignature() const;
  QString OptionsText() const;

  Shell& main_;
  QTableWidget* params_ = nullptr;
  QTableWidget* conds_ = nullptr;
  QComboBox* loss_ = nullptr;
  QLineEdit* lossScale_ = nullptr;
  QComboBox* weighting_ = nullptr;
  QComboBox* imageFormat_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* undo_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* total_ = nullptr;
  FitPlotWidget* curvesPlot_ = nullptr;
  FitPlotWidget* residualPlot_ = nullptr;
  QTimer* watch_ = nullptr;

  bool filling_ = false;  // the dialog writes its own table cells
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  bool registryChanged_ = false;
  std::string signature_;
  QElapsedTimer clock_;
  int iteration_ = 0;
  double rms_ = NAN;

  FitInput input_;                 // of the running or last fit
  std::vector<int> relatedFiles_;  // data file of each condition, for colours
  std::optional<FitOutcome> outcome_;
  FitQuality quality_;
  std::optional<std::array<double, 5>> beforeApply_;
};

}  // namespace zx
