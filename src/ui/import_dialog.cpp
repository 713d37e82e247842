#include "ui/import_dialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "import/columns.h"
#include "import/import_steps.h"
#include "import/registration.h"
#include "model/document.h"
#include "model/format.h"
#include "model/result_path.h"
#include "model/series_file.h"
#include "model/text_file.h"
#include "model/unsigned_zero.h"
#include "ui/core_text.h"
#include "ui/import_plot.h"
#include "ui/language.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

namespace {

constexpr int kPreviewLines = 30;

QString Number(double v) { return QString::fromStdString(FormatSci(v, 6)); }

QString Sci(double v) { return QString::number(v, 'e', 3); }

// A field's whole text as one finite number: "1mm", "5 mm" and "1,5e-3"
// are no lengths. Blanks around it are allowed.
std::optional<double> WholeNumber(const QString& text) {
  const std::string t = text.trimmed().toStdString();
  double v = 0;
  const char* end = t.data() + t.size();
  const auto res = std::from_chars(t.data(), end, v);
  if (t.empty() || res.ec != std::errc() || res.ptr != end || !std::isfinite(v))
    return std::nullopt;
  return v;
}

// NaN stands for a text that is no number: every check refuses it.
double NumberOrNan(const QString& text) { return WholeNumber(text).value_or(std::nan("")); }

// A label of the dialog named inside a sentence: "Invalid input: current
// column" in English.
QString FieldName(QString label) {
  if (CurrentLanguage() == Language::English && !label.isEmpty()) label[0] = label[0].toLower();
  return label;
}

enum FileColumn { kFileName, kFileTemp, kFileKept, kFileDropped };

}  // namespace

ImportDialog::ImportDialog(Shell& main)
    : ModelessDialog(main, DialogKind::Import, &main.widget(), tr("測定データ取り込み")) {
  Build();
  // The cross-section comes from the sample of the parameter panel; its
  // length is the whole sample, not the distance of the voltage taps.
  ModelParams m = main.project().Params;
  if (ParameterPanel* panel = main.parameterPanel()) panel->ReadPanelValuesInto(m);
  width_->setText(Number(m.Width));
  thickness_->setText(Number(m.Thickness));
  kind_->setCurrentIndex(main.project().Settings.Mode == CalcMode::JcB ? 1 : 0);
  KindChanged();
}

namespace {

QLabel* Label(QWidget* parent, const QString& text, const char* name) {
  return NameControl(new QLabel(text, parent), name);
}

QLineEdit* Edit(QWidget* parent, const char* name) {
  return NameControl(new QLineEdit(parent), name);
}

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items) {
  auto* c = NameControl(new QComboBox(parent), name);
  c->addItems(items);
  return c;
}

QPushButton* Button(QWidget* parent, const QString& text, const char* name) {
  auto* b = NameControl(new QPushButton(text, parent), name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

void ImportDialog::Build() {
  auto* top = new QHBoxLayout(this);
  // Never smaller than its contents: no label is cut, in either language.
  top->setSizeConstraint(QLayout::SetMinimumSize);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  top->addLayout(left);
  top->addLayout(right);
  BuildSourceArea(*left);
  BuildSettingsControls();
  left->addLayout(SettingsGrid());
  left->addWidget(Label(this, tr("温度（温度の列、表、または入力）があると計算条件も登録します。"),
                        "conditionNoteLabel"));
  BuildOutputArea(*left);
  measuredPlot_ = Label(this, QString(), "measuredPlot");
  convertedPlot_ = Label(this, QString(), "convertedPlot");
  for (QLabel* plot : {measuredPlot_, convertedPlot_}) {
    plot->setFixedSize(kImportPlotWidth, kImportPlotHeight);
    right->addWidget(plot);
  }
  right->addStretch();
  ConnectSettings();
}

// The measured file, the files table, the preview and the columns found.
void ImportDialog::BuildSourceArea(QVBoxLayout& left) {
  auto* file = new QGridLayout;
  file->addWidget(Label(this, tr("測定データファイル"), "sourceLabel"), 0, 0, 1, 2);
  sourceEdit_ = Edit(this, "sourceEdit");
  sourceEdit_->setMinimumWidth(300);
  auto* browse = Button(this, tr("参照"), "browseButton");
  file->addWidget(sourceEdit_, 1, 0);
  file->addWidget(browse, 1, 1);
  left.addLayout(file);
  connect(browse, &QPushButton::clicked, this, &ImportDialog::Browse);
  sourceEdit_->installEventFilter(this);
  left.addWidget(BuildFilesTable());

  left.addWidget(Label(this, tr("先頭の行"), "previewLabel"));
  previewText_ = NameControl(new QPlainTextEdit(this), "previewText");
  previewText_->setReadOnly(true);
  previewText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  previewText_->setFixedHeight(110);
  left.addWidget(previewText_);
  columns_ = Label(this, QString(), "columnsLabel");
  columns_->setWordWrap(true);
  // Heights that do not change with the text, so the form below stays put.
  columns_->setFixedHeight(2 * fontMetrics().lineSpacing() + 4);
  columns_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  left.addWidget(columns_);
}

// One row per file: its temperature (typed, or from the temperature
// column) and what the conversion keeps.
QTableWidget* ImportDialog::BuildFilesTable() {
  files_ = NameControl(new QTableWidget(0, 4, this), "fileTable");
  files_->setHorizontalHeaderLabels(
      {tr("ファイル"), tr("温度(K)", "column"), tr("採用"), tr("除外")});
  files_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  files_->horizontalHeader()->setSectionResizeMode(kFileName, QHeaderView::Stretch);
  files_->verticalHeader()->hide();
  files_->setSelectionBehavior(QAbstractItemView::SelectRows);
  files_->setSelectionMode(QAbstractItemView::SingleSelection);
  files_->setFixedHeight(96);
  connect(files_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
    if (row >= 0 && row != previous && row < sources_.size() && sources_[row] != source_)
      ShowRow(row);
  });
  // A temperature typed in a row is the user's; the program fills only its own.
  connect(files_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() != kFileTemp) return;
    files_->blockSignals(true);
    item->setData(Qt::UserRole, item->text().trimmed().isEmpty());
    files_->blockSignals(false);
  });
  return files_;
}

