// The import dialog of measured tables and the question before a raw table
// is registered as a data file.
#include "ui/import_dialog.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <cmath>

#include "dialog_fixture.h"
#include "model/series_file.h"

namespace zx::test {
namespace {

class ImportDialogs : public DialogTest {
 protected:
  // A 77 K file: header lines, TAB separated, current in A, voltage in uV
  // with an offset of 0.05 uV, the transition above 60 A.
  QString WriteLabFile(const QString& name) {
    QByteArray t = "Sample: tape 1\nOperator: x\nI\tV\tT\nA\tuV\tK\n";
    for (int k = 1; k <= 40; ++k) {
      const double amps = 2.5 * k;
      const double uv = 0.05 + (amps > 60 ? 0.1 * (amps - 60) : 0.0);
      t += QByteArray::number(amps, 'g', 17) + "\t" + QByteArray::number(uv, 'g', 17) + "\t77\n";
    }
    t += "測定終了\n";
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(t);
    return Path(name);
  }

  // A logger sweep at `kelvin`: time first, a units line, uV.
  QString WriteLogger(const QString& name, double kelvin) {
    QByteArray t = "datetime t_s iHTS_A vHTS_V tHTS_K tTAR_K\ns A uV K\n";
    for (int k = 0; k <= 200; ++k) {
      const double amps = 0.45 * k;
      const double uv = 2.0 + 0.001 * amps + std::pow(amps / 80.0, 25) + (k % 2 ? 0.005 : -0.005);
      t += "2024-05-01 10:00:00 " + QByteArray::number(k) + " " +
           QByteArray::number(amps, 'g', 17) + " " + QByteArray::number(uv, 'g', 17) + " " +
           QByteArray::number(kelvin) + " 61\n";
    }
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(t);
    return Path(name);
  }

  ImportDialog* OpenImport(MainWindow& w) {
    w.Command(kCmdImportMeasured);
    return qobject_cast<ImportDialog*>(Dialog(DialogKind::Import));
  }

  ImportDialog* OpenWithLabFile(MainWindow& w, const QString& raw) {
    ImportDialog* d = OpenImport(w);
    if (!d) return nullptr;
    platform.files.push_back(raw);
    Click(d, "browseButton");
    return d;
  }
};

void SetSample(Project& p) {
  p.Params.T_c = 92.0;
  p.Params.Length = 0.05;
  p.Params.Width = 4e-3;
  p.Params.Thickness = 1e-6;
}

TEST_F(ImportDialogs, ShowsColumnsAndDefaultsAndRegistersTheWrittenFile) {
  MainWindow& w = StartWith(0, {}, SetSample);
  ImportDialog* d = OpenImport(w);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("測定データ取り込み"));
  EXPECT_TRUE(w.dialogs().IsOpen(DialogKind::Import));
  w.Command(kCmdImportMeasured);
  EXPECT_EQ(DialogCount(DialogKind::Import), 1);
  // Width and thickness from the panel; the sample length is no tap length.
  EXPECT_EQ(Text(d, "widthEdit"), QStringLiteral("4e-3"));
  EXPECT_EQ(Text(d, "thicknessEdit"), QStringLiteral("1e-6"));
  EXPECT_EQ(Text(d, "tapLengthEdit"), QString());
  EXPECT_EQ(Text(d, "backgroundFractionEdit"), QStringLiteral("0.5"));

  const QString raw = WriteLabFile(QStringLiteral("lab 77K.txt"));
  platform.files.push_back(raw);
  Click(d, "browseButton");
  EXPECT_EQ(Text(d, "sourceEdit"), raw);
  EXPECT_TRUE(Child<QPlainTextEdit>(d, "previewText")->toPlainText().startsWith("Sample: tape 1"));
  auto* x = Child<QComboBox>(d, "xColumnCombo");
  auto* y = Child<QComboBox>(d, "yColumnCombo");
  ASSERT_EQ(x->count(), 3);
  // Names from the header, units from the units line below it.
  EXPECT_EQ(x->itemText(1), QStringLiteral("1 : V [uV]"));
  EXPECT_EQ(Child<QComboBox>(d, "tempColumnCombo")->currentIndex(), 3);  // T [K]
  EXPECT_EQ(x->currentIndex(), 0);
  EXPECT_EQ(y->currentIndex(), 1);
  EXPECT_EQ(Text(d, "outputEdit"), Path(QStringLiteral("lab 77K_EJ.dat")));

