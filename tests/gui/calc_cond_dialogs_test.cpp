// Registration and change of calculation conditions through their dialogs.
#include <QComboBox>
#include <QFile>
#include <QTableWidget>

#include "dialog_fixture.h"
#include "model/output_path.h"

namespace zx::test {
namespace {

using CalcCondDialogs = DialogTest;

TEST(OutputPath, JoinsWithOneSlashAndTheDatRule) {
  EXPECT_EQ(JoinOutputPath("/out", "run1"), "/out/run1.dat");
  EXPECT_EQ(JoinOutputPath("/out/", "run1"), "/out/run1.dat");
  EXPECT_EQ(JoinOutputPath("/out", "run1.txt"), "/out/run1.txt");
  EXPECT_EQ(JoinOutputPath("/out", "run1.dat"), "/out/run1.dat");
  EXPECT_EQ(JoinOutputPath("/out", "run1.TXT"), "/out/run1.TXT.dat");
  EXPECT_EQ(SplitAtLastSlash("/res/a.dat").folder, "/res/");
  EXPECT_EQ(SplitAtLastSlash("/res/a.dat").name, "a.dat");
  EXPECT_EQ(SplitAtLastSlash("a.dat").folder, "");
  EXPECT_EQ(SplitAtLastSlash("a.dat").name, "a.dat");
}

TEST_F(CalcCondDialogs, RegistrationOffersEveryDataFileAndRegistersTheCondition) {
  MainWindow& w = StartWith(3);
  w.Command(kCmdRegisterCalcCond);
  ModelessDialog* d = Dialog(DialogKind::CalcCond);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("計算条件登録"));
  auto* numbers = Child<QComboBox>(d, "dataNumberCombo");
  ASSERT_EQ(numbers->count(), 3);
  EXPECT_EQ(numbers->itemText(0), QStringLiteral("0"));
  EXPECT_EQ(numbers->itemText(2), QStringLiteral("2"));
  EXPECT_EQ(numbers->currentIndex(), 2);
  EXPECT_EQ(Text(d, "folderEdit"), QString::fromStdString(Folder()));
  EXPECT_TRUE(Child<QLineEdit>(d, "folderEdit")->isReadOnly());
  w.Command(kCmdRegisterCalcCond);
  EXPECT_EQ(DialogCount(DialogKind::CalcCond), 1);

  numbers->setCurrentIndex(1);
  SetText(d, "tempEdit", QStringLiteral("77"));
  SetText(d, "fieldEdit", QStringLiteral("5"));
  platform.folders.push_back(QStringLiteral("/out"));
  Click(d, "browseButton");
  ASSERT_EQ(platform.folderStarts.size(), 1u);
  EXPECT_EQ(platform.folderStarts[0], dir.path() + "/");  // the settings file's folder
  SetText(d, "fileNameEdit", QStringLiteral("run1"));
  Click(d, "registerButton");
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  EXPECT_EQ(Dialog(DialogKind::CalcCond), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::CalcCond));

  const Project& p = w.project();
  ASSERT_EQ(p.CalcConds.Count(), 1);
  const RegistryEntry& c = p.CalcConds.items[0];
  EXPECT_EQ(c.OutpFilePath, "/out/run1.dat");
  EXPECT_EQ(c.Path, Folder() + "tmp0.dat");
  EXPECT_EQ(c.RelatedDatFileNo, 1);
  EXPECT_EQ(c.Temp, 77.0);
  EXPECT_EQ(c.MagField, 5.0);
  EXPECT_EQ(w.viewState().CurveSeries.items[0].MarkerColor, CurvePalette[1]);
  EXPECT_TRUE(p.Modified);
  QTableWidget* list = w.listsPanel()->condList();
  ASSERT_EQ(list->rowCount(), 1);
  EXPECT_EQ(Cell(list, 0, 0), QStringLiteral("1"));
  EXPECT_EQ(Cell(list, 0, 2), QStringLiteral("77"));
  EXPECT_EQ(Cell(list, 0, 3), QStringLiteral("5"));
  EXPECT_EQ(Cell(list, 0, 4), QStringLiteral("0"));
  EXPECT_EQ(Cell(list, 0, 5), QStringLiteral("run1.dat"));
}