void ImportDialog::BuildSettingsControls() {
  kind_ = Combo(this, "kindCombo", {QStringLiteral("V-I → E-J"), QStringLiteral("Ic-B → Jc-B")});
  xLabel_ = Label(this, QString(), "xColumnLabel");
  yLabel_ = Label(this, QString(), "yColumnLabel");
  xColumn_ = Combo(this, "xColumnCombo", {});
  yColumn_ = Combo(this, "yColumnCombo", {});
  currentUnit_ = Combo(this, "currentUnitCombo", {QStringLiteral("A"), QStringLiteral("mA")});
  voltageUnit_ = Combo(
      this, "voltageUnitCombo",
      {QStringLiteral("V"), QStringLiteral("mV"), QStringLiteral("µV"), QStringLiteral("nV")});
  tap_ = Edit(this, "tapLengthEdit");
  width_ = Edit(this, "widthEdit");
  thickness_ = Edit(this, "thicknessEdit");
  fraction_ = Edit(this, "backgroundFractionEdit");
  fraction_->setText(QStringLiteral("0.5"));
  minField_ = Edit(this, "minFieldEdit");
  minField_->setPlaceholderText(tr("自動 (3σ)"));
  temp_ = Edit(this, "tempEdit");
  field_ = Edit(this, "fieldEdit");
  tempColumn_ = Combo(this, "tempColumnCombo", {tr("なし")});
  temp_->setPlaceholderText(tr("任意"));
  field_->setPlaceholderText(tr("任意"));
  // Placeholders are read whole at the smallest size too.
  for (QLineEdit* e : {minField_, temp_, field_})
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(e->placeholderText()) + 24);
}

// The settings two to a row: a label and its control each.
QGridLayout* ImportDialog::SettingsGrid() {
  struct Cell {
    QWidget* label;
    QWidget* control;
  };
  const std::vector<std::vector<Cell>> rows = {
      {{Label(this, tr("種類"), "kindLabel"), kind_}},
      {{xLabel_, xColumn_}, {yLabel_, yColumn_}},
      {{Label(this, tr("電流の単位"), "currentUnitLabel"), currentUnit_},
       {Label(this, tr("電圧の単位"), "voltageUnitLabel"), voltageUnit_}},
      {{Label(this, tr("電圧端子間距離(m)"), "tapLengthLabel"), tap_}},
      {{Label(this, tr("幅(m)"), "widthLabel"), width_},
       {Label(this, tr("厚さ(m)"), "thicknessLabel"), thickness_}},
      {{Label(this, tr("背景フィット範囲(最大電流比)"), "backgroundFractionLabel"), fraction_},
       {Label(this, tr("電界下限(V/m)"), "minFieldLabel"), minField_}},
      {{Label(this, tr("温度の列"), "tempColumnLabel"), tempColumn_}},
      {{Label(this, tr("温度(K)"), "tempLabel"), temp_},
       {Label(this, tr("磁場(T)"), "fieldLabel"), field_}},
  };
  auto* grid = new QGridLayout;
  for (int row = 0; row < static_cast<int>(rows.size()); ++row)
    for (int k = 0; k < static_cast<int>(rows[static_cast<std::size_t>(row)].size()); ++k) {
      const Cell& cell = rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)];
      grid->addWidget(cell.label, row, 2 * k);
      grid->addWidget(cell.control, row, 2 * k + 1);
    }
  return grid;
}

