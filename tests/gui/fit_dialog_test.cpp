// The automatic fit window.
#include "ui/fit_dialog.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QWindow>
#include <cstdlib>
#include <fstream>

#include "../core/fit_fixture.h"
#include "fit/fit_quality.h"
#include "model/format.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "qtcanvas/qt_canvas.h"
#include "shell_fixture.h"
#include "ui/fit_dialog_cells.h"
#include "ui/fit_plot_widget.h"
#include "ui/language.h"
#include "ui/window_place.h"

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

  static QString PanelText(MainWindow& w, const char* name) {
    return w.parameterPanel()->findChild<QLineEdit*>(QLatin1String(name))->text();
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
  EXPECT_EQ(params->item(0, 1)->text(), PanelText(w, "amEdit"));
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
  const std::vector<double> fitted = curves[1].y;

  const QString amBefore = PanelText(w, "amEdit");
  Child<QPushButton>(d, "fitApply")->click();
  EXPECT_TRUE(w.project().Modified);
  EXPECT_EQ(w.project().Params.Re_A_m, d->Outcome()->params[0].value);
  EXPECT_NE(PanelText(w, "amEdit"), amBefore);
  // The panel stands for the exact fitted value, not its short text.
  ModelParams read;
  w.parameterPanel()->ReadPanelValuesInto(read);
  EXPECT_EQ(read.Re_Gamma, d->Outcome()->params[2].value);
  EXPECT_EQ(params->item(0, 1)->text(), fit_cells::Plain(read.Re_A_m));

  Child<QPushButton>(d, "fitUndo")->click();
  EXPECT_EQ(PanelText(w, "amEdit"), amBefore);
  w.parameterPanel()->ReadPanelValuesInto(read);
  EXPECT_EQ(read.Re_A_m, before.Params.Re_A_m);
  EXPECT_FALSE(Child<QPushButton>(d, "fitUndo")->isEnabled());
  // The plots follow the panel back to the start...
  QTest::qWait(400);
  EXPECT_NE(Child<FitPlotWidget>(d, "fitCurves")->Series()[1].y, fitted);

  // The report, in UTF-8 with LF, and the two plots at twice their size.
  d->resize(900, 600);
  const QString report = Path("fit.txt");
  ASSERT_EQ(d->SaveResults(report), QString());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(report.toStdString(), bytes));
  EXPECT_EQ(bytes.rfind("# 自動フィッティング\n", 0), 0u);
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
  EXPECT_NE(bytes.find("\nparam\tAm\t"), std::string::npos);
  EXPECT_NE(bytes.find("\ntotal\t24\t"), std::string::npos);
  EXPECT_NE(bytes.find(w.project().SettingsFilePath), std::string::npos);
  // ...but the pictures saved show the state the report gives.
  const auto* curvesPlot = Child<FitPlotWidget>(d, "fitCurves");
  EXPECT_EQ(curvesPlot->Series()[1].y, fitted);
  EXPECT_EQ(QImage(Path("fit-curves.png")).size(), curvesPlot->size() * 2);
  EXPECT_TRUE(QFile::exists(Path("fit-residuals.png")));
}

