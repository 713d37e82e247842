// Registration and rename of data files through their dialogs.
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>

#include "dialog_fixture.h"

namespace zx::test {
namespace {

using DataFileDialogs = DialogTest;

TEST_F(DataFileDialogs, RegistrationRefusesEmptyPathThenRegistersChosenFile) {
  MainWindow& w = StartWith(0);
  w.Command(kCmdRegisterDataFile);
  ModelessDialog* d = Dialog(DialogKind::DataFile);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("データファイル登録"));
  EXPECT_TRUE(w.dialogs().IsOpen(DialogKind::DataFile));
  w.Command(kCmdRegisterDataFile);  // open already: no second one
  EXPECT_EQ(DialogCount(DialogKind::DataFile), 1);

  Click(d, "registerButton");
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : データファイルパス"));
  EXPECT_EQ(platform.messages.back().caption, QStringLiteral("エラー"));
  EXPECT_EQ(platform.messages.back().icon, MsgIcon::Warning);
  EXPECT_EQ(Dialog(DialogKind::DataFile), d);
  EXPECT_TRUE(w.project().DataFiles.Empty());

  const QString file = WriteData(QStringLiteral("first.dat"));
  platform.files.push_back(file);
  Click(d, "browseButton");
  ASSERT_EQ(platform.fileFilters.size(), 1u);
  EXPECT_TRUE(platform.fileFilters[0].startsWith(
      QStringLiteral("テキストファイル(*.txt), データファイル(*.dat)")));
  EXPECT_TRUE(platform.fileFilters[0].contains(QStringLiteral("*.TXT")));
  EXPECT_EQ(platform.fileTitles[0], QStringLiteral("データファイルを選択"));
  EXPECT_EQ(Text(d, "pathEdit"), file);

  Click(d, "registerButton");
  EXPECT_EQ(Dialog(DialogKind::DataFile), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::DataFile));
  ASSERT_EQ(w.project().DataFiles.Count(), 1);
  EXPECT_EQ(w.project().DataFiles.items[0].Path, file.toStdString());
  EXPECT_EQ(w.viewState().DataSeries.items[0].MarkerColor, (Rgb{255, 0, 0}));
  EXPECT_TRUE(w.project().Modified);
  EXPECT_TRUE(w.viewState().View.RescalePending);
  QTableWidget* list = w.listsPanel()->dataList();
  ASSERT_EQ(list->rowCount(), 1);
  EXPECT_EQ(Cell(list, 0, 0), QStringLiteral("0"));
  EXPECT_EQ(Cell(list, 0, 1), QStringLiteral("0"));
  EXPECT_EQ(Cell(list, 0, 2), QStringLiteral("first.dat"));
}

TEST_F(DataFileDialogs, CancelAndCloseBoxClearTheFlag) {
  MainWindow& w = StartWith(0);
  w.Command(kCmdRegisterDataFile);
  Click(Dialog(DialogKind::DataFile), "cancelButton");
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::DataFile));
  w.Command(kCmdRegisterDataFile);
  ASSERT_NE(Dialog(DialogKind::DataFile), nullptr);
  Dialog(DialogKind::DataFile)->close();
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::DataFile));
  EXPECT_EQ(DialogCount(DialogKind::DataFile), 0);
  EXPECT_FALSE(w.project().Modified);
}

TEST_F(DataFileDialogs, DropRegistersAtOnceAndRefusesWhileDialogOpen) {
  MainWindow& w = StartWith(2);
  const QString file = WriteData(QStringLiteral("dropped.txt"));
  w.HandleDroppedFiles({file});
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::DataFile));
  EXPECT_EQ(DialogCount(DialogKind::DataFile), 0);
  ASSERT_EQ(w.project().DataFiles.Count(), 3);
  EXPECT_EQ(w.viewState().DataSeries.items[2].MarkerColor, DataPalette[2]);
  EXPECT_EQ(Cell(w.listsPanel()->dataList(), 2, 2), QStringLiteral("dropped.txt"));

  w.Command(kCmdRegisterDataFile);
  w.HandleDroppedFiles({file});
  EXPECT_EQ(w.project().DataFiles.Count(), 3);
  EXPECT_EQ(MessageCount(), 1);
  Dialog(DialogKind::DataFile)->close();
  w.HandleDroppedFiles({file});
  EXPECT_EQ(w.project().DataFiles.Count(), 4);
}