// The output file, the summary and the buttons.
void ImportDialog::BuildOutputArea(QVBoxLayout& left) {
  auto* out = new QGridLayout;
  out->addWidget(Label(this, tr("出力データファイル"), "outputLabel"), 0, 0, 1, 2);
  output_ = Edit(this, "outputEdit");
  auto* outBrowse = Button(this, tr("参照"), "outputBrowseButton");
  out->addWidget(output_, 1, 0);
  out->addWidget(outBrowse, 1, 1);
  left.addLayout(out);
  connect(outBrowse, &QPushButton::clicked, this, &ImportDialog::BrowseOutput);

  summary_ = Label(this, QString(), "summaryLabel");
  summary_->setWordWrap(true);
  summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // A long summary scrolls inside its place instead of pushing the form.
  auto* summaryArea = NameControl(new QScrollArea(this), "summaryArea");
  summaryArea->setWidget(summary_);
  summaryArea->setWidgetResizable(true);
  summaryArea->setFrameShape(QFrame::NoFrame);
  summaryArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  summaryArea->setFixedHeight(6 * fontMetrics().lineSpacing() + 6);
  left.addWidget(summaryArea);

  auto* import = NameControl(new QPushButton(tr("取り込み"), this), "importButton");
  import->setDefault(true);
  auto* cancel = Button(this, tr("ｷｬﾝｾﾙ"), "cancelButton");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(import);
  buttons->addWidget(cancel);
  buttons->addStretch();
  left.addStretch();
  left.addLayout(buttons);
  connect(import, &QPushButton::clicked, this, &ImportDialog::ImportClicked);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ImportDialog::ConnectSettings() {
  connect(tempColumn_, &QComboBox::currentIndexChanged, this, &ImportDialog::ColumnsChanged);
  connect(kind_, &QComboBox::currentIndexChanged, this, &ImportDialog::KindSwitched);
  for (QComboBox* c : {xColumn_, yColumn_})
    connect(c, &QComboBox::currentIndexChanged, this, &ImportDialog::ColumnsChanged);
  for (QComboBox* c : {currentUnit_, voltageUnit_})
    connect(c, &QComboBox::currentIndexChanged, this, &ImportDialog::Update);
  // The summary names the condition's temperature and field too.
  for (QLineEdit* e : {tap_, width_, thickness_, fraction_, minField_, temp_, field_})
    connect(e, &QLineEdit::textChanged, this, &ImportDialog::Update);
}

ImportKind ImportDialog::Kind() const {
  return kind_->currentIndex() == 1 ? ImportKind::IcbToJcb : ImportKind::ViToEj;
}

QString ImportDialog::XLabel() const {
  return Kind() == ImportKind::ViToEj ? tr("電流の列") : tr("磁場の列");
}

QString ImportDialog::YLabel() const {
  return Kind() == ImportKind::ViToEj ? tr("電圧の列") : tr("電流の列");
}

void ImportDialog::Browse() {
  std::optional<QStringList> paths = ThePlatform().OpenFiles(
      this, tr("測定データファイルを選択"),
      tr("テキストファイル (*.txt *.TXT *.dat *.DAT *.csv *.CSV);;すべてのファイル (*)"));
  if (paths && !paths->isEmpty() && !paths->front().isEmpty()) LoadSources(*paths);
}

void ImportDialog::BrowseOutput() {
  std::optional<QString> path =
      ThePlatform().SaveFile(this, tr("出力データファイルの保存"), tr("データファイル(*.dat)"));
  if (!path || path->isEmpty()) return;
  output_->setText(*path);
  confirmedOutput_ = *path;
}

void ImportDialog::LoadSources(const QStringList& paths) {
  sources_ = paths;
  files_->blockSignals(true);
  files_->setRowCount(static_cast<int>(paths.size()));
  for (int r = 0; r < paths.size(); ++r) {
    auto* name = new QTableWidgetItem(QFileInfo(paths[r]).fileName());
    name->setToolTip(paths[r]);
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    files_->setItem(r, kFileName, name);
    files_->setItem(r, kFileTemp, new QTableWidgetItem);
    for (int c : {kFileKept, kFileDropped}) {
      auto* count = new QTableWidgetItem;
      count->setFlags(count->flags() & ~Qt::ItemIsEditable);
      files_->setItem(r, c, count);
    }
  }
  files_->setCurrentCell(0, kFileName);
  files_->blockSignals(false);
  output_->setEnabled(paths.size() <= 1);
  ShowRow(0);
  for (int r = 1; r < paths.size(); ++r) UpdateRow(r, ComputeFile(r));
}

bool ImportDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sourceEdit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      SourceTyped();
      return true;
    }
  }
  return ModelessDialog::eventFilter(watched, event);
}