TEST_F(FitWindow, FiguresEqualTheCommandLinesWhenSomePointsHaveNoModelValue) {
  // A fourth condition at 45 K, above Tc, reads the first data file: its
  // points have no model value and are left out by both programs.
  const ModelParams truth = fit_test::TruthParams();
  const FitInput in = fit_test::MakeEJInput(truth, {{20, 1.5}, {25, 2.5}, {30, 1.5}}, 8, 0.03);
  Project p;
  p.Params = truth;
  p.Params.Re_A_m *= 1.2;
  p.Params.Re_m *= 1.1;
  fit_test::AddConditionFiles(p, in, Folder(), Folder() + "r.dat");
  AddCalcCond(p, 0, 45.0, 1.5, Folder() + "r.dat");
  const std::string path = Folder() + "p.zx2";
  ASSERT_TRUE(WriteSettings(p, path));
  MainWindow& w = Start(path);
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  Child<QPushButton>(d, "fitStart")->click();
  ASSERT_TRUE(WaitDone(d));

  const std::string out = Folder() + "fit.txt";
  ASSERT_EQ(
      std::system(
          (std::string(ZX_CLI_PATH) + " --fit '" + path + "' >'" + out + "' 2>/dev/null").c_str()),
      0);
  std::string text;
  ASSERT_TRUE(ReadWholeFile(out, text));
  const std::size_t at = text.find("\ntotal\t");
  ASSERT_NE(at, std::string::npos) << text;
  // total <points> <rms> <iterations> <status> <merit>
  QStringList total =
      QString::fromStdString(text.substr(at + 1)).trimmed().split(QLatin1Char('\t'));
  ASSERT_GE(total.size(), 6) << text;
  EXPECT_EQ(total[1], QStringLiteral("24"));
  EXPECT_EQ(Child<QLabel>(d, "fitTotal")->text(),
            QStringLiteral("全体: %1 点, RMS %2 デケード").arg(total[1], total[2]));
  EXPECT_TRUE(Child<QLabel>(d, "fitStatus")->text().contains(total[5])) << total[5].toStdString();
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
  for (int r = 0; r < kPinningParamCount; ++r) params->item(r, 2)->setCheckState(Qt::Checked);
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
  AddCalcCond(EditProject(w.document()), 0, 22.0, 1.0, Folder() + "r.dat");
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
  EXPECT_EQ(params->item(3, 4)->text(), QStringLiteral("20"));
}

TEST_F(FitWindow, ParametersWithoutEffectAreNamedAsThePanelNamesThem) {
  // Every field 1 T: B^(gamma-1) is 1, so gamma changes nothing.
  MainWindow& w = StartProject(150, 1.0, 1.0);
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  Child<QPushButton>(d, "fitStart")->click();
  ASSERT_TRUE(WaitDone(d));
  EXPECT_EQ(d->Outcome()->degenerate, std::vector<std::string>{"gamma"});
  EXPECT_TRUE(Child<QLabel>(d, "fitWarnings")->text().contains(QStringLiteral("パラメータ: γ")));
  // The others keep their standard errors.
  EXPECT_TRUE(std::isnan(d->Outcome()->params[2].stdError));
  for (int k : {0, 1, 3, 4}) EXPECT_GT(d->Outcome()->params[k].stdError, 0) << k;
}

// A fit the one-start core cannot give: two minima, Tc moved, warnings,
// correlations and a band around every curve.
struct HandMadeFit {
  FitOutcome outcome;
  FitQuality quality;
  std::vector<ConditionCurves> curves;
};

HandMadeFit MakeHandMadeFit(const Project& p) {
  HandMadeFit f;
  FitOutcome& o = f.outcome;
  o.stop = FitStop::Converged;
  o.reason = "converged";
  o.iterations = 12;
  const FitValues start = ParamsOf(p.Params);
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    o.params[k].value = start[k];
    o.params[k].stdError = 0.01 * start[k];
    o.params[k].lower = 0.5 * start[k];
    o.params[k].upper = 3 * start[k];
    o.params[k].state =
        static_cast<int>(k) < kPinningParamCount ? ParamState::Free : ParamState::Fixed;
  }
  o.params[5].value = start[5] * 1.02;
  o.params[5].state = ParamState::Free;
  o.params[4].state = ParamState::Upper;
  o.params[4].upper = start[4];
  FitValues second = ValuesOf(o);
  second[0] *= 2;
  o.minima = {{0.01, 1.0, 7, ValuesOf(o)}, {0.2, 9.0, 5, second}};
  o.warnings = {{FitWarningKind::Bound, {4}, {}},
                {FitWarningKind::NoModelValue, {}, {{2, 5}}},
                {FitWarningKind::Degenerate, {0, 3}, {}}};
  o.degenerate = {"Am", "m"};
  o.correlation[0][0] = o.correlation[3][3] = 1.0;
  o.correlation[0][3] = o.correlation[3][0] = 0.5;
  const FitInput in = TakeFitInput(p);
  f.quality = EvaluateQuality(in, ValuesOf(o), 0);
  f.curves = FitCurves(in, ValuesOf(o), 50);
  for (ConditionCurves& c : f.curves)
    for (double y : c.modelY) {
      c.modelLower.push_back(0.9 * y);
      c.modelUpper.push_back(1.1 * y);
    }
  return f;
}

