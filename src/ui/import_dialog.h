// Import of measured tables: the files (one row each), a preview of the
// current file's first lines and columns, the conversion settings the files
// share, the two graphs, and 取り込み, which writes a data file for each and
// registers them (with a calculation condition each when a temperature is
// known).
#pragma once

#include <QString>

#include "import/run.h"
#include "ui/modeless_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace zx {

class ImportDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit ImportDialog(Shell& main);

  // Shows the file: preview, columns, default columns and output path.
  void LoadSource(const QString& path);
  // Several files: one row each; the first is shown.
  void LoadSources(const QStringList& paths);
  // The row of the files table shown in the preview.
  void ShowRow(int row);
  void Browse();
  void BrowseOutput();
  void ImportClicked();

  // The conversion with the settings as they stand (for the graphs).
  const ImportOutcome& Preview() const { return preview_; }

 protected:
  // Enter in the file's path reads the file instead of importing it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void KindSwitched();
  void KindChanged();
  void ColumnsChanged();
  void ChooseUnitsFromNames(int xColumn, int yColumn);
  void Update();
  ImportRequest Request() const;
  ImportOutcome Compute() const;
  // The outcome of file `row` with the settings as they stand.
  ImportOutcome ComputeFile(int row) const;
  void UpdateRow(int row, const ImportOutcome& o);
  // The temperature of a row: typed in the table, else typed in the 温度
  // edit, else the column's mean; none when there is none or it is no number.
  // typed: the value was typed (in the table or the 温度 edit).
  // from: where it came from, as the summary names it.
  std::optional<double> RowTemperature(int row, const ImportOutcome& o, bool& bad, bool& typed,
                                       QString* from = nullptr) const;
  // The field: typed in 磁場, else the header's; NaN for a typed non-number.
  std::optional<double> FieldOf(const ImportOutcome& o, QString* from = nullptr) const;
  void SourceTyped();
  bool ModeFits();
  ImportKind Kind() const;
  QString ErrorText(ImportError e) const;
  QString XLabel() const;
  QString YLabel() const;

  QStringList sources_;
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
  QComboBox* tempColumn_ = nullptr;
  QTableWidget* files_ = nullptr;
  QLineEdit* field_ = nullptr;
  QLineEdit* output_ = nullptr;
  QLabel* summary_ = nullptr;
  QLabel* measuredPlot_ = nullptr;
  QLabel* convertedPlot_ = nullptr;
};

}  // namespace zx
