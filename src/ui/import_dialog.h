// Import of measured tables: the files (one row each), a preview of the
// current file's first lines and columns, the conversion settings the files
// share, the two graphs, and 取り込み, which writes a data file for each and
// registers them (with a calculation condition each when a temperature is
// known).
#pragma once

#include <QString>
#include <optional>

#include "import/import_steps.h"
#include "import/run.h"
#include "ui/modeless_dialog.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;
class QVBoxLayout;

namespace zx {

class ImportDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit ImportDialog(Shell& main);

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
  // One file on its way to a data file (and its registration).
  struct Planned {
    QString source, out;
    ImportOutcome outcome;
    std::optional<ImportedCondition> cond;
  };

  void Build();
  void BuildSourceArea(QVBoxLayout& left);
  QTableWidget* BuildFilesTable();
  void BuildSettingsControls();
  QGridLayout* SettingsGrid();
  void BuildOutputArea(QVBoxLayout& left);
  void ConnectSettings();
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
  // edit, else the column's mean, else the header's. bad: a typed text
  // that is no number (the value is then none).
  SourcedValue RowTemperature(int row, const ImportOutcome& o, bool& bad) const;
  // The field: typed in 磁場 (NaN for a non-number), else the header's.
  SourcedValue FieldOf(const ImportOutcome& o) const;
  // Where a value came from, as the summary names it.
  QString SourceText(ValueSource from) const;
  QString ViSummary(const ImportRequest& rq) const;
  QString ViWarnings() const;
  QString ConditionSummary() const;
  // Plans file `row` into `plan`; false once a refusal was shown.
  bool PlanRow(int row, std::vector<Planned>& plan);
  bool ConditionsAccepted(const std::vector<Planned>& plan);
  bool TargetsAccepted(const std::vector<Planned>& plan);
  bool WritePlanned(const std::vector<Planned>& plan);
  void SourceTyped();
  bool ModeFits();
  ImportKind Kind() const;
  QString ErrorText(ImportError e) const;
  // The field an error finds an invalid value in; none for other errors.
  std::optional<QString> InvalidField(ImportError e) const;
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
