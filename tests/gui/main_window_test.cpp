#include <QAction>
#include <QFileInfo>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QTest>

#include "app/graph_paint.h"
#include "app/graph_widget.h"
#include "app/startup.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "qtcanvas/qt_canvas.h"
#include "shell_fixture.h"
#include "ui/parameter_panel.h"

namespace zx::test {
namespace {

TEST(Startup, CommandLineAndExecutableRules) {
  EXPECT_EQ(SettingsPathFromArguments({}), QString());
  EXPECT_EQ(SettingsPathFromArguments({"/home/a b/p.zx2"}), "/home/a b/p.zx2");
  EXPECT_EQ(SettingsPathFromArguments({"/home/a", "b/p.zx2"}), "/home/a b/p.zx2");
  EXPECT_TRUE(IsSettingsFileName("/x/p.zx2"));
  EXPECT_FALSE(IsSettingsFileName("/x/p.ZX2"));
  EXPECT_FALSE(IsSettingsFileName("/x/p.zx"));
  EXPECT_TRUE(CommandLineAccepted({}));
  EXPECT_TRUE(CommandLineAccepted({"/home/a b/p.zx2"}));
  EXPECT_FALSE(CommandLineAccepted({"/home/a b/p.txt"}));
  // Several arguments are never one path, whatever they end with.
  EXPECT_FALSE(CommandLineAccepted({"one.zx2", "two.zx2"}));
  EXPECT_FALSE(CommandLineAccepted({"/home/a", "b/p.zx2"}));
  EXPECT_TRUE(IsOwnExecutableName("/usr/bin/zentrix2"));
  EXPECT_FALSE(IsOwnExecutableName("/usr/bin/zentrix3"));
  EXPECT_FALSE(IsOwnExecutableName("/usr/bin/zentrix2.bak"));
}

TEST(Startup, ProgramFolderFallsBackToPerUserFolderWhenNotWritable) {
  QTemporaryDir writable, perUser;
  EXPECT_EQ(ProgramFolderFor(writable.filePath("zentrix2"), perUser.path()), writable.path() + "/");
  // No one, root included, can keep files below a regular file.
  QFile file(writable.filePath("plain"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_EQ(ProgramFolderFor(writable.filePath("plain/zentrix2"), perUser.filePath("data")),
            perUser.filePath("data") + "/");
  EXPECT_TRUE(QFileInfo(perUser.filePath("data")).isDir());
  if (geteuid() != 0) {
    QFile::setPermissions(writable.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(ProgramFolderFor(writable.filePath("zentrix2"), perUser.filePath("data")),
              perUser.filePath("data") + "/");
    EXPECT_TRUE(QFileInfo(perUser.filePath("data")).isDir());
    QFile::setPermissions(writable.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
}

TEST_F(ShellTest, FirstStartCreatesTheDefaultSettingsFile) {
  MainWindow& w = Start();
  ASSERT_TRUE(w.StartupOk());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(Folder() + "ZENTRIX II.zx2", bytes));
  EXPECT_EQ(bytes, DefaultSettingsBytes());
  EXPECT_EQ(w.project().SettingsFilePath, Folder() + "ZENTRIX II.zx2");
  w.StatusRefresh();
  EXPECT_EQ(w.StatusText(0), "現在の設定ファイルパス : " + Path("ZENTRIX II.zx2"));
  EXPECT_EQ(w.StatusText(1), "E-J計算モード");
  EXPECT_EQ(w.windowTitle(), "ZENTRIX II");
}

TEST_F(ShellTest, MissingCommandLineFileIsCreatedAndUnreadableOneIsNotOverwritten) {
  MainWindow& w = Start(Path("given.zx2").toStdString());
  ASSERT_TRUE(w.StartupOk());
  EXPECT_TRUE(QFileInfo::exists(Path("given.zx2")));
  window.reset();
  Start(Path("no/such/dir/x.zx2").toStdString());
  EXPECT_FALSE(window->StartupOk());
  EXPECT_EQ(platform.LastMessage(), "設定ファイルを保存できません。");
}

TEST_F(ShellTest, MenusCarryTheirTextsAndCommands) {
  MainWindow& w = Start();
  QStringList titles;
  QStringList items;
  for (QAction* m : w.menuBar()->actions()) {
    titles << m->text();
    for (QAction* a : m->menu()->actions()) items << a->text() + "=" + a->data().toString();
  }
  EXPECT_EQ(titles, QStringList({"ファイル", "データ", "計算", "グラフ", "ヘルプ"}));
  EXPECT_EQ(items,
            QStringList({"新規設定\tCtrl+N=40013", "設定を読み込み\tCtrl+O=40011",
                         "設定を保存\tCtrl+S=40006", "設定を別名保存\tCtrl+Shift+S=40012",
                         "終了\tCtrl+Q=40004", "データファイル登録\tCtrl+R=40003",
                         "測定データ取り込み\tCtrl+I=40026", "データファイル情報削除\tCtrl+D=40010",
                         "計算条件登録\tCtrl+Shift+R=40005", "計算条件削除\tCtrl+Shift+D=40014",
                         "パラメータ設定可能範囲変更\tCtrl+P=40025",
                         "その他の計算条件設定\tCtrl+Shift+C=40019", "計算開始\tCtrl+C=40009",
                         "自動フィッティング\tCtrl+F=40027", "Jc(B,T)マップ\tCtrl+J=40028",
                         "計算モード変更\tCtrl+M=40018", "軸設定\tCtrl+A=40015",
                         "ZentrixⅡに関して\tCtrl+H=40017", "言語 / Language="}));
}

// A command is one named action: the menu, the accelerator and a direct
// trigger all reach it, and every action has its own name.
TEST_F(ShellTest, EveryCommandIsOneNamedAction) {
  MainWindow& w = Start();
  QStringList names;
  for (QAction* m : w.menuBar()->actions())
    for (QAction* a : m->menu()->actions()) names << a->objectName();
  // The commands and the language submenu.
  EXPECT_EQ(names.size(), 19);
  EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 19);
  EXPECT_FALSE(names.contains(QString()));

  QAction* axis = w.findChild<QAction*>("actionAxisSettings");
  ASSERT_NE(axis, nullptr);
  axis->trigger();
  EXPECT_TRUE(w.dialogs().IsOpen(DialogKind::Axis));
  w.dialogs().Find(DialogKind::Axis)->reject();
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Axis));

  w.show();
  w.activateWindow();
  w.setFocus();
  QTest::keyClick(&w, Qt::Key_H, Qt::ControlModifier);
  EXPECT_TRUE(w.dialogs().IsOpen(DialogKind::About));
  w.dialogs().Find(DialogKind::About)->reject();
}

TEST_F(ShellTest, LayoutHasTheFixedGeometry) {
  MainWindow& w = Start();
  EXPECT_EQ(w.graph()->geometry(), QRect(0, 0, 468, 357));
  EXPECT_EQ(w.listsPanel()->geometry(), QRect(0, 358, 470, 178));
  EXPECT_EQ(w.parameterPanel()->geometry(), QRect(470, 0, 330, 536));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());  // not resizable
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(ShellTest, AcceleratorsWorkOnTheWindowButNotInsideAPanel) {
  MainWindow& w = Start();
  w.show();
  EditProject(w.document()).Modified = true;
  w.graph()->setFocus();
  QApplication::setActiveWindow(&w);
  platform.files.push_back(std::nullopt);  // the Save As chooser is cancelled
  QTest::keyClick(w.graph(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(platform.fileTitles.size(), 1u);
  EXPECT_EQ(platform.fileTitles.back(), "設定ファイルの保存");

  QWidget* edit = w.parameterPanel()->findChild<QWidget*>("amEdit");
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(platform.fileTitles.size(), 1u);
}

TEST_F(ShellTest, DeletingDataFileOneRenumbersFilesAndConditions) {
  MainWindow& w = Start();
  Project& p = EditProject(w.document());
  for (int i = 0; i < 4; ++i) {
    AddDataFile(p, WriteData(QString("d%1.dat").arg(i)).toStdString());
    w.listsPanel()->InsertDataRow(p.DataFiles.items.back());
  }
  for (int rel : {1, 2, 3, 0}) {
    AddCalcCond(p, rel, 20, 1, Folder() + "out.dat");
    w.listsPanel()->InsertCondRow(p.CalcConds.items.back(), CalcMode::EJ);
  }
  p.Modified = false;
  Select(ListKind::DataFiles, {1});
  w.Command(kCmdDeleteDataFiles);
  EXPECT_TRUE(platform.messages.empty());
  QTableWidget* data = w.listsPanel()->dataList();
  ASSERT_EQ(data->rowCount(), 3);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(Cell(data, r, 0), QString::number(r));
  EXPECT_EQ(Cell(data, 1, 2), "d2.dat");
  EXPECT_EQ(p.CalcConds.items[0].RelatedDatFileNo, -1);
  EXPECT_EQ(p.CalcConds.items[1].RelatedDatFileNo, 1);
  EXPECT_EQ(p.CalcConds.items[2].RelatedDatFileNo, 2);
  EXPECT_EQ(p.CalcConds.items[3].RelatedDatFileNo, 0);
  QTableWidget* conds = w.listsPanel()->condList();
  EXPECT_EQ(Cell(conds, 0, 0), "-1");
  EXPECT_EQ(Cell(conds, 2, 0), "2");
  EXPECT_EQ(w.viewState().CurveSeries.items[0].LineColor, CurvePalette[5]);  // orphan: grey
  EXPECT_TRUE(p.Modified);
  EXPECT_EQ(w.viewState().DataSeries.Count(), 3);
  EXPECT_EQ(w.viewState().DataSeries.items[1].Path, Path("d2.dat").toStdString());
}

TEST_F(ShellTest, DeletingSeveralRowsAndNothingSelected) {
  MainWindow& w = Start();
  Project& p = EditProject(w.document());
  for (int i = 0; i < 3; ++i) {
    AddDataFile(p, WriteData(QString("d%1.dat").arg(i)).toStdString());
    w.listsPanel()->InsertDataRow(p.DataFiles.items.back());
  }
  Select(ListKind::DataFiles, {0, 2});
  w.Command(kCmdDeleteDataFiles);
  EXPECT_TRUE(platform.messages.empty());
  ASSERT_EQ(p.DataFiles.Count(), 1);
  EXPECT_EQ(p.DataFiles.items[0].Path, Path("d1.dat").toStdString());
  w.Command(kCmdDeleteDataFiles);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "データファイル情報を選択してからコマンドを実行してください。");
  EXPECT_EQ(platform.messages[0].caption, "データファイル情報削除");
  w.Command(kCmdDeleteCalcConds);
  EXPECT_EQ(platform.LastMessage(), "計算条件を選択してからコマンドを実行してください。");
}

TEST_F(ShellTest, DeletingConditionsRenumbersCurveFilesUnlessTheTopGoes) {
  MainWindow& w = Start();
  Project& p = EditProject(w.document());
  AddDataFile(p, WriteData("d0.dat").toStdString());
  w.listsPanel()->InsertDataRow(p.DataFiles.items.back());
  for (int i = 0; i < 3; ++i) {
    AddCalcCond(p, 0, 20 + i, 1, Folder() + "o.dat");
    w.listsPanel()->InsertCondRow(p.CalcConds.items.back(), CalcMode::EJ);
  }
  p.Modified = false;
  w.paintState().View.RangeValid = true;
  w.paintState().View.RescalePending = false;
  Select(ListKind::CalcConds, {2});
  w.Command(kCmdDeleteCalcConds);
  EXPECT_TRUE(w.viewState().View.RangeValid);  // the top went: nothing to refit
  EXPECT_TRUE(p.Modified);
  Select(ListKind::CalcConds, {0});
  w.Command(kCmdDeleteCalcConds);
  EXPECT_FALSE(w.viewState().View.RangeValid);
  ASSERT_EQ(p.CalcConds.Count(), 1);
  EXPECT_EQ(p.CalcConds.items[0].Temp, 21.0);
  EXPECT_EQ(p.CalcConds.items[0].Path, Folder() + "tmp0.dat");
  EXPECT_EQ(w.viewState().CurveSeries.items[0].Path, Folder() + "tmp0.dat");
}

TEST_F(ShellTest, RegisteringAConditionNeedsADataFile) {
  MainWindow& w = Start();
  w.Command(kCmdRegisterCalcCond);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "データファイルを登録してください。");
  EXPECT_EQ(platform.messages[0].caption, "計算条件登録");
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::CalcCond));
}

TEST_F(ShellTest, DropsFollowTheThreeRules) {
  MainWindow& w = Start();
  Project other;
  AddDataFile(other, WriteData("x.dat").toStdString());
  other.Params.Re_A_m = 7e9;
  ASSERT_TRUE(WriteSettings(other, Path("other.zx2").toStdString()));
  // A modified project is not replaced unasked: Cancel keeps it.
  EditProject(w.document()).Modified = true;
  platform.answers = {MsgAnswer::Cancel};
  w.HandleDroppedFiles({Path("other.zx2")});
  EXPECT_EQ(w.project().Params.Re_A_m, 1e9);
  EXPECT_TRUE(w.project().Modified);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "設定ファイルは変更されています。保存しますか？");

