#include "ui/import_dialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/format.h"
#include "model/result_path.h"
#include "model/text_file.h"
#include "ui/import_plot.h"
#include "ui/import_register.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

namespace {

constexpr int kPreviewLines = 30;

const QString kCaption = QStringLiteral("測定データ取り込み");

QString Number(double v) { return QString::fromStdString(FormatSci(v, 6)); }

QString Sci(double v) { return QString::number(v, 'e', 3); }

}  // namespace

ImportDialog::ImportDialog(Shell& main)
    : FlaggedDialog(main, DialogKind::Import, &main.widget(), 131, kCaption) {
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

void ImportDialog::Build() {
  auto* top = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  top->addLayout(left);
  top->addLayout(right);
  auto label = [this](const char* text, int id = 0) {
    auto* l = new QLabel(QString::fromUtf8(text), this);
    return id ? NameControl(l, id) : (ApplyMenuFont(l), l);
  };
  auto edit = [this](int id) { return NameControl(new QLineEdit(this), id); };
  auto combo = [this](int id, const QStringList& items) {
    auto* c = NameControl(new QComboBox(this), id);
    c->addItems(items);
    return c;
  };

  auto* file = new QGridLayout;
  file->addWidget(label("測定データファイル"), 0, 0, 1, 2);
  sourceEdit_ = edit(kImpSource);
  sourceEdit_->setReadOnly(true);
  sourceEdit_->setMinimumWidth(300);
  auto* browse = NameControl(new QPushButton(QStringLiteral("参照"), this), kImpBrowse);
  browse->setAutoDefault(false);
  file->addWidget(sourceEdit_, 1, 0);
  file->addWidget(browse, 1, 1);
  left->addLayout(file);

  left->addWidget(label("先頭の行"));
  previewText_ = NameControl(new QPlainTextEdit(this), kImpPreview);
  previewText_->setReadOnly(true);
  previewText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  previewText_->setFixedHeight(110);
  left->addWidget(previewText_);
  columns_ = label("", kImpColumns);
  columns_->setWordWrap(true);
  left->addWidget(columns_);

  auto* grid = new QGridLayout;
  kind_ = combo(kImpKind, {QStringLiteral("V-I → E-J"), QStringLiteral("Ic-B → Jc-B")});
  xLabel_ = label("");
  yLabel_ = label("");
  xColumn_ = combo(kImpXColumn, {});
  yColumn_ = combo(kImpYColumn, {});
  currentUnit_ = combo(kImpCurrentUnit, {QStringLiteral("A"), QStringLiteral("mA")});
  voltageUnit_ = combo(kImpVoltageUnit, {QStringLiteral("V"), QStringLiteral("mV"),
                                         QStringLiteral("µV"), QStringLiteral("nV")});
  tap_ = edit(kImpTapLength);
  width_ = edit(kImpWidth);
  thickness_ = edit(kImpThickness);
  fraction_ = edit(kImpFraction);
  fraction_->setText(QStringLiteral("0.5"));
  minField_ = edit(kImpMinField);
  minField_->setPlaceholderText(QStringLiteral("自動 (3σ)"));
  temp_ = edit(kImpTemp);
  field_ = edit(kImpField);
  temp_->setPlaceholderText(QStringLiteral("任意"));
  field_->setPlaceholderText(QStringLiteral("任意"));
  int row = 0;
  grid->addWidget(label("種類"), row, 0);
  grid->addWidget(kind_, row++, 1);
  grid->addWidget(xLabel_, row, 0);
  grid->addWidget(xColumn_, row, 1);
  grid->addWidget(yLabel_, row, 2);
  grid->addWidget(yColumn_, row++, 3);
  grid->addWidget(label("電流の単位"), row, 0);
  grid->addWidget(currentUnit_, row, 1);
  grid->addWidget(label("電圧の単位"), row, 2);
  grid->addWidget(voltageUnit_, row++, 3);
  grid->addWidget(label("電圧端子間距離(m)"), row, 0);
  grid->addWidget(tap_, row++, 1);
  grid->addWidget(label("幅(m)"), row, 0);
  grid->addWidget(width_, row, 1);
  grid->addWidget(label("厚さ(m)"), row, 2);
  grid->addWidget(thickness_, row++, 3);
  grid->addWidget(label("背景フィット範囲(最大電流比)"), row, 0);
  grid->addWidget(fraction_, row, 1);
  grid->addWidget(label("電界下限(V/m)"), row, 2);
  grid->addWidget(minField_, row++, 3);
  grid->addWidget(label("温度(K)"), row, 0);
  grid->addWidget(temp_, row, 1);
  grid->addWidget(label("磁場(T)"), row, 2);
  grid->addWidget(field_, row++, 3);
  left->addLayout(grid);
  left->addWidget(label("温度を入力すると計算条件も登録します。"));

  auto* out = new QGridLayout;
  out->addWidget(label("出力データファイル"), 0, 0, 1, 2);
  output_ = edit(kImpOutput);
  auto* outBrowse = NameControl(new QPushButton(QStringLiteral("参照"), this), kImpOutputBrowse);
  outBrowse->setAutoDefault(false);
  out->addWidget(output_, 1, 0);
  out->addWidget(outBrowse, 1, 1);
  left->addLayout(out);

  summary_ = label("", kImpSummary);
  summary_->setWordWrap(true);
  summary_->setMinimumHeight(36);
  left->addWidget(summary_);

  auto* import = NameControl(new QPushButton(QStringLiteral("取り込み"), this), kImpImport);
  import->setDefault(true);
  auto* cancel = NameControl(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), kImpCancel);
  cancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(import);
  buttons->addWidget(cancel);
  buttons->addStretch();
  left->addStretch();
  left->addLayout(buttons);

  measuredPlot_ = label("", kImpMeasuredPlot);
  convertedPlot_ = label("", kImpConvertedPlot);
  for (QLabel* plot : {measuredPlot_, convertedPlot_}) {
    plot->setFixedSize(kImportPlotWidth, kImportPlotHeight);
    right->addWidget(plot);
  }
  right->addStretch();

  connect(browse, &QPushButton::clicked, this, &ImportDialog::Browse);
  connect(outBrowse, &QPushButton::clicked, this, &ImportDialog::BrowseOutput);
  connect(import, &QPushButton::clicked, this, &ImportDialog::ImportClicked);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(kind_, &QComboBox::currentIndexChanged, this, &ImportDialog::KindChanged);
  for (QComboBox* c : {xColumn_, yColumn_})
    connect(c, &QComboBox::currentIndexChanged, this, &ImportDialog::ColumnsChanged);
  for (QComboBox* c : {currentUnit_, voltageUnit_})
    connect(c, &QComboBox::currentIndexChanged, this, &ImportDialog::Update);
  for (QLineEdit* e : {tap_, width_, thickness_, fraction_, minField_})
    connect(e, &QLineEdit::textChanged, this, &ImportDialog::Update);
}