void ImportDialog::SourceTyped() {
  const QString typed = sourceEdit_->text().trimmed();
  if (typed.isEmpty() || typed == source_) return;
  LoadSources({typed});
}

void ImportDialog::ShowRow(int rowIndex) {
  if (rowIndex < 0 || rowIndex >= sources_.size()) return;
  const QString path = sources_[rowIndex];
  source_ = path;
  sourceEdit_->setText(path);
  layout_ = ScanMeasuredTable(path.toStdString(), kPreviewLines);
  QStringList lines;
  for (const std::string& l : layout_.previewLines) lines << QString::fromStdString(l);
  previewText_->setPlainText(lines.join(QLatin1Char('\n')));

  QStringList items, numeric;
  for (int c = 0; c < layout_.fieldCount; ++c) {
    QString item = QString::number(c);
    if (c < static_cast<int>(layout_.names.size()))
      item += QStringLiteral(" : ") +
              QString::fromStdString(layout_.names[static_cast<std::size_t>(c)]);
    if (const std::string unit = ColumnUnit(layout_, c); !unit.empty())
      item += QStringLiteral(" [") + QString::fromStdString(unit) + QStringLiteral("]");
    items << item;
  }
  for (int c : layout_.numericColumns) numeric << items[c];
  if (!layout_.opened)
    columns_->setText(tr("ファイルを読み込めません。"));
  else if (layout_.fieldCount == 0)
    columns_->setText(tr("数値の行が見つかりません。"));
  else
    columns_->setText(tr("列数 %1 / 数値の列 : %2")
                          .arg(layout_.fieldCount)
                          .arg(numeric.join(QStringLiteral(", "))));

  int xc = -1, yc = -1;
  ChooseColumns(layout_, Kind(), std::nullopt, std::nullopt, xc, yc);
  for (QComboBox* c : {xColumn_, yColumn_, tempColumn_}) {
    c->blockSignals(true);
    c->clear();
  }
  xColumn_->addItems(items);
  yColumn_->addItems(items);
  tempColumn_->addItem(tr("なし"));
  tempColumn_->addItems(items);
  xColumn_->setCurrentIndex(xc);
  yColumn_->setCurrentIndex(yc);
  // A temperature the header states is the file's own; a column is
  // proposed only without one.
  tempColumn_->setCurrentIndex(
      layout_.headerTemperature ? 0 : TemperatureColumnByName(layout_).value_or(-1) + 1);
  for (QComboBox* c : {xColumn_, yColumn_, tempColumn_}) c->blockSignals(false);

  const QString proposed =
      sources_.size() > 1
          ? tr("（各ファイルの隣に _EJ.dat / _JcB.dat）")
          : QString::fromStdString(DefaultImportOutputPath(path.toStdString(), Kind()));
  output_->setText(proposed);
  autoOutput_ = proposed;
  confirmedOutput_.clear();
  ColumnsChanged();
}

// The columns of one kind are not those of the other: field and current
// would come out swapped.
void ImportDialog::KindSwitched() {
  int xc = -1, yc = -1;
  if (!source_.isEmpty() &&
      ChooseColumns(layout_, Kind(), std::nullopt, std::nullopt, xc, yc) == ImportError::None) {
    for (QComboBox* c : {xColumn_, yColumn_}) c->blockSignals(true);
    xColumn_->setCurrentIndex(xc);
    yColumn_->setCurrentIndex(yc);
    for (QComboBox* c : {xColumn_, yColumn_}) c->blockSignals(false);
    KindChanged();
    ColumnsChanged();
    return;
  }
  KindChanged();
}

void ImportDialog::KindChanged() {
  const bool vi = Kind() == ImportKind::ViToEj;
  xLabel_->setText(XLabel());
  yLabel_->setText(YLabel());
  for (QWidget* w : std::initializer_list<QWidget*>{voltageUnit_, tap_, fraction_, minField_})
    w->setEnabled(vi);
  field_->setEnabled(main_.project().Settings.Mode != CalcMode::JcB);
  // A proposed output name follows the kind; one the user typed stays.
  if (!source_.isEmpty() && sources_.size() <= 1 && output_->text() == autoOutput_) {
    autoOutput_ = QString::fromStdString(DefaultImportOutputPath(source_.toStdString(), Kind()));
    output_->setText(autoOutput_);
  }
  Update();
}

