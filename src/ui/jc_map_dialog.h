// The Jc(B, T) map window: Jc and the n value of the fitted model against
// the field at the temperatures listed, with their 95 % bands, the data's
// own Jc on top and the extrapolated parts dashed; exports of the map.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "design/design_basis.h"
#include "design/design_point.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;

namespace zx {

class Shell;
class FitPlotWidget;

// Opens the window, or brings the open one to the front.
void OpenJcMapDialog(Shell& main);

// What the window can write.
enum class MapExport { Csv, Comsol, Json, Png, Svg };

class JcMapDialog : public QDialog {
  Q_OBJECT

 public:
  explicit JcMapDialog(Shell& main);

  // Reads the fields, computes the map on the core's path and redraws;
  // false (with the reason shown) when a field cannot be read.
  bool Recompute();
  // Writes the map (or both plots, as <name>-jc and <name>-n) to `path`;
  // the refusal or failure message, empty on success.
  QString Export(const QString& path, MapExport format);
  const DesignMap& Map() const { return map_; }
  const DesignBasis& Basis() const { return basis_; }

 private:
  // The window's parts, built in the order of its tab chain.
  void BuildInputs();
  QHBoxLayout* TemperatureRow();
  QHBoxLayout* FieldRow();
  void BuildStatusLines();
  QSplitter* BuildPlots();
  QHBoxLayout* ExportRow();
  void ShowPlots();
  void ShowStatus();
  void ExportClicked();

  Shell& main_;
  QLineEdit* temps_ = nullptr;
  QLineEdit* bFrom_ = nullptr;
  QLineEdit* bTo_ = nullptr;
  QLineEdit* criterion_ = nullptr;
  QPushButton* update_ = nullptr;
  QComboBox* format_ = nullptr;
  QPushButton* export_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* error_ = nullptr;
  FitPlotWidget* jcPlot_ = nullptr;
  FitPlotWidget* nPlot_ = nullptr;
  DesignBasis basis_;
  DesignMap map_;
};

}  // namespace zx
