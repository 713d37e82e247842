// The full calculation on its worker thread: status dialog, disabled
// panel, progress, cancel, file failures and shutdown while running.
#include "ui/full_calculation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProgressBar>

#include "calc/grid.h"
#include "dialog_fixture.h"
#include "model/text_file.h"

namespace zx::test {
namespace {

class FullCalculationTest : public DialogTest {
 protected:
  // Runs the event loop until the pass has ended or `ms` passed.
  bool WaitUntilIdle(int ms = 60000) {
    QElapsedTimer t;
    t.start();
    while (window->calculating() && t.elapsed() < ms)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    Flush();
    return !window->calculating();
  }
  // Data lines of a result file, or -1 when it is missing or unreadable.
  static int DataLines(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return -1;
    int n = 0;
    for (const std::string& line : SplitLines(bytes))
      if (!line.empty() && line[0] != '#') ++n;
    return n;
  }
  std::vector<Cond> Conditions(int count) {
    std::vector<Cond> conds;
    for (int i = 0; i < count; ++i)
      conds.push_back({0, 10.0 + i, 1.0, Folder() + "res" + std::to_string(i) + ".dat"});
    return conds;
  }
  QWidget* PanelControl(const char* name) {
    return window->parameterPanel()->findChild<QWidget*>(QLatin1String(name));
  }
};

TEST_F(FullCalculationTest, RunsBesideTheWindowAndWritesEveryResult) {
  MainWindow& w = StartWith(1, Conditions(3), [](Project& p) { p.Settings.JStepLevel = 6; });
  StartFullCalculation(w);
  ASSERT_TRUE(w.calculating());
  ModelessDialog* d = Dialog(DialogKind::Status);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("計算状況ダイアログ"));
  EXPECT_TRUE(w.dialogs().IsOpen(DialogKind::Status));
  EXPECT_NE(Child<QProgressBar>(d, "progressBar"), nullptr);
  EXPECT_FALSE(PanelControl("startButton")->isEnabled());  // the start button
  StartFullCalculation(w);                        // a second start does nothing
  EXPECT_EQ(w.findChildren<FullCalculation*>().size(), 1u);
  const int passes = w.PaintPassCount();
  w.InvalidateGraph();
  w.PaintNow();  // the graph still repaints meanwhile
  EXPECT_EQ(w.PaintPassCount(), passes + 1);

  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_EQ(Dialog(DialogKind::Status), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Status));
  EXPECT_TRUE(PanelControl("startButton")->isEnabled());
  EXPECT_TRUE(w.findChildren<FullCalculation*>().empty());
  for (int i = 0; i < 3; ++i)  // six decades at 50 points each
    EXPECT_EQ(DataLines(Folder() + "res" + std::to_string(i) + ".dat"), 301) << i;
  EXPECT_EQ(MessageCount(), 0);
}

TEST_F(FullCalculationTest, CancelStopsBeforeTheNextConditionLeavingOnlyCompleteFiles) {
  MainWindow& w = StartWith(1, Conditions(12), [](Project& p) {
    p.Settings.JStepLevel = 9;  // 3001 points per condition
    p.Params.IntStepNum = 900;
  });
  StartFullCalculation(w);
  ModelessDialog* d = Dialog(DialogKind::Status);
  ASSERT_NE(d, nullptr);
  auto* bar = Child<QProgressBar>(d, "progressBar");
  // Wait for the first progress, then cancel.
  QElapsedTimer t;
  t.start();
  while (bar->value() == 0 && t.elapsed() < 30000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  ASSERT_GT(bar->value(), 0);
  Click(d, "cancelButton");
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Status));
  ASSERT_TRUE(WaitUntilIdle());

  int complete = 0;
  for (int i = 0; i < 12; ++i) {
    const int lines = DataLines(Folder() + "res" + std::to_string(i) + ".dat");
    EXPECT_TRUE(lines == -1 || lines == 3001) << i << ": " << lines;
    if (lines == 3001) ++complete;
  }
  EXPECT_LT(complete, 12);
  // No half-written file is left beside them.
  for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
    EXPECT_FALSE(name.startsWith(QStringLiteral(".zx2save"))) << name.toStdString();
  EXPECT_TRUE(PanelControl("startButton")->isEnabled());
}

TEST_F(FullCalculationTest, UnwritableResultIsReportedAfterThePass) {
  std::vector<Cond> conds = Conditions(2);
  conds[1].out = Folder() + "missing/res.dat";
  MainWindow& w = StartWith(1, conds);
  StartFullCalculation(w);
  ASSERT_TRUE(WaitUntilIdle());
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("計算結果出力ファイルを作成できません。"));
  EXPECT_EQ(platform.messages[0].icon, MsgIcon::Warning);
  // The failing condition (the higher number) came first and the data
  // file's remaining condition was skipped.
  EXPECT_EQ(DataLines(Folder() + "res0.dat"), -1);
}

TEST_F(FullCalculationTest, ClosingTheWindowWhileRunningStopsTheWorker) {
  StartWith(1, Conditions(12), [](Project& p) { p.Settings.JStepLevel = 9; });
  StartFullCalculation(*window);
  ASSERT_TRUE(window->calculating());
  StopFullCalculation(*window);
  EXPECT_FALSE(window->calculating());
  EXPECT_FALSE(window->dialogs().IsOpen(DialogKind::Status));

  StartFullCalculation(*window);
  ASSERT_TRUE(window->calculating());
  Project settings;
  settings.Settings.JStepLevel = 9;
  const int points = GridPointCount(settings.Settings);
  window.reset();  // joins the worker on the way out
  // Whatever the stop reached, no result is half-written and no temporary
  // file is left.
  for (int i = 0; i < 12; ++i) {
    const int lines = DataLines(Folder() + "res" + std::to_string(i) + ".dat");
    EXPECT_TRUE(lines == -1 || lines == points) << i << ": " << lines;
  }
  for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
    EXPECT_FALSE(name.startsWith(QStringLiteral(".zx2save"))) << name.toStdString();
}

}  // namespace
}  // namespace zx::test