void ImportDialog::ColumnsChanged() {
  rows_ = ColumnPair{};
  const int xc = xColumn_->currentIndex(), yc = yColumn_->currentIndex();
  ChooseUnitsFromNames(xc, yc);
  if (!source_.isEmpty() && xc >= 0 && yc >= 0)
    rows_ = ReadMeasuredColumns(source_.toStdString(), xc, yc, layout_.format, {},
                                tempColumn_->currentIndex() - 1);
  Update();
}

// A unit written in the column's name ("I(mA)", "V(uV)") is the likely
// one; the user may still choose another after picking the columns.
void ImportDialog::ChooseUnitsFromNames(int xc, int yc) {
  const bool vi = Kind() == ImportKind::ViToEj;
  if (const std::optional<CurrentUnit> u = CurrentUnitOfColumn(layout_, vi ? xc : yc))
    currentUnit_->setCurrentIndex(*u == CurrentUnit::mA ? 1 : 0);
  if (!vi) return;
  if (const std::optional<VoltageUnit> u = VoltageUnitOfColumn(layout_, yc))
    voltageUnit_->setCurrentIndex(static_cast<int>(*u));
}

ImportRequest ImportDialog::Request() const {
  ImportRequest rq;
  rq.kind = Kind();
  rq.source = source_.toStdString();
  if (xColumn_->currentIndex() >= 0) rq.xColumn = xColumn_->currentIndex();
  if (yColumn_->currentIndex() >= 0) rq.yColumn = yColumn_->currentIndex();
  const CurrentUnit cu = currentUnit_->currentIndex() == 1 ? CurrentUnit::mA : CurrentUnit::A;
  static const VoltageUnit kVoltage[] = {VoltageUnit::V, VoltageUnit::mV, VoltageUnit::uV,
                                         VoltageUnit::nV};
  rq.vi.currentUnit = rq.icb.currentUnit = cu;
  rq.vi.voltageUnit = kVoltage[std::max(0, voltageUnit_->currentIndex()) % 4];
  rq.vi.tapLength = NumberOrNan(tap_->text());
  rq.vi.width = rq.icb.width = NumberOrNan(width_->text());
  rq.vi.thickness = rq.icb.thickness = NumberOrNan(thickness_->text());
  rq.vi.backgroundFraction = NumberOrNan(fraction_->text());
  // A text that is not a number must not pass as a floor of 0.
  if (!minField_->text().trimmed().isEmpty()) rq.vi.minField = NumberOrNan(minField_->text());
  if (tempColumn_->currentIndex() > 0) rq.temperatureColumn = tempColumn_->currentIndex() - 1;
  return rq;
}

ImportOutcome ImportDialog::Compute() const {
  const ImportRequest rq = Request();
  int xc = -1, yc = -1;
  ImportOutcome o;
  o.used = rq;
  o.error = ChooseColumns(layout_, rq.kind, rq.xColumn, rq.yColumn, xc, yc);
  if (o.error != ImportError::None) return o;
  return ConvertRows(rq, layout_, rows_, xc, yc);
}

ImportOutcome ImportDialog::ComputeFile(int row) const {
  if (row < 0 || row >= sources_.size()) return {};
  if (sources_[row] == source_) return Compute();
  ImportRequest rq = Request();
  rq.source = sources_[row].toStdString();
  return RunImport(rq);
}

void ImportDialog::UpdateRow(int row, const ImportOutcome& o) {
  if (row < 0 || row >= files_->rowCount()) return;
  const bool ok = o.error == ImportError::None;
  const bool vi = o.used.kind == ImportKind::ViToEj;
  // Only the user's edits count as typed (see the itemChanged handler).
  const QSignalBlocker block(files_);
  files_->item(row, kFileKept)
      ->setText(ok ? QString::number(vi ? o.vi.keptCount : o.icb.keptCount) : QStringLiteral("-"));
  files_->item(row, kFileDropped)
      ->setText(ok ? QString::number(vi ? o.vi.droppedCount : o.icb.droppedCount)
                   : QStringLiteral("-"));
  // A typed temperature stays; the column's mean fills a cell the user left.
  QTableWidgetItem* t = files_->item(row, kFileTemp);
  QString mean, tip;
  if (o.temperature) {
    mean = QString::number(UnsignedWhenZero(o.temperature->mean, 3), 'f', 3);
    tip = tr("温度の列の平均 %1 K").arg(mean);
  } else if (o.headerTemperature) {
    mean = QString::number(UnsignedWhenZero(*o.headerTemperature, 3), 'f', 3);
    tip = tr("ヘッダーの温度 %1 K").arg(mean);
  }
  t->setToolTip(tip);
  if (t->text().isEmpty() || t->data(Qt::UserRole).toBool()) {
    t->setText(mean);
    t->setData(Qt::UserRole, true);  // filled by the program, not typed
  }
}