  platform.answers = {MsgAnswer::No};
  w.HandleDroppedFiles({Path("other.zx2"), Path("bad.csv"), Path("never.zx2")});
  EXPECT_EQ(w.project().Params.Re_A_m, 7e9);
  EXPECT_EQ(w.project().DataFiles.Count(), 1);
  EXPECT_FALSE(w.project().Modified);
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[2].caption, "警告");
  EXPECT_TRUE(
      platform.messages[2].text.startsWith("使用できるファイル拡張子は以下のように通りです。"));

  w.HandleDroppedFiles({Path("upper.DAT")});
  EXPECT_EQ(platform.messages.size(), 4u);
  w.Command(kCmdRegisterDataFile);  // the registration dialog stays open
  w.HandleDroppedFiles({Path("a.txt"), Path("b.dat")});
  EXPECT_EQ(platform.LastMessage(),
            "データファイル登録ダイアログを閉じてから作業を行ってください。");
  EXPECT_EQ(platform.messages.size(), 5u);  // the second file is not handled

  // A path the settings file could not hold is refused where it enters.
  w.dialogs().Find(DialogKind::DataFile)->reject();
  w.HandleDroppedFiles({Path(QStringLiteral("caf\u00e9.dat"))});
  EXPECT_EQ(w.project().DataFiles.Count(), 1);
  EXPECT_TRUE(platform.LastMessage().contains(QStringLiteral("caf\u00e9.dat")));
}

