// Values set by key in a hand-edited settings file.
#include "model/settings_set.h"

#include <gtest/gtest.h>

#include "model/settings_file.h"
#include "model/text_file.h"

namespace zx {
namespace {

TEST(SettingsSet, HandEditedLinesKeepTheirLayoutAndMissingKeysAreAdded) {
  const std::string bytes =
      "#\r\nT_c  39.0   note\r\nTcn\t1\r\nSampleName\tMgB2SUS\r\n\r\n"
      "-----\r\nDatFileNo\t0\r\nT_c\t1\r\n";
  Project p;
  ReadSettingsValues(p, SplitLines(bytes));
  ASSERT_EQ(ApplyKeyAssignments(p, {{"T_c", "92"}, {"Thickness", "2e-6"}, {"SampleName", "Y"}}),
            "");
  std::string out;
  ASSERT_TRUE(ReplaceKeyValues(bytes, p, {"T_c", "Thickness", "SampleName"}, out));
  // The list sections never change, even where a line looks like a key.
  EXPECT_EQ(out,
            "#\r\nT_c  9.200000e+001   note\r\nTcn\t1\r\nSampleName\tY\r\n"
            "Thickness\t2.000000e-006\r\n\r\n-----\r\nDatFileNo\t0\r\nT_c\t1\r\n");
}

TEST(SettingsSet, ChecksAreThePanelsAndDialogs) {
  Project p;
  EXPECT_EQ(ApplyKeyAssignments(p, {{"Re(Gamma)", "1.5"}}), "不正な値の入力 : γ");
  EXPECT_EQ(ApplyKeyAssignments(p, {{"JStepLevel", "11"}}), "不正な値の入力 : 計算の細かさ");
  // Groups are checked once all their values are in: a range may move past
  // its old other end.
  EXPECT_EQ(ApplyKeyAssignments(p, {{"MiniRe(m)", "20"}, {"MaxRe(m)", "30"}}), "");
  EXPECT_EQ(p.Settings.MiniRe_m, 20.0);
  p.Settings.Mode = CalcMode::JcB;
  EXPECT_EQ(ApplyKeyAssignments(p, {{"BIni", "8"}}), "不正な値の入力 : B範囲終了値");
}

}  // namespace
}  // namespace zx