SourcedValue ImportDialog::RowTemperature(int row, const ImportOutcome& o, bool& bad) const {
  QTableWidgetItem* t =
      row >= 0 && row < files_->rowCount() ? files_->item(row, kFileTemp) : nullptr;
  const bool typedInRow = t && !t->data(Qt::UserRole).toBool() && !t->text().trimmed().isEmpty();
  const QString typed = typedInRow ? t->text() : temp_->text();
  bad = false;
  // The window reads a temperature column only when one is chosen.
  if (typed.trimmed().isEmpty()) return ImportTemperature(std::nullopt, o, true);
  const std::optional<double> v = WholeNumber(typed);
  bad = !v;
  return {v, ValueSource::Given};
}

SourcedValue ImportDialog::FieldOf(const ImportOutcome& o) const {
  std::optional<double> typed;
  if (!field_->text().trimmed().isEmpty()) typed = NumberOrNan(field_->text());
  return ImportField(typed, o);
}

QString ImportDialog::SourceText(ValueSource from) const {
  switch (from) {
    case ValueSource::Given:
      return tr("入力");
    case ValueSource::Column:
      return tr("温度の列", "source");
    default:
      return tr("ヘッダー");
  }
}

std::optional<QString> ImportDialog::InvalidField(ImportError e) const {
  switch (e) {
    case ImportError::XColumn:
      return XLabel();
    case ImportError::YColumn:
      return YLabel();
    case ImportError::TemperatureColumn:
      return tr("温度の列");
    case ImportError::TapLength:
      return tr("電圧端子間距離");
    case ImportError::Width:
      return tr("幅");
    case ImportError::Thickness:
      return tr("厚さ");
    case ImportError::BackgroundFraction:
      return tr("背景フィット範囲");
    case ImportError::MinField:
      return tr("電界下限");
    // Listed so that a new error cannot be left without a text.
    case ImportError::None:
    case ImportError::Unreadable:
    case ImportError::NoRows:
    case ImportError::FewBackgroundPoints:
    case ImportError::NothingKept:
    case ImportError::TooManyPoints:
      return std::nullopt;
  }
  return std::nullopt;
}

QString ImportDialog::ErrorText(ImportError e) const {
  if (const std::optional<QString> field = InvalidField(e))
    return tr("不正な値の入力 : %1").arg(FieldName(*field));
  switch (e) {
    case ImportError::Unreadable:
      return tr("読み込めません : 測定データファイル");
    case ImportError::NoRows:
      return tr("数値の行がありません : 測定データファイル");
    case ImportError::FewBackgroundPoints:
      return tr("背景フィット範囲の点が %1 点しかありません（%2 点以上必要です）。\n"
                "電流の列と背景フィット範囲を確認してください。")
          .arg(preview_.vi.backgroundPoints)
          .arg(kMinBackgroundPoints);
    case ImportError::TooManyPoints:
      return CoreText(kSeriesTooLargeText);
    case ImportError::NothingKept:
      return tr("書き込む点がありません : %1")
          .arg(FieldName(Kind() == ImportKind::ViToEj ? tr("電界下限") : YLabel()));
    default:  // no error, or one with an invalid field
      return {};
  }
}

void ImportDialog::Update() {
  const ImportRequest rq = Request();
  if (source_.isEmpty()) {
    preview_ = ImportOutcome{};
    summary_->setText(tr("測定データファイルを選んでください。"));
  } else {
    preview_ = Compute();
    QString text;
    if (preview_.error != ImportError::None)
      text = ErrorText(preview_.error);
    else if (Kind() == ImportKind::ViToEj)
      text = ViSummary(rq);
    else
      text = tr("採用 %1 点 / 除外 %2 点 / 数値でない行 %3")
                 .arg(preview_.icb.keptCount)
                 .arg(preview_.icb.droppedCount)
                 .arg(preview_.source.skippedLines);
    if (preview_.error == ImportError::None) text += ConditionSummary();
    summary_->setText(text);
    UpdateRow(static_cast<int>(sources_.indexOf(source_)), preview_);
  }
  measuredPlot_->setPixmap(QPixmap::fromImage(DrawMeasuredPlot(rq, rows_)));
  convertedPlot_->setPixmap(QPixmap::fromImage(DrawConvertedPlot(rq.kind, preview_)));
}

