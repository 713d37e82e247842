// The axis settings, calculation-mode and about dialogs.
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTableWidget>

#include "dialog_fixture.h"

namespace zx::test {
namespace {

using AxisModeDialogs = DialogTest;

TEST_F(AxisModeDialogs, AxisDialogShowsTheEffectiveRangeAndTogglesTheEdits) {
  MainWindow& w = StartWith(1);
  w.paintState().View.X.Low = 1.234e8;
  w.paintState().View.X.High = 5.678e9;
  w.Command(kCmdAxisSettings);
  FlaggedDialog* d = Dialog(113);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("軸設定ダイアログ"));
  EXPECT_EQ(Ctl<QComboBox>(d, 1018)->currentText(), QStringLiteral("対数"));
  EXPECT_TRUE(Ctl<QCheckBox>(d, 1064)->isChecked());
  EXPECT_FALSE(Ctl<QLineEdit>(d, 1066)->isEnabled());
  EXPECT_EQ(Text(d, 1066), QStringLiteral("1.23e8"));
  EXPECT_EQ(Text(d, 1068), QStringLiteral("5.67e9"));

  SetText(d, 1066, QStringLiteral("7"));
  Click(d, 1064);  // off: enabled and refilled
  EXPECT_TRUE(Ctl<QLineEdit>(d, 1066)->isEnabled());
  EXPECT_EQ(Text(d, 1066), QStringLiteral("1.23e8"));
  SetText(d, 1066, QStringLiteral("7"));
  Click(d, 1064);  // on: disabled, text kept
  EXPECT_FALSE(Ctl<QLineEdit>(d, 1066)->isEnabled());
  EXPECT_EQ(Text(d, 1066), QStringLiteral("7"));

  // Both automatic: only the types and flags change.
  const double xMin = w.project().Axes.X.min;
  Ctl<QComboBox>(d, 1018)->setCurrentIndex(0);
  Click(d, 1);
  EXPECT_EQ(Dialog(113), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Axis));
  EXPECT_EQ(w.project().Axes.X.type, AxisScale::Linear);
  EXPECT_EQ(w.project().Axes.X.min, xMin);
  EXPECT_TRUE(w.project().Modified);
  EXPECT_TRUE(w.viewState().View.RescalePending);
}

TEST_F(AxisModeDialogs, AxisRefusalKeepsWhatWasWrittenBeforeIt) {
  MainWindow& w = StartWith(1);
  w.Command(kCmdAxisSettings);
  FlaggedDialog* d = Dialog(113);
  Click(d, 1064);
  SetText(d, 1066, QStringLiteral("0"));
  SetText(d, 1068, QStringLiteral("5"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : X軸最小値"));
  EXPECT_EQ(platform.messages.back().caption, QStringLiteral("エラー"));
  ASSERT_EQ(Dialog(113), d);

  Ctl<QComboBox>(d, 1018)->setCurrentIndex(0);  // linear accepts anything
  SetText(d, 1066, QStringLiteral("abc"));
  Click(d, 1071);
  SetText(d, 1073, QStringLiteral("1"));
  SetText(d, 1075, QStringLiteral("-1"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : Y軸最大値"));
  ASSERT_EQ(Dialog(113), d);
  const SavedAxes& g = w.project().Axes;
  EXPECT_EQ(g.X.type, AxisScale::Linear);
  EXPECT_FALSE(g.X.autoScale);
  EXPECT_EQ(g.X.min, 0.0);
  EXPECT_EQ(g.X.max, 5.0);
  EXPECT_TRUE(g.Y.autoScale);
  Click(d, 2);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Axis));
  EXPECT_EQ(g.X.max, 5.0);
}

// The widgets see the project only through the shell, and only to read it.
template <class S>
concept WritesThroughTheShell = requires(S& s) {
  s.project().Modified = true;
};
template <class S>
concept WritesThroughTheDocument = requires(S& s) {
  s.document().project.Axes.X.min = 1.0;
};
static_assert(!WritesThroughTheShell<Shell>);
static_assert(!WritesThroughTheDocument<Shell>);
static_assert(!WritesThroughTheShell<MainWindow>);
static_assert(!WritesThroughTheDocument<MainWindow>);

TEST_F(AxisModeDialogs, OnlyAnAcceptedAxisDialogMarksTheProjectAndRepaints) {
  MainWindow& w = StartWith(1);
  std::vector<ChangeKind> told;
  w.document().observers.push_back([&told](const DocChange& c) { told.push_back(c.kind); });
  const int passes = w.PaintPassCount();
  w.Command(kCmdAxisSettings);
  FlaggedDialog* d = Dialog(113);
  ASSERT_NE(d, nullptr);
  Click(d, 1064);
  SetText(d, 1066, QStringLiteral("0"));  // refused on the log axis
  Click(d, 1);
  ASSERT_EQ(Dialog(113), d);
  w.PaintNow();
  EXPECT_FALSE(w.project().Modified);
  EXPECT_TRUE(told.empty());
  EXPECT_EQ(w.PaintPassCount(), passes);

  SetText(d, 1066, QStringLiteral("2"));
  SetText(d, 1068, QStringLiteral("8"));
  Click(d, 1);
  EXPECT_EQ(Dialog(113), nullptr);
  EXPECT_TRUE(w.project().Modified);
  EXPECT_EQ(told, std::vector<ChangeKind>{ChangeKind::AxesChanged});
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), passes + 1);
  // The paint honours the manual range it was asked for.
  EXPECT_EQ(w.viewState().View.X.Low, 2.0);
  EXPECT_EQ(w.viewState().View.X.High, 8.0);
}