TEST_F(CalcCondDialogs, ChecksRunInOrderAndStopAtTheFirstFailure) {
  MainWindow& w = StartWith(1);
  w.Command(kCmdRegisterCalcCond);
  ModelessDialog* d = Dialog(DialogKind::CalcCond);
  struct Case {
    QString temp, field, name;
    const char* message;
  };
  const Case cases[] = {
      {"400", "5", "a", "不正な値の入力 : 温度"},
      {"0", "5", "a", "不正な値の入力 : 温度"},
      {"abc", "5", "a", "不正な値の入力 : 温度"},
      {"77", "100", "", "不正な値の入力 : 磁場"},
      {"77", "0", "a", "不正な値の入力 : 磁場"},
      {"77", "5", "", "不正な値の入力 : 出力ファイル名"},
      {"399.9", "99.9", "a", nullptr},
  };
  for (const Case& c : cases) {
    platform.messages.clear();
    SetText(d, "tempEdit", c.temp);
    SetText(d, "fieldEdit", c.field);
    SetText(d, "fileNameEdit", c.name);
    Click(d, "registerButton");
    if (c.message) {
      ASSERT_EQ(MessageCount(), 1) << c.message;
      EXPECT_EQ(LastMessage(), QString::fromUtf8(c.message));
      EXPECT_EQ(platform.messages.back().caption, QStringLiteral("エラー"));
      EXPECT_EQ(Dialog(DialogKind::CalcCond), d);
      EXPECT_EQ(Text(d, "tempEdit"), c.temp);  // the entries stay as typed
      EXPECT_TRUE(w.project().CalcConds.Empty());
    } else {
      EXPECT_EQ(MessageCount(), 0);
      EXPECT_EQ(w.project().CalcConds.Count(), 1);
    }
  }
}

TEST_F(CalcCondDialogs, AResultPathNamingADataFileOrTheProjectIsRefused) {
  MainWindow& w = StartWith(2, {{0, 10, 1, "/res/a.dat"}});
  w.Command(kCmdRegisterCalcCond);
  ModelessDialog* d = Dialog(DialogKind::CalcCond);
  ASSERT_NE(d, nullptr);
  SetText(d, "tempEdit", QStringLiteral("77"));
  SetText(d, "fieldEdit", QStringLiteral("5"));
  // The folder is the program folder, where the data files and the project
  // are; ".dat" is added to a name, so the project is reached by a link.
  ASSERT_TRUE(QFile::link(Path(QStringLiteral("project.zx2")), Path(QStringLiteral("p.dat"))));
  const struct {
    QString name;
    const char* message;
  } cases[] = {{QStringLiteral("d1"), "計算結果出力ファイルにデータファイルは指定できません。"},
               {QStringLiteral("p"), "計算結果出力ファイルに設定ファイルは指定できません。"}};
  for (const auto& c : cases) {
    platform.messages.clear();
    SetText(d, "fileNameEdit", c.name);
    Click(d, "registerButton");
    ASSERT_EQ(MessageCount(), 1);
    EXPECT_EQ(LastMessage(), QString::fromUtf8(c.message));
    EXPECT_EQ(platform.messages.back().caption, QStringLiteral("エラー"));
    EXPECT_EQ(w.project().CalcConds.Count(), 1);
  }
  d->reject();

  OpenCalcCondChangeDialog(w, 0);
  ModelessDialog* change = Dialog(DialogKind::CalcCondChange);
  ASSERT_NE(change, nullptr);
  SetText(change, "folderEdit", QString::fromStdString(Folder()));
  SetText(change, "fileNameEdit", QStringLiteral("d0.dat"));
  platform.messages.clear();
  Click(change, "okButton");
  EXPECT_EQ(LastMessage(), QString::fromUtf8(cases[0].message));
  EXPECT_EQ(w.project().CalcConds.items[0].OutpFilePath, "/res/a.dat");
}

TEST_F(CalcCondDialogs, JcBModeAsksNoFieldAndStoresZero) {
  MainWindow& w = StartWith(1, {}, [](Project& p) { p.Settings.Mode = zx::CalcMode::JcB; });
  w.Command(kCmdRegisterCalcCond);
  ModelessDialog* d = Dialog(DialogKind::CalcCond);
  EXPECT_FALSE(Child<QLineEdit>(d, "fieldEdit")->isEnabled());
  SetText(d, "tempEdit", QStringLiteral("20"));
  SetText(d, "fieldEdit", QStringLiteral("500"));  // ignored: no field check in this mode
  SetText(d, "fileNameEdit", QStringLiteral("jc.txt"));
  Click(d, "registerButton");
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  ASSERT_EQ(w.project().CalcConds.Count(), 1);
  EXPECT_EQ(w.project().CalcConds.items[0].MagField, 0.0);
  EXPECT_EQ(w.project().CalcConds.items[0].OutpFilePath, Folder() + "jc.txt");
  EXPECT_EQ(Cell(w.listsPanel()->condList(), 0, 3), QStringLiteral("?"));
}

