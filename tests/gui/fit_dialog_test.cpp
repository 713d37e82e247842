// The automatic fit window.
#include "ui/fit_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <fstream>

#include "../core/fit_fixture.h"
#include "model/format.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "shell_fixture.h"
#include "ui/fit_plot_widget.h"

namespace zx::test {
namespace {

class FitWindow : public ShellTest {
 protected:
  // Three synthetic E-J conditions; Am, gamma and m start off the truth.
  MainWindow& StartProject(int intStepNum = 150, double firstField = 1.5,
                           double secondField = 2.5) {
    ModelParams truth = fit_test::TruthParams();
    truth.IntStepNum = intStepNum;
    const FitInput in =
        fit_test::MakeEJInput(truth, {{20, firstField}, {25, secondField}, {30, firstField}}, 8);
    Project p;
    p.Params = truth;
    p.Params.Re_A_m *= 1.2;
    p.Params.Re_Gamma *= 0.9;
    p.Params.Re_m *= 1.1;
    fit_test::AddConditionFiles(p, in, Folder(), Folder() + "r.dat");
    const std::string path = Folder() + "p.zx2";
    EXPECT_TRUE(WriteSettings(p, path));
    MainWindow& w = Start(path);
    w.PaintNow();
    return w;
  }

  FitDialog* Open(MainWindow& w) {
    w.Command(kCmdAutoFit);
    return w.findChild<FitDialog*>();
  }

  template <class W>
  static W* Child(FitDialog* d, const char* name) {
    return d->findChild<W*>(QString::fromUtf8(name));
  }

  static bool WaitDone(FitDialog* d) {
    return QTest::qWaitFor([d] { return !d->Running() && d->Outcome().has_value(); }, 60000);
  }

  static QString PanelText(MainWindow& w, int id) {
    return w.parameterPanel()->findChild<QLineEdit*>(QString("ctl%1").arg(id))->text();
  }
};

TEST_F(FitWindow, CommandAndCtrlFOpenOneModelessResizableWindow) {
  MainWindow& w = StartProject();
  w.show();
  QApplication::setActiveWindow(&w);
  // Right after start the window has the focus, so Ctrl+F works at once.
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
  QTest::keyClick(target, Qt::Key_F, Qt::ControlModifier);
  FitDialog* d = w.findChild<FitDialog*>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("自動フィッティング"));
  EXPECT_FALSE(d->isModal());
  EXPECT_TRUE(d->isSizeGripEnabled());
  w.Command(kCmdAutoFit);
  EXPECT_EQ(w.findChildren<FitDialog*>().size(), 1);
  EXPECT_TRUE(Child<QPushButton>(d, "fitStart")->isDefault());
  // The table shows the panel's values and the project's ranges.
  auto* params = Child<QTableWidget>(d, "fitParams");
  EXPECT_EQ(params->item(1, 0)->text(), QStringLiteral("σ^2"));
  EXPECT_EQ(params->item(0, 1)->text(), PanelText(w, 1014));
  EXPECT_EQ(params->item(0, 3)->text(), QStringLiteral("1e8"));
}

TEST_F(FitWindow, FitConvergesFillsTablesAndPlotsAndApplyUndoGoThroughThePanel) {
  MainWindow& w = StartProject();
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  const Project before = w.project();
  // sigma^2 and g^2 are at the truth and stay there.
  auto* params = Child<QTableWidget>(d, "fitParams");
  params->item(1, 2)->setCheckState(Qt::Checked);
  params->item(4, 2)->setCheckState(Qt::Checked);
  Child<QPushButton>(d, "fitStart")->click();
  EXPECT_TRUE(d->Running());
  EXPECT_FALSE(Child<QPushButton>(d, "fitApply")->isEnabled());
  ASSERT_TRUE(WaitDone(d));
  ASSERT_EQ(d->Outcome()->stop, FitStop::Converged) << d->Outcome()->reason;
  EXPECT_NEAR(d->Outcome()->params[0].value / 1.25e9, 1.0, 1e-4);
  EXPECT_EQ(d->Outcome()->params[1].state, ParamState::Fixed);
  // A fit never touches the project.
  EXPECT_EQ(w.project().Params.Re_A_m, before.Params.Re_A_m);
  EXPECT_FALSE(w.project().Modified);

  auto* conds = Child<QTableWidget>(d, "fitConds");
  ASSERT_EQ(conds->rowCount(), 3);
  EXPECT_EQ(conds->item(1, 0)->text(), "1");
  EXPECT_EQ(conds->item(1, 1)->text(), "25");
  EXPECT_EQ(conds->item(1, 3)->text(), "8");
  EXPECT_EQ(conds->item(1, 0)->background().color(),
            QColor(CurvePalette[1].r, CurvePalette[1].g, CurvePalette[1].b));
  EXPECT_NE(params->item(0, 5)->text(), QString());
  EXPECT_NE(params->item(0, 6)->text(), QStringLiteral("-"));
  EXPECT_TRUE(Child<QLabel>(d, "fitTotal")->text().contains(QStringLiteral("24 点")));
  // Data and a dense model curve per condition; residuals and a zero line.
  const auto& curves = Child<FitPlotWidget>(d, "fitCurves")->Series();
  ASSERT_EQ(curves.size(), 6u);
  EXPECT_EQ(curves[0].x.size(), 8u);
  EXPECT_GE(curves[1].x.size(), 200u);
  EXPECT_EQ(Child<FitPlotWidget>(d, "fitResiduals")->Series()[0].y.size(), 8u);

  const QString amBefore = PanelText(w, 1014);
  Child<QPushButton>(d, "fitApply")->click();
  EXPECT_TRUE(w.project().Modified);
  EXPECT_EQ(w.project().Params.Re_A_m, d->Outcome()->params[0].value);
  EXPECT_NE(PanelText(w, 1014), amBefore);
  // The panel stands for the exact fitted value, not its short text.
  ModelParams read;
  w.parameterPanel()->ReadPanelValuesInto(read);
  EXPECT_EQ(read.Re_Gamma, d->Outcome()->params[2].value);
  EXPECT_EQ(params->item(0, 1)->text(), PanelText(w, 1014));

  Child<QPushButton>(d, "fitUndo")->click();
  EXPECT_EQ(PanelText(w, 1014), amBefore);
  w.parameterPanel()->ReadPanelValuesInto(read);
  EXPECT_EQ(read.Re_A_m, before.Params.Re_A_m);
  EXPECT_FALSE(Child<QPushButton>(d, "fitUndo")->isEnabled());

  // The report and the two plots.
  d->resize(900, 600);
  const QString report = Path("fit.txt");
  ASSERT_TRUE(d->SaveResults(report));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(report.toStdString(), bytes));
  EXPECT_NE(bytes.find("\r\nparam\tAm\t"), std::string::npos);
  EXPECT_NE(bytes.find("\r\ntotal\t24\t"), std::string::npos);
  EXPECT_NE(bytes.find(w.project().SettingsFilePath), std::string::npos);
  EXPECT_TRUE(QFile::exists(Path("fit-curves.png")));
  EXPECT_TRUE(QFile::exists(Path("fit-residuals.png")));
}