QString ImportDialog::ViSummary(const ImportRequest& rq) const {
  const ViImport& r = preview_.vi;
  QString text = tr("採用 %1 点 / 除外 %2 点 / 数値でない行 %3\n背景 V = a + b·I : a = %4 V, "
                    "b = %5 V/A / 電界下限 %6 V/m")
                     .arg(r.keptCount)
                     .arg(r.droppedCount)
                     .arg(preview_.source.skippedLines)
                     .arg(Sci(r.offset), Sci(r.slope), Sci(r.minField));
  if (r.flipped) text += tr(" / 電圧の符号を反転");
  if (!rq.vi.minField)
    text += tr("\n切断 : %1 A 以上の連続した点を採用（下限以上で除外 %2 点、"
               "うち転移の下のゆるやかな上昇 %3 点）")
                .arg(Sci(r.cutCurrent))
                .arg(r.aboveFloorLeftOut)
                .arg(r.preRiseLeftOut);
  if (!VoltageUnitOfColumn(layout_, yColumn_->currentIndex()))
    text +=
        tr("\n電圧の列に単位が見つかりません : %1 とみなします。").arg(voltageUnit_->currentText());
  return text + ViWarnings();
}

// What makes the converted data doubtful: a voltage unit, a floor above
// the criterion, the sign of the transition, the background range.
QString ImportDialog::ViWarnings() const {
  const ViImport& r = preview_.vi;
  QString text;
  if (preview_.topField > kMaxPlausibleField || preview_.topField < kMinPlausibleField)
    text += preview_.likelyVoltageUnit
                ? tr("\n最大の E %1 V/m は転移の値ではありません : 電圧の単位はおそらく %2 です。")
                      .arg(Sci(preview_.topField))
                      .arg(voltageUnit_->itemText(static_cast<int>(*preview_.likelyVoltageUnit)))
                : tr("\n最大の E %1 V/m は転移の値ではありません : 電圧の単位を確認してください。")
                      .arg(Sci(preview_.topField));
  if (preview_.bottomField > main_.project().Params.E_c)
    text += tr("\n採用した最小の E (%1 V/m) が電界基準値 (%2 V/m) を超えています : "
               "このデータの Jc は不明です。")
                .arg(Sci(preview_.bottomField), Sci(main_.project().Params.E_c));
  if (r.signDoubtful)
    text += tr("\n最大電流付近の電圧が雑音と同程度のため、符号は推定です。");
  else if (r.signDisagrees)
    text += tr("\n符号は最大電流付近の点で決めました（上側範囲の合計とは逆です）。");
  if (r.backgroundRises) text += tr("\n背景フィット範囲に転移が含まれている可能性があります。");
  return text;
}

// Where the condition's temperature and field come from.
QString ImportDialog::ConditionSummary() const {
  QString text;
  bool bad = false;
  const SourcedValue t = RowTemperature(static_cast<int>(sources_.indexOf(source_)), preview_, bad);
  if (t.value && !bad) {
    text += tr("\n温度 %1 K（%2）")
                .arg(UnsignedWhenZero(*t.value, 3), 0, 'f', 3)
                .arg(SourceText(t.from));
    if (t.from != ValueSource::Given && preview_.temperature) {
      text += tr(" 標準偏差 %1 K").arg(preview_.temperature->spread, 0, 'f', 3);
      if (preview_.temperature->spread > kTemperatureSpreadWarning)
        text += tr(" : 温度のばらつきが 0.5 K を超えています。");
    }
  }
  const SourcedValue b = FieldOf(preview_);
  if (Kind() == ImportKind::ViToEj && b.value && std::isfinite(*b.value))
    text += tr(" / 磁場 %1 T（%2）").arg(*b.value).arg(SourceText(b.from));
  return text;
}

bool ImportDialog::ModeFits() {
  const CalcMode wanted = Kind() == ImportKind::ViToEj ? CalcMode::EJ : CalcMode::JcB;
  if (main_.project().Settings.Mode == wanted) return true;
  // As 計算モード変更 does: the registries go with the old mode.
  const QString modeName = wanted == CalcMode::EJ ? tr("E-J計算") : tr("Jc-B計算");
  const MsgAnswer answer =
      ShowMessage(this,
                  tr("取り込むデータには計算モード %1 が必要です。\n").arg(modeName) +
                      (main_.project().DataFiles.Empty()
                           ? tr("計算モードを変更しますか？")
                           : tr("計算モードを変更します。現在登録されているデータファイル、\n"
                                "計算条件をクリアします。よろしいですか？")),
                  tr("計算モード変更の確認"), MsgButtons::YesNoDefaultNo);
  if (answer != MsgAnswer::Yes) return false;
  SetCalcMode(main_.document(), wanted);
  KindChanged();
  return true;
}

