// The axis settings, calculation-mode and about dialogs.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>

#include "dialog_fixture.h"
#include "model/program_version.h"

namespace zx::test {
namespace {

using AxisModeDialogs = DialogTest;

TEST_F(AxisModeDialogs, AxisDialogShowsTheEffectiveRangeAndTogglesTheEdits) {
  MainWindow& w = StartWith(1);
  w.paintState().View.X.Low = 1.234e8;
  w.paintState().View.X.High = 5.678e9;
  w.Command(kCmdAxisSettings);
  ModelessDialog* d = Dialog(DialogKind::Axis);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("軸設定ダイアログ"));
  EXPECT_EQ(Child<QComboBox>(d, "xScaleCombo")->currentText(), QStringLiteral("対数"));
  EXPECT_TRUE(Child<QCheckBox>(d, "xAutoScaleCheck")->isChecked());
  EXPECT_FALSE(Child<QLineEdit>(d, "xMinEdit")->isEnabled());
  EXPECT_EQ(Text(d, "xMinEdit"), QStringLiteral("1.23e8"));
  EXPECT_EQ(Text(d, "xMaxEdit"), QStringLiteral("5.67e9"));

  SetText(d, "xMinEdit", QStringLiteral("7"));
  Click(d, "xAutoScaleCheck");  // off: enabled and refilled
  EXPECT_TRUE(Child<QLineEdit>(d, "xMinEdit")->isEnabled());
  EXPECT_EQ(Text(d, "xMinEdit"), QStringLiteral("1.23e8"));
  SetText(d, "xMinEdit", QStringLiteral("7"));
  Click(d, "xAutoScaleCheck");  // on: disabled, text kept
  EXPECT_FALSE(Child<QLineEdit>(d, "xMinEdit")->isEnabled());
  EXPECT_EQ(Text(d, "xMinEdit"), QStringLiteral("7"));

  // Both automatic: only the types and flags change.
  const double xMin = w.project().Axes.X.min;
  Child<QComboBox>(d, "xScaleCombo")->setCurrentIndex(0);
  Click(d, "okButton");
  EXPECT_EQ(Dialog(DialogKind::Axis), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Axis));
  EXPECT_EQ(w.project().Axes.X.type, AxisScale::Linear);
  EXPECT_EQ(w.project().Axes.X.min, xMin);
  EXPECT_TRUE(w.project().Modified);
  EXPECT_TRUE(w.viewState().View.RescalePending);
}

TEST_F(AxisModeDialogs, AxisRefusalKeepsWhatWasWrittenBeforeIt) {
  MainWindow& w = StartWith(1);
  w.Command(kCmdAxisSettings);
  ModelessDialog* d = Dialog(DialogKind::Axis);
  Click(d, "xAutoScaleCheck");
  SetText(d, "xMinEdit", QStringLiteral("0"));
  SetText(d, "xMaxEdit", QStringLiteral("5"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : X軸最小値"));
  EXPECT_EQ(platform.messages.back().caption, QStringLiteral("エラー"));
  ASSERT_EQ(Dialog(DialogKind::Axis), d);

  Child<QComboBox>(d, "xScaleCombo")->setCurrentIndex(0);  // linear accepts anything
  SetText(d, "xMinEdit", QStringLiteral("abc"));
  Click(d, "yAutoScaleCheck");
  SetText(d, "yMinEdit", QStringLiteral("1"));
  SetText(d, "yMaxEdit", QStringLiteral("-1"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : Y軸最大値"));
  ASSERT_EQ(Dialog(DialogKind::Axis), d);
  const SavedAxes& g = w.project().Axes;
  EXPECT_EQ(g.X.type, AxisScale::Linear);
  EXPECT_FALSE(g.X.autoScale);
  EXPECT_EQ(g.X.min, 0.0);
  EXPECT_EQ(g.X.max, 5.0);
  EXPECT_TRUE(g.Y.autoScale);
  Click(d, "cancelButton");
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
  ModelessDialog* d = Dialog(DialogKind::Axis);
  ASSERT_NE(d, nullptr);
  Click(d, "xAutoScaleCheck");
  SetText(d, "xMinEdit", QStringLiteral("0"));  // refused on the log axis
  Click(d, "okButton");
  ASSERT_EQ(Dialog(DialogKind::Axis), d);
  w.PaintNow();
  EXPECT_FALSE(w.project().Modified);
  EXPECT_TRUE(told.empty());
  EXPECT_EQ(w.PaintPassCount(), passes);

  SetText(d, "xMinEdit", QStringLiteral("2"));
  SetText(d, "xMaxEdit", QStringLiteral("8"));
  Click(d, "okButton");
  EXPECT_EQ(Dialog(DialogKind::Axis), nullptr);
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
  ModelessDialog* d = Dialog(DialogKind::Mode);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("計算モード変更"));
  EXPECT_TRUE(Child<QRadioButton>(d, "ejRadio")->isChecked());

  Click(d, "okButton");  // unchanged: no question
  EXPECT_EQ(MessageCount(), 0);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::Mode));

  w.Command(kCmdModeChange);
  d = Dialog(DialogKind::Mode);
  Click(d, "jcbRadio");
  Click(d, "okButton");  // the scripted answer is No
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(platform.messages[0].caption, QStringLiteral("計算モード変更の確認"));
  EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(w.project().Settings.Mode, CalcMode::EJ);
  EXPECT_EQ(w.project().DataFiles.Count(), 2);
  EXPECT_EQ(Dialog(DialogKind::Mode), nullptr);

  w.Command(kCmdModeChange);
  d = Dialog(DialogKind::Mode);
  Click(d, "jcbRadio");
  platform.answers.push_back(MsgAnswer::Yes);
  Click(d, "okButton");
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
  EXPECT_EQ(Dialog(DialogKind::Rename), nullptr);  // the rename dialog lost its entry
}

TEST_F(AxisModeDialogs, ModeChangeWithoutDataFilesKeepsConditions) {
  MainWindow& w = StartWith(0, {{-1, 10, 1, "/tmp/a.dat"}});
  w.Command(kCmdModeChange);
  ModelessDialog* d = Dialog(DialogKind::Mode);
  Click(d, "jcbRadio");
  Click(d, "okButton");
  EXPECT_EQ(MessageCount(), 0);
  EXPECT_EQ(w.project().Settings.Mode, CalcMode::JcB);
  EXPECT_EQ(w.project().CalcConds.Count(), 1);
  EXPECT_TRUE(w.project().Modified);
  w.Command(kCmdOtherSettings);  // now the Jc-B dialog
  EXPECT_NE(Dialog(DialogKind::JcCondition), nullptr);
}

TEST_F(AxisModeDialogs, AboutBoxOpensOnceAndClosesWithOk) {
  MainWindow& w = StartWith(0);
  w.Command(kCmdAbout);
  w.Command(kCmdAbout);
  EXPECT_EQ(DialogCount(DialogKind::About), 1);
  ModelessDialog* d = Dialog(DialogKind::About);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("ZentrixⅡ"));
  // The name and the version the command line prints.
  EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("nameLabel"))->text(), "ZENTRIX II");
  EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("versionLabel"))->text(),
            QStringLiteral("バージョン ") + QString::fromLatin1(kProgramVersion));
  EXPECT_TRUE(w.dialogs().IsOpen(DialogKind::About));
  Click(d, "okButton");
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::About));
  EXPECT_EQ(DialogCount(DialogKind::About), 0);
}

}  // namespace
}  // namespace zx::test