ImportKind ImportDialog::Kind() const {
  return kind_->currentIndex() == 1 ? ImportKind::IcbToJcb : ImportKind::ViToEj;
}

QString ImportDialog::XLabel() const {
  return Kind() == ImportKind::ViToEj ? QStringLiteral("電流の列") : QStringLiteral("磁場の列");
}

QString ImportDialog::YLabel() const {
  return Kind() == ImportKind::ViToEj ? QStringLiteral("電圧の列") : QStringLiteral("電流の列");
}

void ImportDialog::Browse() {
  std::optional<QString> path = ThePlatform().OpenFile(
      this, QStringLiteral("測定データファイルを選択"),
      QStringLiteral(
          "テキストファイル (*.txt *.TXT *.dat *.DAT *.csv *.CSV);;すべてのファイル (*)"));
  if (path && !path->isEmpty()) LoadSource(*path);
}

void ImportDialog::BrowseOutput() {
  std::optional<QString> path = ThePlatform().SaveFile(
      this, QStringLiteral("出力データファイルの保存"), QStringLiteral("データファイル(*.dat)"));
  if (!path || path->isEmpty()) return;
  output_->setText(*path);
  confirmedOutput_ = *path;
}

void ImportDialog::LoadSource(const QString& path) {
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
    items << item;
  }
  for (int c : layout_.numericColumns) numeric << items[c];
  if (!layout_.opened)
    columns_->setText(QStringLiteral("ファイルを読み込めません。"));
  else if (layout_.fieldCount == 0)
    columns_->setText(QStringLiteral("数値の行が見つかりません。"));
  else
    columns_->setText(QStringLiteral("列数 %1 / 数値の列 : %2")
                          .arg(layout_.fieldCount)
                          .arg(numeric.join(QStringLiteral(", "))));

  int xc = -1, yc = -1;
  ChooseColumns(layout_, std::nullopt, std::nullopt, xc, yc);
  for (QComboBox* c : {xColumn_, yColumn_}) {
    c->blockSignals(true);
    c->clear();
    c->addItems(items);
  }
  xColumn_->setCurrentIndex(xc);
  yColumn_->setCurrentIndex(yc);
  xColumn_->blockSignals(false);
  yColumn_->blockSignals(false);

  const QString proposed =
      QString::fromStdString(DefaultImportOutputPath(path.toStdString(), Kind()));
  output_->setText(proposed);
  autoOutput_ = proposed;
  confirmedOutput_.clear();
  ColumnsChanged();
}