TEST_F(FitWindow, ModelCurvesAreDrawnBeforeAnyFitAndFollowThePanel) {
  MainWindow& w = StartProject();
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  auto* plot = Child<FitPlotWidget>(d, "fitCurves");
  // Data and model of every condition, and a legend in the list's colours.
  ASSERT_EQ(plot->Series().size(), 6u);
  EXPECT_EQ(plot->Series()[1].y.size(), static_cast<std::size_t>(kDenseCurvePoints));
  ASSERT_EQ(plot->Legend().size(), 3u);
  EXPECT_EQ(plot->Legend()[1].text, "No 1  25 K  2.5 T");
  EXPECT_EQ(plot->Legend()[1].line, CurvePalette[1]);
  EXPECT_TRUE(plot->Bands().empty());
  EXPECT_EQ(Child<FitPlotWidget>(d, "fitResiduals")->Series()[0].y.size(), 8u);

  // A value typed in the panel: the current column and the model follow.
  const std::vector<double> before = plot->Series()[1].y;
  auto* am = w.parameterPanel()->findChild<QLineEdit*>(QStringLiteral("amEdit"));
  am->selectAll();
  QTest::keyClicks(am, QStringLiteral("2e9"));
  auto* params = Child<QTableWidget>(d, "fitParams");
  EXPECT_EQ(params->item(0, 1)->text(), QStringLiteral("2e9"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return plot->Series()[1].y != before; }, 5000));
  // Tc of the panel, with the bounds the fit would take for it.
  auto* tc = w.parameterPanel()->findChild<QLineEdit*>(QStringLiteral("tcEdit"));
  tc->selectAll();
  QTest::keyClicks(tc, QStringLiteral("40"));
  EXPECT_EQ(params->item(5, 1)->text(), QStringLiteral("40"));
  EXPECT_EQ(params->item(5, 3)->text(), QStringLiteral("36"));
  EXPECT_EQ(params->item(5, 4)->text(), QStringLiteral("44"));
}

