// The J range, Jc-B condition and parameter range dialogs.
#include <QSlider>

#include "dialog_fixture.h"

namespace zx::test {
namespace {

using RangeDialogs = DialogTest;

TEST_F(RangeDialogs, JRangeRefusesZeroAndReversedRangesAndStoresTheLevel) {
  MainWindow& w = StartWith(1);
  w.Command(kCmdOtherSettings);
  ModelessDialog* d = Dialog(DialogKind::JRange);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("計算J範囲の設定"));
  EXPECT_EQ(Text(d, "jStartEdit"), QStringLiteral("1e5"));
  EXPECT_EQ(Text(d, "jEndEdit"), QStringLiteral("1e11"));
  auto* slider = Child<QSlider>(d, "levelSlider");
  EXPECT_EQ(slider->minimum(), 1);
  EXPECT_EQ(slider->maximum(), 10);
  EXPECT_EQ(Text(d, "levelEdit"), QStringLiteral("3"));

  SetText(d, "jStartEdit", QStringLiteral("0"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : J範囲開始値"));
  EXPECT_EQ(platform.messages.back().caption, QString());
  SetText(d, "jStartEdit", QStringLiteral("1e9"));
  SetText(d, "jEndEdit", QStringLiteral("1e8"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : J範囲終了値"));
  SetText(d, "jEndEdit", QStringLiteral("1e9"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : J範囲終了値"));
  ASSERT_EQ(Dialog(DialogKind::JRange), d);
  EXPECT_EQ(w.project().Settings.JIni, 1e5);

  SetText(d, "jEndEdit", QStringLiteral("2e12"));
  slider->setValue(7);
  EXPECT_EQ(Text(d, "levelEdit"), QStringLiteral("7"));
  Click(d, "okButton");
  EXPECT_EQ(Dialog(DialogKind::JRange), nullptr);
  EXPECT_FALSE(w.dialogs().IsOpen(DialogKind::JRange));
  EXPECT_EQ(w.project().Settings.JIni, 1e9);
  EXPECT_EQ(w.project().Settings.JFin, 2e12);
  EXPECT_EQ(w.project().Settings.JStepLevel, 7);
  EXPECT_TRUE(w.project().Modified);  // the change must not be lost unasked
}

TEST_F(RangeDialogs, JcConditionAcceptsZeroAndTiesTheToleranceToTheLevel) {
  MainWindow& w = StartWith(1, {}, [](Project& p) { p.Settings.Mode = zx::CalcMode::JcB; });
  w.Command(kCmdOtherSettings);
  EXPECT_EQ(Dialog(DialogKind::JRange), nullptr);
  ModelessDialog* d = Dialog(DialogKind::JcCondition);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("Ec変更ダイアログ"));
  EXPECT_EQ(Text(d, "ecEdit"), QStringLiteral("1e-4"));
  EXPECT_EQ(Child<QSlider>(d, "levelSlider")->maximum(), 5);

  struct Case {
    const char* name;
    const char* text;
    const char* message;
  };
  // J brackets a search on log J: a start of 0 is refused like a negative one.
  const Case refused[] = {{"jStartEdit", "-1", "J範囲開始値"}, {"jStartEdit", "0", "J範囲開始値"},
                          {"jEndEdit", "-1", "J範囲終了値"},   {"bStartEdit", "-1", "B範囲開始値"},
                          {"bEndEdit", "-1", "B範囲終了値"},   {"bEndEdit", "0.5", "B範囲終了値"},
                          {"ecEdit", "-1", "電界基準値"}};
  for (const Case& c : refused) {
    const QString before = Text(d, c.name);
    SetText(d, c.name, QString::fromUtf8(c.text));
    Click(d, "okButton");
    EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : ") + QString::fromUtf8(c.message));
    SetText(d, c.name, before);
  }
  ASSERT_EQ(Dialog(DialogKind::JcCondition), d);

  SetText(d, "jStartEdit", QStringLiteral("1e4"));
  SetText(d, "bStartEdit", QStringLiteral("0"));
  SetText(d, "ecEdit", QStringLiteral("2e-4"));
  Child<QSlider>(d, "levelSlider")->setValue(4);
  const int passes = w.PaintPassCount();
  platform.messages.clear();
  Click(d, "okButton");
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  EXPECT_EQ(Dialog(DialogKind::JcCondition), nullptr);
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
  ModelessDialog* d = Dialog(DialogKind::ParamRange);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), QStringLiteral("パラメータ設定可能範囲変更ダイアログ"));
  EXPECT_EQ(Text(d, "amMinEdit"), QStringLiteral("1e8"));
  EXPECT_EQ(Text(d, "amMaxEdit"), QStringLiteral("1e11"));

  // Both Am bounds invalid: only the first message.
  SetText(d, "amMinEdit", QStringLiteral("0"));
  SetText(d, "amMaxEdit", QStringLiteral("-1"));
  Click(d, "okButton");
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : Amの最小値"));
  SetText(d, "amMinEdit", QStringLiteral("1e12"));
  SetText(d, "amMaxEdit", QStringLiteral("1e11"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : Amの最大値"));
  SetText(d, "amMinEdit", QStringLiteral("1e7"));

  SetText(d, "sigma2MaxEdit", QStringLiteral("1.5"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : σ^2の最大値"));
  SetText(d, "sigma2MaxEdit", QStringLiteral("1"));
  SetText(d, "mMinEdit", QStringLiteral("0.5"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : mの最小値"));
  SetText(d, "mMinEdit", QStringLiteral("1"));
  SetText(d, "g2MinEdit", QStringLiteral("5"));
  SetText(d, "g2MaxEdit", QStringLiteral("5"));
  Click(d, "okButton");
  EXPECT_EQ(LastMessage(), QStringLiteral("不正な値の入力 : g^2の最大値"));
  EXPECT_EQ(w.project().Settings.MiniRe_Am, 1e8);
  SetText(d, "g2MaxEdit", QStringLiteral("6"));

  platform.messages.clear();
  Click(d, "okButton");
  EXPECT_EQ(MessageCount(), 0) << LastMessage().toStdString();
  EXPECT_EQ(Dialog(DialogKind::ParamRange), nullptr);
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
  auto slider = [&w](const char* name) {
    return qobject_cast<QSlider*>(w.parameterPanel()->Control(name));
  };
  auto edit = [&w](const char* name) {
    return qobject_cast<QLineEdit*>(w.parameterPanel()->Control(name));
  };
  ASSERT_NE(slider("sigma2Slider"), nullptr);
  EXPECT_EQ(slider("sigma2Slider")->value(), 8);
  EXPECT_EQ(slider("amSlider")->value(), 33);
  const QString sigma = edit("sigma2Edit")->text();
  const QString am = edit("amEdit")->text();

  w.Command(kCmdParamRange);
  ModelessDialog* d = Dialog(DialogKind::ParamRange);
  ASSERT_NE(d, nullptr);
  SetText(d, "sigma2MinEdit", QStringLiteral("0"));
  SetText(d, "sigma2MaxEdit", QStringLiteral("0.2"));
  SetText(d, "amMinEdit", QStringLiteral("1e7"));
  SetText(d, "amMaxEdit", QStringLiteral("1e9"));
  Click(d, "okButton");
  ASSERT_EQ(Dialog(DialogKind::ParamRange), nullptr) << LastMessage().toStdString();
  EXPECT_EQ(slider("sigma2Slider")->value(), 40);
  EXPECT_EQ(slider("amSlider")->value(), 100);
  EXPECT_EQ(edit("sigma2Edit")->text(), sigma);
  EXPECT_EQ(edit("amEdit")->text(), am);
  w.PaintNow();
  EXPECT_EQ(w.project().Params.Sigma_2, 0.08);
  EXPECT_EQ(w.project().Params.Re_A_m, 1e9);

  // The next step goes on from 0.08.
  slider("sigma2Slider")->setValue(41);
  EXPECT_EQ(edit("sigma2Edit")->text(), "8.2e-2");
}

}  // namespace
}  // namespace zx::test