void ImportDialog::KindChanged() {
  const bool vi = Kind() == ImportKind::ViToEj;
  xLabel_->setText(XLabel());
  yLabel_->setText(YLabel());
  for (QWidget* w : std::initializer_list<QWidget*>{voltageUnit_, tap_, fraction_, minField_})
    w->setEnabled(vi);
  field_->setEnabled(main_.project().Settings.Mode != CalcMode::JcB);
  // A proposed output name follows the kind; one the user typed stays.
  if (!source_.isEmpty() && output_->text() == autoOutput_) {
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
    rows_ = ReadMeasuredColumns(source_.toStdString(), xc, yc, layout_.format);
  Update();
}

// A unit written in the column's name ("I(mA)", "V(uV)") is the likely
// one; the user may still choose another after picking the columns.
void ImportDialog::ChooseUnitsFromNames(int xc, int yc) {
  auto nameOf = [&](int c) {
    return c >= 0 && c < static_cast<int>(layout_.names.size())
               ? layout_.names[static_cast<std::size_t>(c)]
               : std::string();
  };
  const bool vi = Kind() == ImportKind::ViToEj;
  const std::string currentName = nameOf(vi ? xc : yc);
  if (const std::optional<CurrentUnit> u = CurrentUnitInName(currentName))
    currentUnit_->setCurrentIndex(*u == CurrentUnit::mA ? 1 : 0);
  if (!vi) return;
  if (const std::optional<VoltageUnit> u = VoltageUnitInName(nameOf(yc)))
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
  rq.vi.tapLength = EditNumber(tap_->text());
  rq.vi.width = rq.icb.width = EditNumber(width_->text());
  rq.vi.thickness = rq.icb.thickness = EditNumber(thickness_->text());
  bool fractionOk = false;
  rq.vi.backgroundFraction = fraction_->text().trimmed().toDouble(&fractionOk);
  if (!fractionOk) rq.vi.backgroundFraction = -1.0;
  const QString minField = minField_->text().trimmed();
  if (!minField.isEmpty()) {
    // A text that is not a number must not pass as a floor of 0.
    bool ok = false;
    const double v = minField.toDouble(&ok);
    rq.vi.minField = ok ? v : -1.0;
  }
  return rq;
}

ImportOutcome ImportDialog::Compute() const {
  const ImportRequest rq = Request();
  int xc = -1, yc = -1;
  ImportOutcome o;
  o.error = ChooseColumns(layout_, rq.xColumn, rq.yColumn, xc, yc);
  if (o.error != ImportError::None) return o;
  return ConvertRows(rq, layout_, rows_, xc, yc);
}

QString ImportDialog::ErrorText(ImportError e) const {
  const QString bad = QStringLiteral("不正な値の入力 : ");
  switch (e) {
    case ImportError::None:
      return {};
    case ImportError::Unreadable:
      return QStringLiteral("読み込めません : 測定データファイル");
    case ImportError::NoRows:
      return QStringLiteral("数値の行がありません : 測定データファイル");
    case ImportError::XColumn:
      return bad + XLabel();
    case ImportError::YColumn:
      return bad + YLabel();
    case ImportError::TapLength:
      return bad + QStringLiteral("電圧端子間距離");
    case ImportError::Width:
      return bad + QStringLiteral("幅");
    case ImportError::Thickness:
      return bad + QStringLiteral("厚さ");
    case ImportError::BackgroundFraction:
      return bad + QStringLiteral("背景フィット範囲");
    case ImportError::MinField:
      return bad + QStringLiteral("電界下限");
    case ImportError::NothingKept:
      return QStringLiteral("書き込む点がありません : ") +
             (Kind() == ImportKind::ViToEj ? QStringLiteral("電界下限") : YLabel());
  }
  return {};
}

void ImportDialog::Update() {
  if (source_.isEmpty()) {
    preview_ = ImportOutcome{};
    summary_->setText(QStringLiteral("測定データファイルを選んでください。"));
  } else {
    preview_ = Compute();
    QString text;
    if (preview_.error != ImportError::None) {
      text = ErrorText(preview_.error);
    } else if (Kind() == ImportKind::ViToEj) {
      const ViImport& r = preview_.vi;
      text = QStringLiteral(
                 "採用 %1 点 / 除外 %2 点 / 数値でない行 %3\n背景 V = a + b·I : a = %4 V, "
                 "b = %5 V/A / 電界下限 %6 V/m")
                 .arg(r.keptCount)
                 .arg(r.droppedCount)
                 .arg(preview_.source.skippedLines)
                 .arg(Sci(r.offset), Sci(r.slope), Sci(r.minField));
      if (r.flipped) text += QStringLiteral(" / 電圧の符号を反転");
      if (r.backgroundRises)
        text += QStringLiteral("\n背景フィット範囲に転移が含まれている可能性があります。");
    } else {
      text = QStringLiteral("採用 %1 点 / 除外 %2 点 / 数値でない行 %3")
                 .arg(preview_.icb.keptCount)
                 .arg(preview_.icb.droppedCount)
                 .arg(preview_.source.skippedLines);
    }
    summary_->setText(text);
  }
  const ImportRequest rq = Request();
  measuredPlot_->setPixmap(QPixmap::fromImage(DrawMeasuredPlot(rq, rows_)));
  convertedPlot_->setPixmap(QPixmap::fromImage(DrawConvertedPlot(rq.kind, preview_)));
}

void ImportDialog::ImportClicked() {
  if (source_.isEmpty()) {
    RefuseInput(QStringLiteral("測定データファイル"), QStringLiteral("エラー"));
    return;
  }
  // The file may have changed since it was chosen.
  ColumnsChanged();
  const ImportOutcome o = preview_;
  if (o.error != ImportError::None) {
    ShowWarning(this, ErrorText(o.error), QStringLiteral("エラー"));
    return;
  }
  std::optional<ImportedCondition> cond;
  const bool ej = main_.project().Settings.Mode != CalcMode::JcB;
  if (!temp_->text().trimmed().isEmpty() || (ej && !field_->text().trimmed().isEmpty())) {
    ImportedCondition c;
    c.temp = EditNumber(temp_->text());
    if (!(c.temp > 0.0 && c.temp < 400.0)) {
      RefuseInput(QStringLiteral("温度"), QStringLiteral("エラー"));
      return;
    }
    if (ej) {
      c.magField = EditNumber(field_->text());
      if (!(c.magField > 0.0 && c.magField < 100.0)) {
        RefuseInput(QStringLiteral("磁場"), QStringLiteral("エラー"));
        return;
      }
    }
    cond = c;
  }
  const QString out = output_->text().trimmed();
  const QFileInfo outInfo(out);
  // Writing over the measured file would lose it.
  if (out.isEmpty() || outInfo.isDir() || SameFile(out.toStdString(), source_.toStdString())) {
    RefuseInput(QStringLiteral("出力データファイル"), QStringLiteral("エラー"));
    return;
  }
  if (outInfo.exists() && out != confirmedOutput_ &&
      ShowMessage(this, out + QStringLiteral("\nは既に存在します。上書きしますか？"), kCaption,
                  MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
    return;
  if (const std::string refused = CheckPathEntry(out.toStdString()); !refused.empty()) {
    ShowWarning(this, QString::fromStdString(refused), QStringLiteral("エラー"));
    return;
  }
  if (!WriteFileAtomically(out.toStdString(), o.bytes)) {
    ShowWarning(this, QStringLiteral("データファイルを書き込めません。\n") + out,
                QStringLiteral("エラー"));
    return;
  }
  if (const std::string refused = RegisterImportedData(main_.document(), out.toStdString(), cond);
      !refused.empty()) {
    ShowWarning(this, QString::fromStdString(refused), QStringLiteral("エラー"));
    return;
  }
  accept();
}

}  // namespace zx