TEST_F(FitWindow, StopEndsARunningFitAndNothingToFitSaysWhy) {
  MainWindow& w = StartProject(900);
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  d->StartFit();
  ASSERT_TRUE(d->Running());
  Child<QPushButton>(d, "fitStop")->click();
  ASSERT_TRUE(WaitDone(d));
  EXPECT_EQ(d->Outcome()->stop, FitStop::Cancelled);
  EXPECT_TRUE(Child<QPushButton>(d, "fitStart")->isEnabled());

  Child<QLineEdit>(d, "fitLossScale")->setText(QStringLiteral("0"));
  d->StartFit();
  EXPECT_FALSE(d->Running());
  EXPECT_EQ(platform.LastMessage(), QStringLiteral("不正な値の入力 : 尺度"));
  Child<QLineEdit>(d, "fitLossScale")->setText(QStringLiteral("0.2"));

  auto* params = Child<QTableWidget>(d, "fitParams");
  for (int r = 0; r < 5; ++r) params->item(r, 2)->setCheckState(Qt::Checked);
  d->StartFit();
  EXPECT_FALSE(d->Running());
  EXPECT_EQ(platform.LastMessage(),
            QStringLiteral("フィッティングできません : すべてのパラメータが固定されています。"));
}

TEST_F(FitWindow, RegistryChangeDuringAFitStopsIt) {
  MainWindow& w = StartProject(900);
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  d->StartFit();
  ASSERT_TRUE(d->Running());
  AddCalcCond(w.project(), 0, 22.0, 1.0, Folder() + "r.dat");
  ASSERT_TRUE(WaitDone(d));
  EXPECT_EQ(platform.LastMessage(),
            QStringLiteral("データファイルまたは計算条件の登録が変更されたため、"
                           "フィッティングを中止しました。"));
  EXPECT_FALSE(Child<QPushButton>(d, "fitApply")->isEnabled());
}

TEST_F(FitWindow, BoundEditsUseTheRangeChecksAndChangeTheProject) {
  MainWindow& w = StartProject();
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  auto* params = Child<QTableWidget>(d, "fitParams");
  params->item(0, 3)->setText(QStringLiteral("0"));
  EXPECT_EQ(platform.LastMessage(), QStringLiteral("不正な値の入力 : Amの最小値"));
  EXPECT_EQ(params->item(0, 3)->text(), QStringLiteral("1e8"));
  EXPECT_EQ(w.project().Settings.MiniRe_Am, 1e8);
  params->item(2, 4)->setText(QStringLiteral("1.5"));
  EXPECT_EQ(platform.LastMessage(), QStringLiteral("不正な値の入力 : γの最大値"));
  EXPECT_FALSE(w.project().Modified);

  params->item(3, 4)->setText(QStringLiteral("20"));
  EXPECT_EQ(w.project().Settings.MaxRe_m, 20.0);
  EXPECT_TRUE(w.project().Modified);
  EXPECT_EQ(params->item(3, 4)->text(), QStringLiteral("2e1"));
}

TEST_F(FitWindow, ParametersWithoutEffectAreNamedAsThePanelNamesThem) {
  // Every field 1 T: B^(gamma-1) is 1, so gamma changes nothing.
  MainWindow& w = StartProject(150, 1.0, 1.0);
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  Child<QPushButton>(d, "fitStart")->click();
  ASSERT_TRUE(WaitDone(d));
  EXPECT_EQ(d->Outcome()->degenerate, std::vector<std::string>{"gamma"});
  EXPECT_TRUE(Child<QLabel>(d, "fitStatus")->text().endsWith(QStringLiteral("パラメータ: γ")));
  // The others keep their standard errors.
  EXPECT_TRUE(std::isnan(d->Outcome()->params[2].stdError));
  for (int k : {0, 1, 3, 4}) EXPECT_GT(d->Outcome()->params[k].stdError, 0) << k;
}

}  // namespace
}  // namespace zx::test