TEST_F(FitWindow, OptionsCarryStartsOrdersAndTheBoundsOfTcAndBc2) {
  MainWindow& w = StartProject();
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  FitOptions o = d->Options();
  EXPECT_EQ(o.fixed, (FitFlags{false, false, false, false, false, true, true}));
  EXPECT_EQ(o.starts, 12);
  EXPECT_FALSE(o.allOrders);
  EXPECT_TRUE(std::isnan(At(o.lower, FitParam::Tc)) && std::isnan(At(o.upper, FitParam::Tc)));
  EXPECT_TRUE(std::isnan(At(o.lower, FitParam::Bc2)) && std::isnan(At(o.upper, FitParam::Bc2)));

  auto* params = Child<QTableWidget>(d, "fitParams");
  EXPECT_EQ(params->item(6, 0)->text(), QStringLiteral("Bc2(0)"));
  params->item(5, 2)->setCheckState(Qt::Unchecked);
  params->item(5, 3)->setText(QStringLiteral("30"));
  Child<QSpinBox>(d, "fitStarts")->setValue(3);
  Child<QCheckBox>(d, "fitAllOrders")->setChecked(true);
  o = d->Options();
  EXPECT_FALSE(o.fixed[5]);
  EXPECT_EQ(At(o.lower, FitParam::Tc), 30.0);
  EXPECT_TRUE(std::isnan(At(o.upper, FitParam::Tc)));
  EXPECT_EQ(o.starts, 3);
  EXPECT_TRUE(o.allOrders);

  // Refused as the range dialog refuses: not a positive number, or above
  // the other bound (typed or the default).
  params->item(5, 3)->setText(QStringLiteral("abc"));
  EXPECT_EQ(platform.LastMessage(), QStringLiteral("不正な値の入力 : Tcの最小値"));
  EXPECT_EQ(At(d->Options().lower, FitParam::Tc), 30.0);
  EXPECT_EQ(params->item(5, 3)->text(), QStringLiteral("30"));
  const double bc2 = w.project().Params.B_c2_0;
  params->item(6, 4)->setText(QString::number(bc2 / 4));
  EXPECT_EQ(platform.LastMessage(), QStringLiteral("不正な値の入力 : Bc2(0)の最大値"));
  EXPECT_TRUE(std::isnan(At(d->Options().upper, FitParam::Bc2)));
  // An emptied cell gives the bound back to the fit.
  params->item(5, 3)->setText(QString());
  EXPECT_TRUE(std::isnan(At(d->Options().lower, FitParam::Tc)));
  // The project's ranges are not touched by either.
  EXPECT_FALSE(w.project().Modified);
}