  // The units line names the voltage unit; the current is in A.
  EXPECT_EQ(Child<QComboBox>(d, "voltageUnitCombo")->currentIndex(), 2);
  EXPECT_EQ(Child<QComboBox>(d, "currentUnitCombo")->currentIndex(), 0);
  Child<QComboBox>(d, "voltageUnitCombo")->setCurrentIndex(2);  // uV
  SetText(d, "tapLengthEdit", QStringLiteral("0.01"));
  SetText(d, "minFieldEdit", QStringLiteral("1e-6"));
  // 16 points above 60 A; 24 at or below it.
  EXPECT_EQ(d->Preview().error, ImportError::None);
  EXPECT_EQ(d->Preview().vi.keptCount, 16);
  EXPECT_NEAR(d->Preview().vi.offset, 0.05e-6, 1e-15);
  EXPECT_TRUE(Child<QLabel>(d, "summaryLabel")
                  ->text()
                  .startsWith(QStringLiteral("採用 16 点 / 除外 24 点")));
  EXPECT_FALSE(Child<QLabel>(d, "convertedPlot")->pixmap().isNull());

  Click(d, "importButton");
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  EXPECT_EQ(Dialog(DialogKind::Import), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Import));
  ASSERT_EQ(w.project().DataFiles.Count(), 1);
  const std::string out = Path(QStringLiteral("lab 77K_EJ.dat")).toStdString();
  EXPECT_EQ(w.project().DataFiles.items[0].Path, out);
  EXPECT_TRUE(w.project().CalcConds.Empty());
  EXPECT_EQ(w.listsPanel()->dataList()->rowCount(), 1);
  std::vector<double> js, es;
  ASSERT_TRUE(ReadSeriesFile(w.viewState().View, w.viewState().DataSeries.items[0], &js, &es));
  ASSERT_EQ(js.size(), 16u);
  EXPECT_NEAR(js[0], 62.5 / 4e-9, 1e3);
  EXPECT_NEAR(es[0], 0.25e-6 / 0.01, 1e-12);
}

TEST_F(ImportDialogs, TemperatureAndFieldRegisterAConditionAndExistingFilesAreAskedFor) {
  MainWindow& w = StartWith(0, {}, SetSample);
  const QString raw = WriteLabFile(QStringLiteral("run.dat"));
  const QString out = Path(QStringLiteral("run_EJ.dat"));
  QFile existing(out);
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("keep me\n");
  existing.close();

  ImportDialog* d = OpenWithLabFile(w, raw);
  ASSERT_NE(d, nullptr);
  Child<QComboBox>(d, "voltageUnitCombo")->setCurrentIndex(2);
  SetText(d, "tapLengthEdit", QStringLiteral("0.01"));
  SetText(d, "tempEdit", QStringLiteral("77"));
  SetText(d, "fieldEdit", QStringLiteral("0.5"));
  platform.answers.push_back(MsgAnswer::No);
  Click(d, "importButton");
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(LastMessage().endsWith(QStringLiteral("は既に存在します。上書きしますか？")));
  EXPECT_EQ(platform.messages.back().buttons, MsgButtons::YesNo);
  EXPECT_TRUE(w.project().DataFiles.Empty());
  ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
  EXPECT_EQ(existing.readAll(), QByteArray("keep me\n"));
  existing.close();

  platform.answers.push_back(MsgAnswer::Yes);
  Click(d, "importButton");
  ASSERT_EQ(w.project().DataFiles.Count(), 1);
  ASSERT_EQ(w.project().CalcConds.Count(), 1);
  const RegistryEntry& c = w.project().CalcConds.items[0];
  EXPECT_EQ(c.RelatedDatFileNo, 0);
  EXPECT_EQ(c.Temp, 77.0);
  EXPECT_EQ(c.MagField, 0.5);
  // In the project's folder, named after the data file, never the data file.
  EXPECT_EQ(c.OutpFilePath, Path(QStringLiteral("run_EJ_result.dat")).toStdString());
  EXPECT_EQ(w.listsPanel()->list(ListKind::CalcConds)->rowCount(), 1);
}