TEST_F(ShellTest, UnreadableProjectIsReportedAndTheCurrentOneKept) {
  MainWindow& w = Start();
  AddDataFile(EditProject(w.document()), "/keep.dat");
  EXPECT_FALSE(w.LoadProject(Path("missing.zx2")));
  EXPECT_EQ(platform.LastMessage(), "設定ファイルを読み込めません。");
  EXPECT_EQ(w.project().DataFiles.Count(), 1);
  EXPECT_EQ(w.project().SettingsFilePath, Folder() + "ZENTRIX II.zx2");
}

TEST_F(ShellTest, SaveQuestionPaths) {
  MainWindow& w = Start();
  Project& p = EditProject(w.document());
  // No clears Modified even when the Open dialog is then cancelled.
  p.Modified = true;
  platform.answers = {MsgAnswer::No};
  w.Command(kCmdOpen);
  EXPECT_FALSE(p.Modified);
  EXPECT_EQ(platform.messages.back().buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(platform.fileTitles.back(), "設定ファイルを選択");

  // Cancel abandons New.
  AddDataFile(p, "/x.dat");
  p.Modified = true;
  platform.answers = {MsgAnswer::Cancel};
  w.Command(kCmdNew);
  EXPECT_EQ(p.DataFiles.Count(), 1);

  // Yes runs Save As; a name without extension gets ".zx2".
  platform.answers = {MsgAnswer::Yes};
  platform.files = {Path("saved")};
  w.Command(kCmdNew);
  EXPECT_TRUE(QFileInfo::exists(Path("saved.zx2")));
  EXPECT_FALSE(p.Modified);
  EXPECT_TRUE(p.DataFiles.Empty());
  EXPECT_TRUE(p.SettingsFilePath.empty());
  EXPECT_FALSE(QFileInfo::exists(Path("initmp.zx2")));
  w.StatusRefresh();
  EXPECT_EQ(w.StatusText(0), "現在の設定ファイルパス : ");

  // Save right after New opens Save As; ".ZX2" is extended, ".zx2" is not.
  platform.files = {Path("upper.ZX2")};
  w.Command(kCmdSave);
  EXPECT_TRUE(QFileInfo::exists(Path("upper.ZX2.zx2")));
  platform.files = {Path("plain.zx2")};
  EXPECT_EQ(w.Command(kCmdSaveAs), 1);
  EXPECT_TRUE(QFileInfo::exists(Path("plain.zx2")));
  EXPECT_EQ(p.SettingsFilePath, Path("plain.zx2").toStdString());
  platform.files = {std::nullopt};
  EXPECT_EQ(w.Command(kCmdSaveAs), 0);
}

TEST_F(ShellTest, SaveAsAsksBeforeOverwritingTheExtendedName) {
  MainWindow& w = Start();
  ASSERT_TRUE(WriteSettings(Project{}, Path("x.zx2").toStdString()));
  std::string before;
  ASSERT_TRUE(ReadWholeFile(Path("x.zx2").toStdString(), before));
  EditProject(w.document()).Settings.JStepLevel = 5;

  // No goes back to the chooser; cancelling it writes nothing.
  platform.files = {Path("x")};
  platform.answers = {MsgAnswer::No};
  EXPECT_EQ(w.Command(kCmdSaveAs), 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "x.zx2 は既に存在します。\n上書きしますか？");
  EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(platform.fileTitles.size(), 2u);
  std::string after;
  ASSERT_TRUE(ReadWholeFile(Path("x.zx2").toStdString(), after));
  EXPECT_EQ(after, before);

  platform.files = {Path("x")};
  platform.answers = {MsgAnswer::Yes};
  EXPECT_EQ(w.Command(kCmdSaveAs), 1);
  ASSERT_TRUE(ReadWholeFile(Path("x.zx2").toStdString(), after));
  EXPECT_NE(after, before);
  EXPECT_EQ(w.project().SettingsFilePath, Path("x.zx2").toStdString());

  // A name that is written as chosen was asked about by the chooser.
  platform.messages.clear();
  platform.files = {Path("x.zx2"), Path("fresh")};
  EXPECT_EQ(w.Command(kCmdSaveAs), 1);
  EXPECT_EQ(w.Command(kCmdSaveAs), 1);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ShellTest, CloseAsksAgainWhenTheSaveAsWasCancelled) {
  MainWindow& w = Start();
  w.show();
  EditProject(w.document()).Modified = true;
  platform.answers = {MsgAnswer::Yes, MsgAnswer::No};
  platform.files = {std::nullopt};
  w.close();
  EXPECT_FALSE(w.isVisible());
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, "設定ファイルは変更されています。保存しますか？");
  EXPECT_EQ(platform.messages[0].caption, "設定ファイルの変更");
  EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
}