TEST_F(FitWindow, MinimaCorrelationsWarningsAndBandsOfAFitAreShownAndAnyMinimumCanBeApplied) {
  MainWindow& w = StartProject();
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  const HandMadeFit f = MakeHandMadeFit(w.project());
  d->Finished(f.outcome, f.quality, f.curves);

  auto* minima = Child<QTableWidget>(d, "fitMinima");
  ASSERT_EQ(minima->rowCount(), 2);
  // RMS, starts reaching it, then the five parameters and Tc, which moved.
  ASSERT_EQ(minima->columnCount(), 10);
  EXPECT_EQ(minima->horizontalHeaderItem(8)->text(), QStringLiteral("Tc"));
  EXPECT_EQ(minima->item(0, 0)->text(), QStringLiteral("★最良"));
  EXPECT_TRUE(minima->item(0, 1)->font().bold());
  EXPECT_EQ(minima->item(1, 1)->text(), QStringLiteral("0.200000"));
  EXPECT_EQ(minima->item(1, 2)->text(), QStringLiteral("5"));
  // Every number whole in its column.
  d->show();
  QApplication::processEvents();
  for (int r = 0; r < minima->rowCount(); ++r)
    for (int c = 0; c < minima->columnCount(); ++c) {
      QFont font = minima->font();
      font.setBold(r == 0);
      EXPECT_GT(minima->columnWidth(c),
                QFontMetrics(font).horizontalAdvance(minima->item(r, c)->text()))
          << r << "," << c << " " << minima->item(r, c)->text().toStdString();
    }

  auto* corr = Child<QTableWidget>(d, "fitCorrelation");
  ASSERT_EQ(corr->rowCount(), 6);
  EXPECT_EQ(corr->item(0, 3)->text(), QStringLiteral("0.500"));
  EXPECT_EQ(corr->item(1, 2)->text(), QString());

  // One red line each, parameters named as the panel names them; the
  // degenerate names are not repeated.
  auto* warnings = Child<QLabel>(d, "fitWarnings");
  EXPECT_FALSE(warnings->isHidden());
  EXPECT_TRUE(warnings->styleSheet().contains(QStringLiteral("#d00000")));
  EXPECT_EQ(warnings->text(), QStringLiteral("範囲の境界で止まったパラメータ: g^2\n"
                                             "モデル値のない点を除いた条件: No 2 (5 点)\n"
                                             "区別できないパラメータ: Am, m"));

  auto* plot = Child<FitPlotWidget>(d, "fitCurves");
  ASSERT_EQ(plot->Bands().size(), 3u);
  EXPECT_EQ(plot->Bands()[0].lower.size(), 50u);
  auto* params = Child<QTableWidget>(d, "fitParams");
  EXPECT_EQ(params->item(4, 7)->text(), QStringLiteral("上限"));

  // One click on the second minimum: its values, no errors, no band, and
  // its own values on a bound marked.
  Child<QTabWidget>(d, "fitResults")->setCurrentIndex(1);
  const QRect cell = minima->visualItemRect(minima->item(1, 1));
  QTest::mouseClick(minima->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(d->ShownMinimum(), 1);
  const FitValues second = f.outcome.minima[1].values;
  EXPECT_EQ(params->item(0, 5)->text(), fit_cells::Plain(second[0]));
  EXPECT_EQ(params->item(0, 6)->text(), QString());
  EXPECT_EQ(params->item(0, 7)->text(), QString());
  EXPECT_EQ(params->item(4, 7)->text(), QStringLiteral("上限"));
  EXPECT_TRUE(plot->Bands().empty());

  // 適用 takes that minimum, Tc too (it moved); 元に戻す gives all back.
  const double tcBefore = w.project().Params.T_c;
  Child<QPushButton>(d, "fitApply")->click();
  ModelParams read;
  w.parameterPanel()->ReadPanelValuesInto(read);
  EXPECT_EQ(read.Re_A_m, second[0]);
  EXPECT_EQ(read.T_c, second[5]);
  EXPECT_EQ(params->item(5, 1)->text(), fit_cells::Plain(second[5]));
  Child<QPushButton>(d, "fitUndo")->click();
  w.parameterPanel()->ReadPanelValuesInto(read);
  EXPECT_EQ(read.T_c, tcBefore);

  // A new run starts with empty tables.
  Child<QPushButton>(d, "fitStart")->click();
  ASSERT_TRUE(d->Running());
  EXPECT_EQ(minima->rowCount(), 0);
  EXPECT_EQ(corr->rowCount(), 0);
  EXPECT_EQ(Child<QTableWidget>(d, "fitConds")->rowCount(), 0);
  EXPECT_TRUE(warnings->isHidden());
  EXPECT_EQ(params->item(0, 6)->text(), QString());
  ASSERT_TRUE(WaitDone(d));
  EXPECT_GE(minima->rowCount(), 1);
}

TEST(FitWindowNumbers, AreWrittenAsAPersonWritesThem) {
  const std::pair<double, const char*> cases[] = {{0.75, "0.75"},
                                                  {10, "10"},
                                                  {0.08, "0.08"},
                                                  {36, "36"},
                                                  {0, "0"},
                                                  {1.25e9, "1.25e9"},
                                                  {3e-7, "3e-7"},
                                                  {-2.5e-5, "-2.5e-5"},
                                                  {1e6, "1e6"},
                                                  {123456.7, "123456.7"},
                                                  {1.2345678912e9, "1.234568e9"},
                                                  {0.0001, "0.0001"},
                                                  {NAN, "-"}};
  for (const auto& [v, text] : cases) EXPECT_EQ(fit_cells::Plain(v), QString::fromLatin1(text));
}

TEST_F(FitWindow, TheReportNeverReplacesTheProjectOrADataFile) {
  MainWindow& w = StartProject();
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  const HandMadeFit f = MakeHandMadeFit(w.project());
  d->Finished(f.outcome, f.quality, f.curves);
  const std::string project = w.project().SettingsFilePath;
  std::string before;
  ASSERT_TRUE(ReadWholeFile(project, before));
  EXPECT_EQ(d->SaveResults(QString::fromStdString(project)),
            QStringLiteral("結果ファイルに設定ファイルは指定できません。"));
  const std::string data = w.project().DataFiles.items[1].Path;
  std::string dataBefore;
  ASSERT_TRUE(ReadWholeFile(data, dataBefore));
  EXPECT_EQ(d->SaveResults(QString::fromStdString(data)),
            QStringLiteral("結果ファイルにデータファイルは指定できません。"));
  // Nor does a picture beside it.
  const QString clash = Path("d1-curves.png");
  ASSERT_TRUE(QFile::copy(QString::fromStdString(data), clash));
  AddDataFile(w.document(), clash.toStdString());
  EXPECT_EQ(d->SaveResults(Path("d1.txt")),
            QStringLiteral("結果ファイルにデータファイルは指定できません。"));
  EXPECT_FALSE(QFile::exists(Path("d1.txt")));
  std::string after;
  ASSERT_TRUE(ReadWholeFile(project, after));
  EXPECT_EQ(after, before);
  ASSERT_TRUE(ReadWholeFile(data, after));
  EXPECT_EQ(after, dataBefore);

  // SVG pictures go through the same one-step write.
  Child<QComboBox>(d, "fitImageFormat")->setCurrentIndex(1);
  ASSERT_EQ(d->SaveResults(Path("ok.txt")), QString());
  std::string svg;
  ASSERT_TRUE(ReadWholeFile(Path("ok-curves.svg").toStdString(), svg));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
}

TEST(FitWindowPlace, BesideTheMainWindowWhereThereIsRoomAndAlwaysInsideTheScreen) {
  const QRect screen(0, 0, 1600, 1000);
  const QRect main(100, 50, 640, 560);  // frames
  // Room on the right: there, at the main window's top.
  EXPECT_EQ(PlaceBeside(main, {800, 720}, {600, 400}, screen), QRect(740, 50, 800, 720));
  // Too wide for it: narrowed to the gap while the minimum fits.
  EXPECT_EQ(PlaceBeside(main, {1180, 720}, {600, 400}, screen), QRect(740, 50, 860, 720));
  // Room on the left only.
  EXPECT_EQ(PlaceBeside(QRect(900, 50, 640, 560), {800, 720}, {600, 400}, screen),
            QRect(100, 50, 800, 720));
  // No room beside it: over it at the right edge; a main window above the
  // top or a tall window never puts the title bar above the screen.
  EXPECT_EQ(PlaceBeside(QRect(400, -30, 900, 560), {1180, 720}, {700, 400}, screen),
            QRect(420, 0, 1180, 720));
  EXPECT_EQ(PlaceBeside(main, {800, 1400}, {600, 400}, screen), QRect(740, 0, 800, 1000));
  EXPECT_EQ(PlaceBeside(QRect(100, 700, 640, 300), {800, 720}, {600, 400}, screen),
            QRect(740, 280, 800, 720));
  // A screen that does not start at 0 (a second monitor, a panel on top).
  const QRect right(1600, 40, 1280, 984);
  EXPECT_EQ(PlaceBeside(QRect(1700, 20, 640, 560), {500, 720}, {400, 400}, right),
            QRect(2340, 40, 500, 720));
  // A 1280 x 800 screen: the wanted frame of 1186 x 748 goes over the main
  // window, and a frame that came out too low or too tall (the window
  // manager's frame added to a window placed without it) is moved up and
  // shrunk into the area, never below the minimum.
  const QRect small(0, 0, 1280, 800);
  const QRect mainFrame(100, 50, 806, 600);
  const QSize minimum(700, 500);  // client
  const QMargins frame(3, 25, 3, 3);
  const QRect placed = PlaceBeside(mainFrame, {1186, 748}, {706, 528}, small);
  EXPECT_EQ(placed, QRect(94, 50, 1186, 748));
  EXPECT_EQ(FitFrameInside(QRect(94, 65, 1186, 748), frame, minimum, small),
            QRect(94, 52, 1186, 748));
  EXPECT_EQ(FitFrameInside(QRect(94, 65, 1300, 900), frame, minimum, small),
            QRect(0, 0, 1280, 800));
  EXPECT_EQ(FitFrameInside(QRect(94, 65, 800, 600), frame, {1400, 900}, small),
            QRect(0, 0, 1406, 928));
}

TEST_F(FitWindow, OpensAsAWindowOfItsOwnThatTheMainWindowCanCover) {
  MainWindow& w = StartProject();
  w.show();
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowType(), Qt::Window);
  EXPECT_FALSE(d->windowFlags() & Qt::WindowStaysOnTopHint);
  ASSERT_NE(d->windowHandle(), nullptr);
  EXPECT_EQ(d->windowHandle()->transientParent(), nullptr);
  // Inside the screen's area from its top-left corner on, the whole of it
  // where the screen is large enough (the test screen may not be).
  const QRect avail = d->screen()->availableGeometry();
  const QRect f = d->frameGeometry();
  EXPECT_TRUE(avail.contains(f.topLeft()));
  if (avail.width() >= f.width()) {
    EXPECT_LE(f.right(), avail.right());
  }
  if (avail.height() >= f.height()) {
    EXPECT_LE(f.bottom(), avail.bottom());
  }
  // The main window stays its parent: it goes when the main window goes.
  EXPECT_EQ(d->parentWidget(), &w);
}

