// A first session from end to end, through the real widgets: register a
// measured file and a condition, fit with a slider, run the calculation,
// save, reopen, and switch to Jc-B mode.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>

#include "dialog_fixture.h"
#include "model/text_file.h"

namespace zx::test {
namespace {

using EndToEnd = DialogTest;

// Header lines ('#') and data lines of a text file; false when unreadable.
bool CountLines(const QString& path, int& header, int& data) {
  std::string bytes;
  if (!ReadWholeFile(path.toStdString(), bytes)) return false;
  header = data = 0;
  bool inHeader = true;
  for (const std::string& line : SplitLines(bytes)) {
    if (line.empty()) continue;
    if (line[0] == '#' && inHeader) {
      ++header;
    } else {
      inHeader = false;
      ++data;
    }
  }
  return true;
}

TEST_F(EndToEnd, FromAnEmptyFolderToAResultFileAndBack) {
  const QString examples = QStringLiteral(ZX_SOURCE_DIR "/examples/ej/");
  const QString dataFile = Path(QStringLiteral("measured-20K.dat"));
  const QString resultFolder = Path(QStringLiteral("results"));
  const QString resultFile = resultFolder + QStringLiteral("/fit-20K.dat");
  const QString savedProject = Path(QStringLiteral("saved.zx2"));
  ASSERT_TRUE(QFile::copy(examples + QStringLiteral("mgb2-20K-1T.dat"), dataFile))
      << "the example data file is missing";
  ASSERT_TRUE(QDir().mkpath(resultFolder));

  {
    SCOPED_TRACE("start with an empty program folder");
    MainWindow& w = Start();
    ASSERT_TRUE(w.StartupOk());
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("ZENTRIX II.zx2"))))
        << "the default settings file was not created";
    ASSERT_TRUE(w.project().DataFiles.Empty());
    ASSERT_TRUE(w.project().CalcConds.Empty());
  }
  MainWindow& w = *window;
  int amPosition = -1;
  QTableWidget* dataList = w.listsPanel()->dataList();
  QTableWidget* condList = w.listsPanel()->condList();

  {
    SCOPED_TRACE("register a data file through the registration dialog");
    w.Command(kCmdRegisterDataFile);
    ModelessDialog* d = Dialog(DialogKind::DataFile);
    ASSERT_NE(d, nullptr) << "command 40003 opened no registration dialog";
    platform.files.push_back(dataFile);
    Click(d, "browseButton");  // browse
    EXPECT_EQ(Text(d, "pathEdit"), dataFile);
    Click(d, "registerButton");  // register
    ASSERT_EQ(MessageCount(), 0) << LastMessage().toStdString();
    EXPECT_EQ(Dialog(DialogKind::DataFile), nullptr) << "the dialog stayed open";
    ASSERT_EQ(w.project().DataFiles.Count(), 1);
    EXPECT_EQ(w.project().DataFiles.items[0].Path, dataFile.toStdString());
    ASSERT_EQ(dataList->rowCount(), 1);
    EXPECT_EQ(Cell(dataList, 0, 2), QStringLiteral("measured-20K.dat"));
  }

  {
    SCOPED_TRACE("register a condition with temperature, field and output folder");
    w.Command(kCmdRegisterCalcCond);
    ModelessDialog* d = Dialog(DialogKind::CalcCond);
    ASSERT_NE(d, nullptr) << "command 40005 opened no condition dialog";
    SetText(d, "tempEdit", QStringLiteral("20"));
    SetText(d, "fieldEdit", QStringLiteral("1"));
    platform.folders.push_back(resultFolder);
    Click(d, "browseButton");  // browse for the folder
    EXPECT_EQ(Text(d, "folderEdit"), resultFolder);
    SetText(d, "fileNameEdit", QStringLiteral("fit-20K"));
    Click(d, "registerButton");  // register
    ASSERT_EQ(MessageCount(), 0) << LastMessage().toStdString();
    EXPECT_EQ(Dialog(DialogKind::CalcCond), nullptr) << "the dialog stayed open";
    ASSERT_EQ(w.project().CalcConds.Count(), 1);
    const RegistryEntry& c = w.project().CalcConds.items[0];
    EXPECT_EQ(c.RelatedDatFileNo, 0);
    EXPECT_EQ(c.Temp, 20.0);
    EXPECT_EQ(c.MagField, 1.0);
    EXPECT_EQ(c.OutpFilePath, resultFile.toStdString());
    ASSERT_EQ(condList->rowCount(), 1);
  }

  {
    SCOPED_TRACE("move the Am slider and see the correlation change");
    w.PaintNow();
    const QString before = Cell(condList, 0, 4);
    ASSERT_FALSE(before.isEmpty()) << "no correlation after the first repaint";
    EXPECT_NE(before, QStringLiteral("0")) << "the preview did not run";
    auto* am = w.parameterPanel()->findChild<QSlider*>(QStringLiteral("amSlider"));
    ASSERT_NE(am, nullptr) << "no Am slider";
    const double amBefore = w.project().Params.Re_A_m;
    am->setValue(am->value() + 10);
    amPosition = am->value();
    w.PaintNow();
    EXPECT_GT(w.project().Params.Re_A_m, amBefore) << "the slider did not raise Am";
    const QString after = Cell(condList, 0, 4);
    EXPECT_NE(after, before) << "the correlation did not follow the slider";
    EXPECT_TRUE(w.project().Modified);
  }

  {
    SCOPED_TRACE("run the full calculation and wait for its result file");
    w.Command(kCmdStartCalculation);
    QElapsedTimer t;
    t.start();
    while ((w.calculating() || !QFile::exists(resultFile)) && t.elapsed() < 60000) QTest::qWait(20);
    ASSERT_FALSE(w.calculating()) << "the calculation did not end within a minute";
    ASSERT_TRUE(QFile::exists(resultFile)) << "no result file " << resultFile.toStdString();
    int header = 0, data = 0;
    ASSERT_TRUE(CountLines(resultFile, header, data));
    EXPECT_EQ(header, 17) << "result header lines";
    EXPECT_EQ(data, 31) << "grid points: six decades of J at 5 per decade, plus one";
    EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  }

  const Project before = w.project();
  {
    SCOPED_TRACE("save the project as a new file");
    platform.files.push_back(savedProject);
    EXPECT_EQ(w.Command(kCmdSaveAs), 1) << "Save As did not write the file";
    ASSERT_TRUE(QFile::exists(savedProject));
    EXPECT_EQ(w.project().SettingsFilePath, savedProject.toStdString());
  }

  {
    SCOPED_TRACE("a fresh main window on the saved file finds everything back");
    window.reset();
    MainWindow& again = Start(savedProject.toStdString());
    ASSERT_TRUE(again.StartupOk());
    const Project& p = again.project();
    ASSERT_EQ(p.DataFiles.Count(), 1);
    EXPECT_EQ(p.DataFiles.items[0].Path, dataFile.toStdString());
    ASSERT_EQ(p.CalcConds.Count(), 1);
    EXPECT_EQ(p.CalcConds.items[0].Temp, 20.0);
    EXPECT_EQ(p.CalcConds.items[0].MagField, 1.0);
    EXPECT_EQ(p.CalcConds.items[0].OutpFilePath, resultFile.toStdString());
    EXPECT_EQ(p.CalcConds.items[0].RelatedDatFileNo, 0);
    // The file holds seven significant digits.
    EXPECT_NEAR(p.Params.Re_A_m, before.Params.Re_A_m, before.Params.Re_A_m * 1e-6);
    EXPECT_DOUBLE_EQ(p.Params.Sigma_2, before.Params.Sigma_2);
    EXPECT_DOUBLE_EQ(p.Params.Re_Gamma, before.Params.Re_Gamma);
    EXPECT_DOUBLE_EQ(p.Params.Re_m, before.Params.Re_m);
    EXPECT_DOUBLE_EQ(p.Params.Re_g_2, before.Params.Re_g_2);
    EXPECT_EQ(p.Settings.MiniRe_Am, before.Settings.MiniRe_Am);
    EXPECT_EQ(p.Settings.MaxRe_Am, before.Settings.MaxRe_Am);
    EXPECT_EQ(p.Settings.JIni, before.Settings.JIni);
    EXPECT_EQ(p.Settings.JFin, before.Settings.JFin);
    EXPECT_EQ(p.Settings.JStepLevel, before.Settings.JStepLevel);
    EXPECT_EQ(again.listsPanel()->dataList()->rowCount(), 1);
    EXPECT_EQ(again.listsPanel()->condList()->rowCount(), 1);
    auto* am = again.parameterPanel()->findChild<QSlider*>(QStringLiteral("amSlider"));
    ASSERT_NE(am, nullptr);
    // The position is taken again from the stored value, truncated: a
    // value written with seven digits may land one step lower.
    EXPECT_NEAR(am->value(), amPosition, 1) << "the Am slider is not where it was left";
    again.PaintNow();
    EXPECT_FALSE(Cell(again.listsPanel()->condList(), 0, 4).isEmpty());
  }

  {
    SCOPED_TRACE("switch to Jc-B mode and confirm the question");
    MainWindow& again = *window;
    platform.messages.clear();
    again.Command(kCmdModeChange);
    ModelessDialog* d = Dialog(DialogKind::Mode);
    ASSERT_NE(d, nullptr) << "command 40018 opened no mode dialog";
    Click(d, "jcbRadio");  // Jc-B
    platform.answers.push_back(MsgAnswer::Yes);
    Click(d, "okButton");  // OK
    ASSERT_EQ(MessageCount(), 1) << "the switch asked no question";
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    const Project& p = again.project();
    EXPECT_EQ(p.Settings.Mode, CalcMode::JcB);
    EXPECT_TRUE(p.DataFiles.Empty());
    EXPECT_TRUE(p.CalcConds.Empty());
    EXPECT_EQ(again.StatusText(1), QStringLiteral("Jc-B計算モード"));
    EXPECT_EQ(again.viewState().View.X.Title, "B(T)");
  }
}

}  // namespace
}  // namespace zx::test