TEST_F(ImportDialogs, ErrorsNameTheFieldAndWriteNothing) {
  MainWindow& w = StartWith(0, {}, SetSample);
  ImportDialog* d = OpenImport(w);
  Click(d, "importButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : 測定データファイル"));

  platform.files.push_back(WriteLabFile(QStringLiteral("lab.txt")));
  Click(d, "browseButton");
  const QString out = Path(QStringLiteral("lab_EJ.dat"));
  Click(d, "importButton");  // no tap length
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : 電圧端子間距離"));
  SetText(d, "tapLengthEdit", QStringLiteral("0.01"));
  SetText(d, "thicknessEdit", QStringLiteral("0"));
  Click(d, "importButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : 厚さ"));
  SetText(d, "thicknessEdit", QStringLiteral("1e-6"));
  SetText(d, "minFieldEdit", QStringLiteral("1e9"));
  Click(d, "importButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("書き込む点がありません : 電界下限"));
  SetText(d, "minFieldEdit", QString());
  SetText(d, "tempEdit", QStringLiteral("77"));  // a field is needed in E-J mode
  Click(d, "importButton");
  EXPECT_TRUE(LastMessage().startsWith(QStringLiteral("不正な値の入力 : 磁場\n")));
  SetText(d, "tempEdit", QString());
  SetText(d, "outputEdit", Path(QStringLiteral("lab.txt")));
  Click(d, "importButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : 出力データファイル"));
  EXPECT_FALSE(QFileInfo::exists(out));
  EXPECT_TRUE(w.project().DataFiles.Empty());
  EXPECT_NE(Dialog(DialogKind::Import), nullptr);

  // Ic-B: other labels, other output name, no voltage settings.
  SetText(d, "outputEdit", out);
  Child<QComboBox>(d, "kindCombo")->setCurrentIndex(1);
  EXPECT_EQ(Text(d, "outputEdit"), Path(QStringLiteral("lab_JcB.dat")));
  EXPECT_FALSE(Child<QWidget>(d, "tapLengthEdit")->isEnabled());
  EXPECT_EQ(d->Preview().error, ImportError::None);
  EXPECT_EQ(d->Preview().icb.keptCount, 40);
}

TEST_F(ImportDialogs, LengthsAreWholeNumbersAndTypedPathsAreRead) {
  MainWindow& w = StartWith(0, {}, SetSample);
  ImportDialog* d = OpenImport(w);
  // A typed path is read as a chosen one; a missing file is refused.
  SetText(d, "sourceEdit", Path(QStringLiteral("missing.txt")));
  Click(d, "importButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("読み込めません : 測定データファイル"));
  const QString raw = WriteLabFile(QStringLiteral("lab.txt"));
  SetText(d, "sourceEdit", raw);
  // Enter reads the typed file; it does not import yet.
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  const int before = MessageCount();
  QCoreApplication::sendEvent(Child<QLineEdit>(d, "sourceEdit"), &enter);
  EXPECT_EQ(MessageCount(), before);
  EXPECT_TRUE(Child<QPlainTextEdit>(d, "previewText")->toPlainText().startsWith("Sample: tape 1"));
  // "1mm" was once read as 1 m: E 1000 times too small.
  for (const char* text : {"1mm", "5 mm", "1,5e-3", "1e-3m", "0x1p-10"}) {
    SCOPED_TRACE(text);
    SetText(d, "tapLengthEdit", QString::fromUtf8(text));
    EXPECT_EQ(d->Preview().error, ImportError::TapLength);
    const int before = MessageCount();
    Click(d, "importButton");
    EXPECT_EQ(MessageCount(), before + 1);
    EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : 電圧端子間距離"));
  }
  SetText(d, "tapLengthEdit", QStringLiteral(" 1e-3 "));
  EXPECT_EQ(d->Preview().error, ImportError::None);
  SetText(d, "widthEdit", QStringLiteral("4mm"));
  EXPECT_EQ(d->Preview().error, ImportError::Width);
  EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("lab_EJ.dat"))));
  EXPECT_TRUE(w.project().DataFiles.Empty());
}