// The boxes of the texts a graph draws, measured in the real font.
class TextBoxes : public QtCanvas {
 public:
  using QtCanvas::QtCanvas;
  std::vector<std::pair<std::string, QRect>> boxes;
  void DrawText(IntPoint at, const std::string& text, bool upward, Rgb color) override {
    const TextSize t = MeasureText(text, upward);
    // An upward text runs up from its corner.
    boxes.push_back(
        {text, upward ? QRect(at.x, at.y - t.cx, t.cy, t.cx) : QRect(at.x, at.y, t.cx, t.cy)});
    QtCanvas::DrawText(at, text, upward, color);
  }
};

TEST_F(FitWindow, NothingOverlapsAtTheSmallestSize) {
  MainWindow& w = StartProject();
  FitDialog* d = Open(w);
  ASSERT_NE(d, nullptr);
  const HandMadeFit f = MakeHandMadeFit(w.project());
  d->Finished(f.outcome, f.quality, f.curves);
  d->resize(d->minimumSize());
  QApplication::processEvents();
  EXPECT_EQ(d->size(), d->minimumSize());
  // The controls a user reads, not the inner parts of tables and choosers.
  std::vector<QWidget*> leaves;
  for (QWidget* c : d->findChildren<QWidget*>()) {
    if (!c->isVisibleTo(d)) continue;
    bool inner = false;
    for (QWidget* a = c->parentWidget(); a && a != d; a = a->parentWidget())
      inner = inner || qobject_cast<QAbstractScrollArea*>(a) ||
              qobject_cast<QAbstractSpinBox*>(a) || qobject_cast<QComboBox*>(a) ||
              qobject_cast<QTabBar*>(a);
    const bool leaf = qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c) ||
                      qobject_cast<QComboBox*>(c) || qobject_cast<QLineEdit*>(c) ||
                      qobject_cast<QAbstractSpinBox*>(c) || qobject_cast<QTabBar*>(c) ||
                      qobject_cast<QTableWidget*>(c) || qobject_cast<FitPlotWidget*>(c);
    if (leaf && !inner) leaves.push_back(c);
  }
  ASSERT_GT(leaves.size(), 20u);
  auto rect = [d](QWidget* c) { return QRect(c->mapTo(d, QPoint(0, 0)), c->size()); };
  for (QWidget* a : leaves) {
    const QSize hint = a->minimumSizeHint();
    EXPECT_GE(a->width(), hint.width())
        << a->metaObject()->className() << " " << a->objectName().toStdString();
    auto* label = qobject_cast<QLabel*>(a);
    const int need = label && label->wordWrap() ? label->heightForWidth(a->width()) : hint.height();
    EXPECT_GE(a->height(), need) << a->metaObject()->className() << " "
                                 << a->objectName().toStdString();
    for (QWidget* b : leaves)
      if (a < b && !a->isAncestorOf(b) && !b->isAncestorOf(a)) {
        EXPECT_FALSE(rect(a).intersects(rect(b)))
            << a->objectName().toStdString() << " / " << b->objectName().toStdString();
      }
  }
  // Inside the graphs: tick labels, axis titles and the legend.
  for (const char* name : {"fitCurves", "fitResiduals"}) {
    const FitPlotWidget* plot = Child<FitPlotWidget>(d, name);
    QImage image(plot->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    TextBoxes c(painter);
    plot->Draw(c, plot->width(), plot->height());
    ASSERT_GT(c.boxes.size(), 8u) << name;
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
      EXPECT_TRUE(QRect(QPoint(0, 0), plot->size()).contains(c.boxes[i].second))
          << name << " " << c.boxes[i].first;
      for (std::size_t j = i + 1; j < c.boxes.size(); ++j)
        EXPECT_FALSE(c.boxes[i].second.intersects(c.boxes[j].second))
            << name << " " << c.boxes[i].first << " / " << c.boxes[j].first;
    }
  }
}

