// Import of a measured table (resource 131): the file, a preview of its
// first lines and columns, the conversion settings, the two graphs, and
// 取り込み, which writes the data file and registers it (with a
// calculation condition when a temperature is given).
#pragma once

#include <QString>

#include "calc/import_run.h"
#include "ui/flagged_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace zx {

// Control ids of the dialog.
enum ImportControl : int {
  kImpSource = 1101,
  kImpBrowse = 1102,
  kImpPreview = 1103,
  kImpColumns = 1104,
  kImpKind = 1105,
  kImpXColumn = 1106,
  kImpYColumn = 1107,
  kImpCurrentUnit = 1108,
  kImpVoltageUnit = 1109,
  kImpTapLength = 1110,
  kImpWidth = 1111,
  kImpThickness = 1112,
  kImpFraction = 1113,
  kImpMinField = 1114,
  kImpTemp = 1115,
  kImpField = 1116,
  kImpOutput = 1117,
  kImpOutputBrowse = 1118,
  kImpSummary = 1119,
  kImpMeasuredPlot = 1120,
  kImpConvertedPlot = 1121,
  kImpImport = 1122,
  kImpCancel = 1123,
};

class ImportDialog : public FlaggedDialog {
  Q_OBJECT

 public:
  explicit ImportDialog(Shell& main);

  // Shows the file: preview, columns, default columns and output path.
  void LoadSource(const QString& path);
  void Browse();
  void BrowseOutput();
  void ImportClicked();

  // The conversion with the settings as they stand (for the graphs).
  const ImportOutcome& Preview() const { return preview_; }
  const TableLayout& Layout() const { return layout_; }

 private:
  void Build();
  void KindChanged();
  void ColumnsChanged();
  void ChooseUnitsFromNames(int xColumn, int yColumn);
  void Update();
  ImportRequest Request() const;
  ImportOutcome Compute() const;
  ImportKind Kind() const;
  QString ErrorText(ImportError e) const;
  QString XLabel() const;
  QString YLabel() const;

  QString source_;
  TableLayout layout_;
  ColumnPair rows_;
  ImportOutcome preview_;
  QString autoOutput_;       // the output path this dialog proposed last
  QString confirmedOutput_;  // chosen with the save chooser, which asked already

  QLineEdit* sourceEdit_ = nullptr;
  QPlainTextEdit* previewText_ = nullptr;
  QLabel* columns_ = nullptr;
  QComboBox* kind_ = nullptr;
  QLabel* xLabel_ = nullptr;
  QLabel* yLabel_ = nullptr;
  QComboBox* xColumn_ = nullptr;
  QComboBox* yColumn_ = nullptr;
  QComboBox* currentUnit_ = nullptr;
  QComboBox* voltageUnit_ = nullptr;
  QLineEdit* tap_ = nullptr;
  QLineEdit* width_ = nullptr;
  QLineEdit* thickness_ = nullptr;
  QLineEdit* fraction_ = nullptr;
  QLineEdit* minField_ = nullptr;
  QLineEdit* temp_ = nullptr;
  QLineEdit* field_ = nullptr;
  QLineEdit* output_ = nullptr;
  QLabel* summary_ = nullptr;
  QLabel* measuredPlot_ = nullptr;
  QLabel* convertedPlot_ = nullptr;
};

}  // namespace zx