TEST_F(ImportDialogs, SeveralLoggerFilesRegisterWithTheirColumnTemperatures) {
  MainWindow& w = StartWith(0, {}, SetSample);
  ImportDialog* d = OpenImport(w);
  const QString a = WriteLogger(QStringLiteral("a.txt"), 60),
                b = WriteLogger(QStringLiteral("b.txt"), 70.5);
  platform.files.push_back(a + QStringLiteral("\n") + b);
  Click(d, "browseButton");
  auto* files = Child<QTableWidget>(d, "fileTable");
  ASSERT_EQ(files->rowCount(), 2);
  // Current and voltage by name and unit; the time is never the current.
  EXPECT_EQ(Child<QComboBox>(d, "xColumnCombo")->currentIndex(), 2);
  EXPECT_EQ(Child<QComboBox>(d, "yColumnCombo")->currentIndex(), 3);
  EXPECT_EQ(Child<QComboBox>(d, "voltageUnitCombo")->currentIndex(), 2);  // uV
  EXPECT_EQ(Child<QComboBox>(d, "tempColumnCombo")->currentIndex(), 5);   // column 4 (tHTS_K)
  SetText(d, "tapLengthEdit", QStringLiteral("0.01"));
  EXPECT_EQ(d->Preview().error, ImportError::None);
  EXPECT_EQ(files->item(0, 1)->text(), QStringLiteral("60.000"));
  EXPECT_EQ(files->item(0, 2)->text(), QString::number(d->Preview().vi.keptCount));
  // The cut is shown in the summary.
  EXPECT_TRUE(Child<QLabel>(d, "summaryLabel")->text().contains(QStringLiteral("切断 : ")));
  // A typed temperature in the table wins over the column.
  files->item(1, 1)->setText(QStringLiteral("71"));
  SetText(d, "fieldEdit", QStringLiteral("0.5"));
  Click(d, "importButton");
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  ASSERT_EQ(w.project().DataFiles.Count(), 2);
  ASSERT_EQ(w.project().CalcConds.Count(), 2);
  EXPECT_EQ(w.project().DataFiles.items[1].Path, Path(QStringLiteral("b_EJ.dat")).toStdString());
  EXPECT_DOUBLE_EQ(w.project().CalcConds.items[0].Temp, 60.0);
  EXPECT_DOUBLE_EQ(w.project().CalcConds.items[1].Temp, 71.0);
  EXPECT_DOUBLE_EQ(w.project().CalcConds.items[1].MagField, 0.5);
}

TEST_F(ImportDialogs, ModeFieldAndTemperatureQuestionsSayWhy) {
  MainWindow& w = StartWith(0, {}, SetSample);
  ImportDialog* d = OpenWithLabFile(w, WriteLabFile(QStringLiteral("lab.txt")));
  SetText(d, "tapLengthEdit", QStringLiteral("0.01"));
  SetText(d, "tempEdit", QStringLiteral("77"));
  SetText(d, "fieldEdit", QStringLiteral("0"));
  Click(d, "importButton");
  EXPECT_TRUE(LastMessage().contains(QStringLiteral("磁場 0 T では計算できません")));
  // At or above Tc the model gives nothing: asked, いいえ by default.
  SetText(d, "fieldEdit", QStringLiteral("0.1"));
  SetText(d, "tempEdit", QStringLiteral("95"));
  Click(d, "importButton");
  EXPECT_TRUE(LastMessage().contains(QStringLiteral("臨界温度 Tc")));
  EXPECT_EQ(platform.messages.back().buttons, MsgButtons::YesNoDefaultNo);
  EXPECT_TRUE(w.project().DataFiles.Empty());
  // Ic-B data in an E-J project: the mode changes only when the user agrees.
  SetText(d, "tempEdit", QStringLiteral("20"));
  Child<QComboBox>(d, "kindCombo")->setCurrentIndex(1);
  Click(d, "importButton");
  EXPECT_TRUE(LastMessage().contains(QStringLiteral("Jc-B計算")));
  // The change clears the registries: いいえ by default.
  EXPECT_EQ(platform.messages.back().buttons, MsgButtons::YesNoDefaultNo);
  EXPECT_EQ(w.project().Settings.Mode, CalcMode::EJ);
  EXPECT_TRUE(w.project().DataFiles.Empty());
  platform.answers.push_back(MsgAnswer::Yes);
  Click(d, "importButton");
  EXPECT_EQ(w.project().Settings.Mode, CalcMode::JcB);
  ASSERT_EQ(w.project().CalcConds.Count(), 1);
  EXPECT_DOUBLE_EQ(w.project().CalcConds.items[0].Temp, 20.0);
}