TEST_F(ShellTest, SaveFromTheMenuKeepsTheQuestionForExit) {
  MainWindow& w = Start();
  EditProject(w.document()).Modified = true;
  w.Command(kCmdSave);
  EXPECT_TRUE(w.project().Modified);
  platform.answers = {MsgAnswer::Cancel};
  w.Command(kCmdExit);
  EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(ShellTest, PaintLeavesNoCurveFileAndMissingDataDrawsTheEmptyGraph) {
  MainWindow& w = Start();
  Project& p = EditProject(w.document());
  AddDataFile(p, WriteData("d0.dat", 10).toStdString());
  AddCalcCond(p, 0, 20, 1, Folder() + "o.dat");
  w.InvalidateGraph();
  w.PaintNow();
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(p.CalcConds.items[0].Path)));
  EXPECT_FALSE(w.graph()->image().isNull());

  Project& q = EditProject(w.document());
  q.DataFiles.items[0].Path = Folder() + "gone.dat";
  RequestRefit(w.paintState().View);
  int before = w.PaintPassCount();
  w.InvalidateGraph();
  w.InvalidateGraph();  // merged into one pass
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 1);
  // The empty graph has no tick labels: left of the Y axis stays white.
  const QImage& img = w.graph()->image();
  for (int y = 60; y < 300; y += 10) EXPECT_EQ(img.pixel(40, y), qRgb(255, 255, 255));
}

TEST_F(ShellTest, TheWindowsGraphIsTheExportedImageAtTheScreensDensity) {
  MainWindow& w = Start();
  Project& p = EditProject(w.document());
  AddDataFile(p, WriteData("d0.dat", 10).toStdString());
  RequestRefit(w.paintState().View);
  const QImage shown = PaintGraphImage(w, 1.0).image;
  RequestRefit(w.paintState().View);
  const std::string png = Path("export.png").toStdString();
  ASSERT_TRUE(ExportGraphImage(p, w.paintState(), png, 1.0, {}).written);
  // Same font, same labels, same pixels.
  EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB32) ==
              QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32));

  RequestRefit(w.paintState().View);
  const QImage dense = PaintGraphImage(w, 2.0).image;
  EXPECT_EQ(dense.size(), QSize(936, 714));
  EXPECT_EQ(dense.devicePixelRatio(), 2.0);
  // The X axis line runs at the same graph coordinate, twice as many pixels down.
  EXPECT_EQ(dense.pixel(600, 2 * 304 + 1), qRgb(0, 0, 0));
  EXPECT_EQ(dense.pixel(10, 10), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace zx::test