void ImportDialog::ImportClicked() {
  // A typed path is read as a chosen one is.
  if (sourceEdit_->text().trimmed() != source_) SourceTyped();
  if (source_.isEmpty()) {
    RefuseInput(FieldName(tr("測定データファイル")), tr("エラー"));
    return;
  }
  // The file may have changed since it was chosen.
  ColumnsChanged();
  std::vector<Planned> plan;
  for (int row = 0; row < sources_.size(); ++row)
    if (!PlanRow(row, plan)) return;
  if (!ModeFits() || !ConditionsAccepted(plan) || !TargetsAccepted(plan)) return;
  if (WritePlanned(plan)) accept();
}

bool ImportDialog::PlanRow(int row, std::vector<Planned>& plan) {
  const bool several = sources_.size() > 1;
  Planned pl;
  pl.source = sources_[row];
  pl.outcome = sources_[row] == source_ ? preview_ : ComputeFile(row);
  UpdateRow(row, pl.outcome);
  const QString prefix = several ? pl.source + QStringLiteral("\n") : QString();
  if (pl.outcome.error != ImportError::None) {
    ShowWarning(this, prefix + ErrorText(pl.outcome.error), tr("エラー"));
    return false;
  }
  bool bad = false;
  const SourcedValue temp = RowTemperature(row, pl.outcome, bad);
  if (bad) {
    RefuseInput(tr("温度"), tr("エラー"));
    return false;
  }
  const SourcedValue field = FieldOf(pl.outcome);
  const bool ejKind = Kind() == ImportKind::ViToEj;
  // A temperature from the column or the header makes a condition once a
  // field is known (E-J); a typed one asks for the field.
  const bool wanted = temp.value
                          ? (!ejKind || temp.from == ValueSource::Given || field.value.has_value())
                          : ejKind && field.from == ValueSource::Given && !several;
  if (wanted) pl.cond = ConditionOfImport(Kind(), temp.value.value_or(std::nan("")), field.value);
  pl.out = several
               ? QString::fromStdString(DefaultImportOutputPath(pl.source.toStdString(), Kind()))
               : output_->text().trimmed();
  plan.push_back(pl);
  return true;
}

// Conditions the project refuses stop the import; one above T_c is asked
// about.
bool ImportDialog::ConditionsAccepted(const std::vector<Planned>& plan) {
  for (const Planned& pl : plan) {
    if (!pl.cond) continue;
    if (const std::string refused = ImportedConditionRefusal(main_.project(), *pl.cond);
        !refused.empty()) {
      ShowWarning(this, CoreText(refused), tr("エラー"));
      return false;
    }
    if (AboveCriticalTemperature(main_.project(), pl.cond->temp) &&
        ShowMessage(this,
                    tr("温度 %1 K が臨界温度 Tc (%2 K) 以上です。\n"
                       "このままでは計算できません。登録しますか？")
                        .arg(UnsignedWhenZero(pl.cond->temp, 3), 0, 'f', 3)
                        .arg(main_.project().Params.T_c),
                    tr("測定データ取り込み"), MsgButtons::YesNoDefaultNo,
                    MsgIcon::Warning) != MsgAnswer::Yes)
      return false;
  }
  return true;
}

// Every output path usable, and existing files replaced only when the
// user agrees (or chose the file with the save chooser, which asked).
bool ImportDialog::TargetsAccepted(const std::vector<Planned>& plan) {
  QStringList existing;
  for (const Planned& pl : plan) {
    const TargetCheck target = CheckImportTarget(pl.source.toStdString(), pl.out.toStdString());
    if (target.problem == TargetProblem::PathRefused) {
      ShowWarning(this, CoreText(target.refusal), tr("エラー"));
      return false;
    }
    if (target.problem != TargetProblem::None) {
      RefuseInput(FieldName(tr("出力データファイル")), tr("エラー"));
      return false;
    }
    if (QFileInfo::exists(pl.out) && pl.out != confirmedOutput_) existing << pl.out;
  }
  return existing.isEmpty() ||
         ShowMessage(
             this,
             tr("%1\nは既に存在します。上書きしますか？").arg(existing.join(QLatin1Char('\n'))),
             tr("測定データ取り込み"), MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

bool ImportDialog::WritePlanned(const std::vector<Planned>& plan) {
  for (const Planned& pl : plan) {
    if (!WriteFileAtomically(pl.out.toStdString(), pl.outcome.bytes)) {
      ShowWarning(this, tr("データファイルを書き込めません。\n%1").arg(pl.out), tr("エラー"));
      return false;
    }
    if (const std::string refused =
            RegisterImportedData(main_.document(), pl.out.toStdString(), pl.cond);
        !refused.empty()) {
      ShowWarning(this, CoreText(refused), tr("エラー"));
      return false;
    }
  }
  return true;
}

}  // namespace zx