TEST_F(ImportDialogs, TheKindChosenAfterLoadingChoosesItsColumnsAndHeadersGiveTheCondition) {
  MainWindow& w = StartWith(0, {}, SetSample);
  ImportDialog* d = OpenImport(w);
  // An Ic-B table read as V-I first: the current is its x column there.
  QFile f(Path(QStringLiteral("icb.txt")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("Temperature (K)\t20\nB(T)\tIc(A)\n0.5\t300\n1\t200\n2\t120\n");
  f.close();
  platform.files.push_back(f.fileName());
  Click(d, "browseButton");
  EXPECT_EQ(Child<QComboBox>(d, "xColumnCombo")->currentIndex(), 1);
  Child<QComboBox>(d, "kindCombo")->setCurrentIndex(1);
  EXPECT_EQ(Child<QComboBox>(d, "xColumnCombo")->currentIndex(), 0);  // B
  EXPECT_EQ(Child<QComboBox>(d, "yColumnCombo")->currentIndex(), 1);  // Ic
  EXPECT_DOUBLE_EQ(d->Preview().icb.b.front(), 0.5);
  // The header's temperature fills the row and the summary says so.
  EXPECT_EQ(Child<QTableWidget>(d, "fileTable")->item(0, 1)->text(), QStringLiteral("20.000"));
  EXPECT_TRUE(Child<QLabel>(d, "summaryLabel")->text().contains(QStringLiteral("（ヘッダー）")));
}

TEST_F(ImportDialogs, RawTablesAreRegisteredOnlyWhenConfirmed) {
  MainWindow& w = StartWith(0);
  // Volts against amperes with a negative thermal offset: the low-current
  // points fall below zero and vanish on the logarithmic axis.
  const QString raw = Path(QStringLiteral("raw.txt"));
  QFile rf(raw);
  ASSERT_TRUE(rf.open(QIODevice::WriteOnly));
  rf.write("I (A)\tV (V)\n");
  for (int k = 1; k <= 10; ++k)
    rf.write(QByteArray::number(k) + "\t" + QByteArray::number(k > 7 ? 1e-6 * k : -5e-8) + "\n");
  rf.close();
  w.Command(kCmdRegisterDataFile);
  ModelessDialog* d = Dialog(DialogKind::DataFile);
  platform.files.push_back(raw);
  Click(d, "browseButton");
  platform.answers.push_back(MsgAnswer::No);
  Click(d, "registerButton");
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(LastMessage().contains(QStringLiteral("11 行のうち 8 行から点が得られません")));
  EXPECT_TRUE(LastMessage().contains(QStringLiteral("測定データ取り込み")));
  // いいえ is the default answer.
  EXPECT_EQ(platform.messages.back().buttons, MsgButtons::YesNoDefaultNo);
  EXPECT_TRUE(w.project().DataFiles.Empty());
  EXPECT_EQ(Dialog(DialogKind::DataFile), d);
  platform.answers.push_back(MsgAnswer::Yes);
  Click(d, "registerButton");
  EXPECT_EQ(w.project().DataFiles.Count(), 1);

  // Dropped files ask the same question; a no leaves no dialog behind.
  const QString sweep = Path(QStringLiteral("sweep.dat"));
  QFile f(sweep);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("datetime I V\n2024-05-01 1 1e-6\n2024-05-01 2 2e-6\n2024-05-01 3 3e-6\n");
  f.close();
  platform.answers.push_back(MsgAnswer::No);
  w.HandleDroppedFiles({sweep});
  EXPECT_TRUE(LastMessage().contains(QStringLiteral("1列目の値が増加していません")));
  EXPECT_EQ(w.project().DataFiles.Count(), 1);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::DataFile));
  // A converted file registers without a question.
  const int before = MessageCount();
  w.HandleDroppedFiles({WriteData(QStringLiteral("ok.dat"))});
  EXPECT_EQ(MessageCount(), before);
  EXPECT_EQ(w.project().DataFiles.Count(), 2);
}

}  // namespace
}  // namespace zx::test