// The window in English after a fit: title, labels, buttons, options,
// headers, cells, tabs, tooltips and status lines hold no Japanese, and the
// report follows the language.
class FitWindowEnglish : public FitWindow {
 protected:
  void SetUp() override {
    FitWindow::SetUp();
    ASSERT_TRUE(InstallLanguage(Language::English));
  }
  void TearDown() override {
    window.reset();
    InstallLanguage(Language::Japanese);
  }

  static QStringList Texts(QWidget* top) {
    QStringList texts{top->windowTitle()};
    for (QWidget* w : top->findChildren<QWidget*>()) {
      texts << w->toolTip();
      if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
      if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
      if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
      if (auto* c = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
      if (auto* t = qobject_cast<QTabBar*>(w))
        for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
      if (auto* t = qobject_cast<QTableWidget*>(w)) {
        for (int i = 0; i < t->columnCount(); ++i)
          if (QTableWidgetItem* h = t->horizontalHeaderItem(i)) texts << h->text();
        for (int r = 0; r < t->rowCount(); ++r)
          for (int c = 0; c < t->columnCount(); ++c)
            if (QTableWidgetItem* item = t->item(r, c)) texts << item->text() << item->toolTip();
      }
    }
    return texts;
  }
  static QStringList Japanese(const QStringList& texts) {
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    QStringList left;
    for (const QString& t : texts)
      if (t.contains(japanese)) left << t;
    return left;
  }
};

TEST_F(FitWindowEnglish, EveryTextAfterAFitAndTheReportAreEnglish) {
  MainWindow& w = StartProject();
  auto* action = w.findChild<QAction*>("actionAutoFit");
  ASSERT_NE(action, nullptr);
  action->trigger();
  FitDialog* d = w.findChild<FitDialog*>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), "Automatic Fit");
  EXPECT_EQ(Japanese(Texts(d)), QStringList());
  auto* params = Child<QTableWidget>(d, "fitParams");
  params->item(1, 2)->setCheckState(Qt::Checked);
  params->item(4, 2)->setCheckState(Qt::Checked);
  Child<QPushButton>(d, "fitStart")->click();
  ASSERT_TRUE(WaitDone(d));
  EXPECT_EQ(Japanese(Texts(d)), QStringList());
  EXPECT_EQ(params->horizontalHeaderItem(6)->text(), "Std. error");

  const QString report = Path("fit.txt");
  ASSERT_EQ(d->SaveResults(report), QString());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(report.toStdString(), bytes));
  EXPECT_EQ(bytes.rfind("# Automatic fit\n# Settings file: ", 0), 0u);
  EXPECT_EQ(Japanese({QString::fromStdString(bytes)}), QStringList());
}

}  // namespace
}  // namespace zx::test