TEST_F(DataFileDialogs, RenameKeepsNumberMarkAndColourAndFollowsRetargeting) {
  MainWindow& w = StartWith(3, {{1, 20, 1, "/tmp/r.dat"}});
  OpenRenameDialog(w, 1);
  ModelessDialog* d = Dialog(DialogKind::Rename);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("データファイル名変更ダイアログ"));
  EXPECT_EQ(Text(d, "pathEdit"), Path(QStringLiteral("d1.dat")));
  OpenRenameDialog(w, 2);  // re-targets the open dialog
  EXPECT_EQ(DialogCount(DialogKind::Rename), 1);
  EXPECT_EQ(Text(d, "pathEdit"), Path(QStringLiteral("d2.dat")));
  OpenRenameDialog(w, 1);

  QDir(dir.path()).mkdir(QStringLiteral("other"));
  const QString moved = WriteData(QStringLiteral("other/moved.dat"));
  platform.files.push_back(moved);
  Click(d, "browseButton");
  Click(d, "changeButton");
  EXPECT_EQ(Dialog(DialogKind::Rename), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Rename));
  const Project& p = w.project();
  EXPECT_EQ(p.DataFiles.items[1].Path, moved.toStdString());
  EXPECT_EQ(p.DataFiles.items[1].No, 1);
  EXPECT_EQ(w.viewState().DataSeries.items[1].Path, moved.toStdString());
  EXPECT_EQ(w.viewState().DataSeries.items[1].MarkerColor, DataPalette[1]);
  EXPECT_EQ(p.CalcConds.items[0].RelatedDatFileNo, 1);
  EXPECT_TRUE(p.Modified);
  EXPECT_TRUE(w.viewState().View.RescalePending);
  EXPECT_EQ(Cell(w.listsPanel()->dataList(), 1, 2), QStringLiteral("moved.dat"));
  EXPECT_EQ(Cell(w.listsPanel()->dataList(), 1, 0), QStringLiteral("1"));
}

TEST_F(DataFileDialogs, RenameRefusesEmptyPathAndClosesWhenItsEntryIsDeleted) {
  MainWindow& w = StartWith(3);
  OpenRenameDialog(w, 2);
  ModelessDialog* d = Dialog(DialogKind::Rename);
  SetText(d, "pathEdit", QString());
  Click(d, "changeButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : データファイルパス"));
  EXPECT_EQ(platform.messages.back().caption, QStringLiteral("エラー"));
  EXPECT_NE(Dialog(DialogKind::Rename), nullptr);

  // Deleting another entry renumbers but keeps the dialog on its file.
  OpenRenameDialog(w, 2);
  Select(ListKind::DataFiles, {0});
  w.Command(kCmdDeleteDataFiles);
  ASSERT_NE(Dialog(DialogKind::Rename), nullptr);
  platform.files.push_back(Path(QStringLiteral("new.dat")));
  Click(d, "browseButton");
  Click(d, "changeButton");
  EXPECT_EQ(w.project().DataFiles.items[1].Path, Path(QStringLiteral("new.dat")).toStdString());
  EXPECT_EQ(w.project().DataFiles.items[0].Path, Path(QStringLiteral("d1.dat")).toStdString());

  OpenRenameDialog(w, 1);
  ASSERT_NE(Dialog(DialogKind::Rename), nullptr);
  Select(ListKind::DataFiles, {1});
  w.Command(kCmdDeleteDataFiles);
  EXPECT_EQ(Dialog(DialogKind::Rename), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Rename));
}

TEST_F(DataFileDialogs, ATypedPathIsCheckedAndRegistered) {
  MainWindow& w = StartWith(0);
  w.Command(kCmdRegisterDataFile);
  ModelessDialog* d = Dialog(DialogKind::DataFile);
  EXPECT_FALSE(Child<QLineEdit>(d, "pathEdit")->isReadOnly());
  SetText(d, "pathEdit", Path(QStringLiteral("typo.dat")));
  Click(d, "registerButton");
  EXPECT_TRUE(LastMessage().startsWith(QStringLiteral("データファイルが見つかりません。")));
  EXPECT_TRUE(w.project().DataFiles.Empty());
  const QString file = WriteData(QStringLiteral("typed.dat"));
  SetText(d, "pathEdit", file);
  Click(d, "registerButton");
  ASSERT_EQ(w.project().DataFiles.Count(), 1);
  EXPECT_EQ(w.project().DataFiles.items[0].Path, file.toStdString());
}

TEST_F(DataFileDialogs, ALoggerTableAsksBeforeRegistration) {
  MainWindow& w = StartWith(0);
  // Time first and increasing, every line a point: only its columns tell.
  QFile f(Path(QStringLiteral("logger.txt")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("t_s iHTS_A vHTS_V tHTS_K\n");
  for (int k = 1; k <= 20; ++k)
    f.write(QByteArray::number(k) + " " + QByteArray::number(k * 2) + " 1e-6 77\n");
  f.close();
  w.Command(kCmdRegisterDataFile);
  ModelessDialog* d = Dialog(DialogKind::DataFile);
  platform.files.push_back(f.fileName());
  Click(d, "browseButton");
  Click(d, "registerButton");  // the scripted default answer: いいえ
  EXPECT_TRUE(LastMessage().contains(QStringLiteral("数値の列が 4 列あります")));
  EXPECT_EQ(platform.messages.back().buttons, MsgButtons::YesNoDefaultNo);
  EXPECT_TRUE(w.project().DataFiles.Empty());
}

}  // namespace
}  // namespace zx::test