TEST_F(CalcCondDialogs, ChangeShowsTheConditionAndRecoloursTheCurve) {
  MainWindow& w = StartWith(5, {{0, 4.25, 1.5, "/res/a.dat"}, {4, 20, 2, "/res/b.dat"}});
  OpenCalcCondChangeDialog(w, 0);
  ModelessDialog* d = Dialog(DialogKind::CalcCondChange);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("計算条件変更ダイアログ"));
  EXPECT_EQ(Text(d, "tempEdit"), QStringLiteral("4.25"));
  EXPECT_EQ(Text(d, "fieldEdit"), QStringLiteral("1.5"));
  EXPECT_EQ(Text(d, "folderEdit"), QStringLiteral("/res/"));
  EXPECT_EQ(Text(d, "fileNameEdit"), QStringLiteral("a.dat"));
  EXPECT_EQ(Child<QComboBox>(d, "dataNumberCombo")->currentIndex(), 0);

  OpenCalcCondChangeDialog(w, 1);  // re-targets the open dialog
  EXPECT_EQ(DialogCount(DialogKind::CalcCondChange), 1);
  EXPECT_EQ(Child<QComboBox>(d, "dataNumberCombo")->currentIndex(), 4);
  EXPECT_EQ(Text(d, "folderEdit"), QStringLiteral("/res/"));
  EXPECT_EQ(Text(d, "fileNameEdit"), QStringLiteral("b.dat"));
  EXPECT_EQ(w.viewState().CurveSeries.items[1].MarkerColor, (Rgb{255, 200, 100}));

  SetCorrCoef(w.paintState(), w.project().CalcConds.items[1], 0.9);
  Child<QComboBox>(d, "dataNumberCombo")->setCurrentIndex(0);
  Click(d, "okButton");
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  EXPECT_EQ(Dialog(DialogKind::CalcCondChange), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::CalcCondChange));
  const Project& p = w.project();
  EXPECT_EQ(p.CalcConds.items[1].RelatedDatFileNo, 0);
  EXPECT_EQ(p.CalcConds.items[1].OutpFilePath, "/res/b.dat");
  EXPECT_EQ(CorrCoefOf(w.viewState(), p.CalcConds.items[1]), 0.0);
  EXPECT_EQ(p.CalcConds.items[1].Path, Folder() + "tmp1.dat");
  EXPECT_TRUE(p.Modified);
  // The curve takes the light colour of its new data file at once.
  EXPECT_EQ(w.viewState().CurveSeries.items[1].MarkerColor, (Rgb{255, 150, 150}));
  EXPECT_EQ(Cell(w.listsPanel()->condList(), 1, 0), QStringLiteral("0"));
  EXPECT_EQ(Cell(w.listsPanel()->condList(), 1, 4), QStringLiteral("0"));

  const QString saved = Path(QStringLiteral("saved.zx2"));
  ASSERT_TRUE(WriteSettings(w.project(), saved.toStdString()));
  ASSERT_TRUE(w.LoadProject(saved));
  EXPECT_EQ(w.viewState().CurveSeries.items[1].MarkerColor, (Rgb{255, 150, 150}));
}

TEST_F(CalcCondDialogs, ChangeRequiresADataFileSelectionAndClosesWithItsEntry) {
  MainWindow& w = StartWith(2, {{-1, 10, 1, "/res/orphan.dat"}, {1, 20, 2, "/res/b.dat"}});
  OpenCalcCondChangeDialog(w, 0);
  ModelessDialog* d = Dialog(DialogKind::CalcCondChange);
  EXPECT_EQ(Child<QComboBox>(d, "dataNumberCombo")->currentIndex(), -1);
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : 関連付けデータファイル番号"));
  EXPECT_EQ(w.project().CalcConds.items[0].RelatedDatFileNo, -1);
  ASSERT_NE(Dialog(DialogKind::CalcCondChange), nullptr);

  Select(ListKind::CalcConds, {0});
  w.Command(kCmdDeleteCalcConds);
  EXPECT_EQ(Dialog(DialogKind::CalcCondChange), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::CalcCondChange));
}

}  // namespace
}  // namespace zx::test