TEST_F(AxisModeDialogs, ModeChangeWithDataFilesAsksAndClearsOnYes) {
  MainWindow& w = StartWith(2, {{0, 10, 1, "/tmp/a.dat"}});
  OpenRenameDialog(w, 0);
  w.Command(kCmdModeChange);
  FlaggedDialog* d = Dialog(116);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("計算モード変更"));
  EXPECT_TRUE(Ctl<QRadioButton>(d, 1091)->isChecked());

  Click(d, 1);  // unchanged: no question
  EXPECT_EQ(MessageCount(), 0);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Mode));

  w.Command(kCmdModeChange);
  d = Dialog(116);
  Click(d, 1092);
  Click(d, 1);  // the scripted answer is No
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(platform.messages[0].caption, QStringLiteral("計算モード変更の確認"));
  EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(w.project().Settings.Mode, CalcMode::EJ);
  EXPECT_EQ(w.project().DataFiles.Count(), 2);
  EXPECT_EQ(Dialog(116), nullptr);

  w.Command(kCmdModeChange);
  d = Dialog(116);
  Click(d, 1092);
  platform.answers.push_back(MsgAnswer::Yes);
  Click(d, 1);
  const Project& p = w.project();
  EXPECT_EQ(p.Settings.Mode, CalcMode::JcB);
  EXPECT_TRUE(p.DataFiles.Empty());
  EXPECT_TRUE(p.CalcConds.Empty());
  EXPECT_TRUE(w.viewState().DataSeries.Empty());
  EXPECT_TRUE(w.viewState().CurveSeries.Empty());
  EXPECT_EQ(w.listsPanel()->dataList()->rowCount(), 0);
  EXPECT_EQ(w.listsPanel()->condList()->rowCount(), 0);
  EXPECT_EQ(p.Axes.X.type, AxisScale::Linear);
  EXPECT_EQ(w.viewState().View.X.Title, "B(T)");
  EXPECT_EQ(w.viewState().View.Y.Title, "Jc(A/m^2)");
  EXPECT_EQ(w.StatusText(1), QStringLiteral("Jc-B計算モード"));
  EXPECT_TRUE(p.Modified);
  EXPECT_EQ(Dialog(122), nullptr);  // the rename dialog lost its entry
}

TEST_F(AxisModeDialogs, ModeChangeWithoutDataFilesKeepsConditions) {
  MainWindow& w = StartWith(0, {{-1, 10, 1, "/tmp/a.dat"}});
  w.Command(kCmdModeChange);
  FlaggedDialog* d = Dialog(116);
  Click(d, 1092);
  Click(d, 1);
  EXPECT_EQ(MessageCount(), 0);
  EXPECT_EQ(w.project().Settings.Mode, CalcMode::JcB);
  EXPECT_EQ(w.project().CalcConds.Count(), 1);
  EXPECT_TRUE(w.project().Modified);
  w.Command(kCmdOtherSettings);  // now the Jc-B dialog
  EXPECT_NE(Dialog(117), nullptr);
}

TEST_F(AxisModeDialogs, AboutBoxOpensOnceAndClosesWithOk) {
  MainWindow& w = StartWith(0);
  w.Command(kCmdAbout);
  w.Command(kCmdAbout);
  EXPECT_EQ(DialogCount(112), 1);
  FlaggedDialog* d = Dialog(112);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("ZentrixⅡ"));
  EXPECT_TRUE(w.dialogs().IsOpen(DialogKind::About));
  Click(d, 1);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::About));
  EXPECT_EQ(DialogCount(112), 0);
}

}  // namespace
}  // namespace zx::test
