// The J range, Jc-B condition and parameter range dialogs.
#include <QSlider>

#include "dialog_fixture.h"

namespace zx::test {
namespace {

using RangeDialogs = DialogTest;

TEST_F(RangeDialogs, JRangeRefusesZeroAndReversedRangesAndStoresTheLevel) {
  MainWindow& w = StartWith(1);
  w.Command(kCmdOtherSettings);
  ModelessDialog* d = Dialog(114);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("計算J範囲の設定"));
  EXPECT_EQ(Text(d, 1083), QStringLiteral("1e5"));
  EXPECT_EQ(Text(d, 1084), QStringLiteral("1e11"));
  auto* slider = Ctl<QSlider>(d, 1085);
  EXPECT_EQ(slider->minimum(), 1);
  EXPECT_EQ(slider->maximum(), 10);
  EXPECT_EQ(Text(d, 1015), QStringLiteral("3"));

  SetText(d, 1083, QStringLiteral("0"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : J範囲開始値"));
  EXPECT_EQ(platform.messages.back().caption, QString());
  SetText(d, 1083, QStringLiteral("1e9"));
  SetText(d, 1084, QStringLiteral("1e8"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : J範囲終了値"));
  SetText(d, 1084, QStringLiteral("1e9"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : J範囲終了値"));
  ASSERT_EQ(Dialog(114), d);
  EXPECT_EQ(w.project().Settings.JIni, 1e5);

  SetText(d, 1084, QStringLiteral("2e12"));
  slider->setValue(7);
  EXPECT_EQ(Text(d, 1015), QStringLiteral("7"));
  Click(d, 1);
  EXPECT_EQ(Dialog(114), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::JRange));
  EXPECT_EQ(w.project().Settings.JIni, 1e9);
  EXPECT_EQ(w.project().Settings.JFin, 2e12);
  EXPECT_EQ(w.project().Settings.JStepLevel, 7);
  EXPECT_TRUE(w.project().Modified);  // the change must not be lost unasked
}

TEST_F(RangeDialogs, JcConditionAcceptsZeroAndTiesTheToleranceToTheLevel) {
  MainWindow& w = StartWith(1, {}, [](Project& p) { p.Settings.Mode = zx::CalcMode::JcB; });
  w.Command(kCmdOtherSettings);
  EXPECT_EQ(Dialog(114), nullptr);
  ModelessDialog* d = Dialog(117);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("Ec変更ダイアログ"));
  EXPECT_EQ(Text(d, 1093), QStringLiteral("1e-4"));
  EXPECT_EQ(Ctl<QSlider>(d, 1096)->maximum(), 5);

  struct Case {
    int id;
    const char* text;
    const char* message;
  };
  // J brackets a search on log J: a start of 0 is refused like a negative one.
  const Case refused[] = {{1100, "-1", "J範囲開始値"}, {1100, "0", "J範囲開始値"},
                          {1101, "-1", "J範囲終了値"}, {1103, "-1", "B範囲開始値"},
                          {1104, "-1", "B範囲終了値"}, {1104, "0.5", "B範囲終了値"},
                          {1093, "-1", "電界基準値"}};
  for (const Case& c : refused) {
    const QString before = Text(d, c.id);
    SetText(d, c.id, QString::fromUtf8(c.text));
    Click(d, 1);
    EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : ") + QString::fromUtf8(c.message));
    SetText(d, c.id, before);
  }
  ASSERT_EQ(Dialog(117), d);

  SetText(d, 1100, QStringLiteral("1e4"));
  SetText(d, 1103, QStringLiteral("0"));
  SetText(d, 1093, QStringLiteral("2e-4"));
  Ctl<QSlider>(d, 1096)->setValue(4);
  const int passes = w.PaintPassCount();
  platform.messages.clear();
  Click(d, 1);
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  EXPECT_EQ(Dialog(117), nullptr);
  const Project& p = w.project();
  EXPECT_EQ(p.Settings.JIni, 1e4);
  EXPECT_EQ(p.Settings.BIni, 0.0);
  EXPECT_EQ(p.Params.E_c, 2e-4);
  EXPECT_EQ(p.Settings.BStepLevel, 4);
  EXPECT_EQ(p.Params.E_cAllowableError, 0.005);
  EXPECT_TRUE(p.Modified);
  w.PaintNow();
  EXPECT_GT(w.PaintPassCount(), passes);
}

TEST_F(RangeDialogs, ParamRangeChecksEachBoundInOrder) {
  MainWindow& w = StartWith(0);
  w.Command(kCmdParamRange);
  ModelessDialog* d = Dialog(120);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("パラメータ設定可能範囲変更ダイアログ"));
  EXPECT_EQ(Text(d, 1102), QStringLiteral("1e8"));
  EXPECT_EQ(Text(d, 1015), QStringLiteral("1e11"));

  // Both Am bounds invalid: only the first message.
  SetText(d, 1102, QStringLiteral("0"));
  SetText(d, 1015, QStringLiteral("-1"));
  Click(d, 1);
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : Amの最小値"));
  SetText(d, 1102, QStringLiteral("1e12"));
  SetText(d, 1015, QStringLiteral("1e11"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : Amの最大値"));
  SetText(d, 1102, QStringLiteral("1e7"));

  SetText(d, 1016, QStringLiteral("1.5"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : σ^2の最大値"));
  SetText(d, 1016, QStringLiteral("1"));
  SetText(d, 1105, QStringLiteral("0.5"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : mの最小値"));
  SetText(d, 1105, QStringLiteral("1"));
  SetText(d, 1106, QStringLiteral("5"));
  SetText(d, 1019, QStringLiteral("5"));
  Click(d, 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : g^2の最大値"));
  EXPECT_EQ(w.project().Settings.MiniRe_Am, 1e8);
  SetText(d, 1019, QStringLiteral("6"));

  platform.messages.clear();
  Click(d, 1);
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  EXPECT_EQ(Dialog(120), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::ParamRange));
  const CalcSettings& s = w.project().Settings;
  EXPECT_EQ(s.MiniRe_Am, 1e7);
  EXPECT_EQ(s.MaxSigma_2, 1.0);
  EXPECT_EQ(s.MiniRe_m, 1.0);
  EXPECT_EQ(s.MiniRe_g_2, 5.0);
  EXPECT_EQ(s.MaxRe_g_2, 6.0);
  EXPECT_TRUE(w.project().Modified);
}

// A new range moves the sliders to where their values now stand, so the
// next step goes on from the value shown instead of jumping.
TEST_F(RangeDialogs, ParamRangeOkPutsEverySliderAtItsValue) {
  MainWindow& w = StartWith(1, {}, [](Project& p) {
    p.Params.Sigma_2 = 0.08;
    p.Params.Re_A_m = 1e9;
  });
  auto slider = [&w](int id) { return qobject_cast<QSlider*>(w.parameterPanel()->Control(id)); };
  auto edit = [&w](int id) { return qobject_cast<QLineEdit*>(w.parameterPanel()->Control(id)); };
  ASSERT_NE(slider(1023), nullptr);
  EXPECT_EQ(slider(1023)->value(), 8);
  EXPECT_EQ(slider(1022)->value(), 33);
  const QString sigma = edit(1016)->text();
  const QString am = edit(1014)->text();

  w.Command(kCmdParamRange);
  ModelessDialog* d = Dialog(120);
  ASSERT_NE(d, nullptr);
  SetText(d, 1103, QStringLiteral("0"));
  SetText(d, 1016, QStringLiteral("0.2"));
  SetText(d, 1102, QStringLiteral("1e7"));
  SetText(d, 1015, QStringLiteral("1e9"));
  Click(d, 1);
  ASSERT_EQ(Dialog(120), nullptr) << LastMessage().toStdString();
  EXPECT_EQ(slider(1023)->value(), 40);
  EXPECT_EQ(slider(1022)->value(), 100);
  EXPECT_EQ(edit(1016)->text(), sigma);
  EXPECT_EQ(edit(1014)->text(), am);
  w.PaintNow();
  EXPECT_EQ(w.project().Params.Sigma_2, 0.08);
  EXPECT_EQ(w.project().Params.Re_A_m, 1e9);

  // The next step goes on from 0.08.
  slider(1023)->setValue(41);
  EXPECT_EQ(edit(1016)->text(), "8.2e-2");
}

}  // namespace
}  // namespace zx::test
