#include "ui/slider_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/format.h"
#include "ui/lists_panel.h"
#include "ui/sample_name_validator.h"

namespace zx {
namespace {

constexpr auto kLog = SliderScale::Logarithmic;
constexpr auto kLin = SliderScale::Linear;

TEST(SliderScale, AmIsLogarithmicOverTheDefaultRange) {
  EXPECT_EQ(SliderPosition(kLog, 1e8, 1e11, 1e9), 33);  // a third
  EXPECT_EQ(SliderPosition(kLog, 1e8, 1e11, 1e8), 0);
  EXPECT_EQ(SliderPosition(kLog, 1e8, 1e11, 1e11), 100);

  const double at33 = SliderValue(kLog, 1e8, 1e11, 33).value();
  EXPECT_NEAR(at33, 9.772372e8, 1e2);
  EXPECT_EQ(FormatSci(at33, 2), "9.77e8");
  EXPECT_NEAR(SliderValue(kLog, 1e8, 1e11, 100).value(), 1e11, 1e11 * 1e-14);
  EXPECT_NEAR(SliderValue(kLog, 1e8, 1e11, 0).value(), 1e8, 1e8 * 1e-14);
}

TEST(SliderScale, OthersAreLinear) {
  EXPECT_EQ(SliderPosition(kLin, 0, 1, 0.1), 10);
  EXPECT_EQ(SliderPosition(kLin, 1, 10, 3), 22);  // 22.2
  EXPECT_DOUBLE_EQ(SliderValue(kLin, 1, 10, 50).value(), 5.5);
  EXPECT_DOUBLE_EQ(SliderValue(kLin, 0, 1, 100).value(), 1.0);
}

// The edit shows a position's value with three digits; reading that text
// back must land on the same position, or the next step repeats a value.
TEST(SliderScale, EveryPositionSurvivesItsShownText) {
  struct Range {
    SliderScale scale;
    double min, max;
  };
  const Range ranges[] = {{kLog, 1e8, 1e11}, {kLog, 1e6, 1e12}, {kLog, 3.3e7, 4.1e9},
                          {kLin, 0, 1},      {kLin, 1, 10},     {kLin, 0, 0.2}};
  for (const Range& r : ranges) {
    for (int pos = kSliderMin; pos <= kSliderMax; ++pos) {
      const std::string shown = FormatSci(SliderValue(r.scale, r.min, r.max, pos).value(), 2);
      EXPECT_EQ(SliderPosition(r.scale, r.min, r.max, ParseLeadingDouble(shown)), pos)
          << r.min << ".." << r.max << " shows " << shown;
    }
  }
  EXPECT_EQ(SliderPosition(kLin, 0, 1, 0.2249), 22);
  EXPECT_EQ(SliderPosition(kLin, 0, 1, 0.2251), 23);
}

TEST(SliderScale, ValuesOutsideTheRangeHoldTheSliderAtAnEnd) {
  EXPECT_EQ(SliderPosition(kLin, 0, 1, 5), 100);
  EXPECT_EQ(SliderPosition(kLin, 0, 1, -3), 0);
  EXPECT_EQ(SliderPosition(kLog, 1e8, 1e11, 1e20), 100);
  EXPECT_EQ(SliderPosition(kLog, 1e8, 1e11, 1), 0);
  EXPECT_EQ(SliderPosition(kLin, 0, 1, std::numeric_limits<double>::infinity()), 100);
}

TEST(SliderScale, RangesWithoutMeaningPutTheSliderAtItsLowEnd) {
  EXPECT_EQ(SliderPosition(kLin, 0.5, 0.5, 0.7), 0);
  EXPECT_DOUBLE_EQ(SliderValue(kLin, 0.5, 0.5, 60).value(), 0.5);
  EXPECT_EQ(SliderPosition(kLog, 1e9, 1e9, 1e9), 0);
  EXPECT_EQ(SliderPosition(kLog, 0, 1e11, 1e9), 0);
  EXPECT_EQ(SliderPosition(kLog, -1, 1e11, 1e9), 0);
  EXPECT_FALSE(SliderValue(kLog, 0, 1e11, 50).has_value());
  EXPECT_FALSE(SliderValue(kLog, 1e8, -5, 50).has_value());
  // A typed 0 or a text without a number: no logarithm, low end.
  EXPECT_EQ(SliderPosition(kLog, 1e8, 1e11, 0), 0);
  EXPECT_EQ(SliderPosition(kLin, 0, 1, std::nan("")), 0);
}

TEST(SampleName, FitsTheSettingsFileField) {
  EXPECT_TRUE(IsStorableSampleName(""));
  EXPECT_TRUE(IsStorableSampleName("MgB2SUS"));
  EXPECT_TRUE(IsStorableSampleName(QString(39, 'x')));
  EXPECT_FALSE(IsStorableSampleName(QString(40, 'x')));
  EXPECT_TRUE(IsStorableSampleName(QString::fromUtf8("試料ＡＢ")));
  EXPECT_FALSE(IsStorableSampleName("a b"));
  EXPECT_FALSE(IsStorableSampleName("a\tb"));
  EXPECT_FALSE(IsStorableSampleName(QString::fromUtf8("a\u3000b")));  // ideographic space
  EXPECT_FALSE(IsStorableSampleName(QString::fromUtf8("😀")));         // no CP932 form
}

TEST(ListRows, TextsOfBothLists) {
  RegistryEntry d;
  d.No = 1;
  d.Mark = 3;
  d.Path = "/home/user/meas ure/d1.dat";
  EXPECT_EQ(ListsPanel::DataRowTexts(d), QStringList({"1", "3", "d1.dat"}));

  RegistryEntry c;
  c.No = 0;
  c.RelatedDatFileNo = -1;
  c.Mark = 0;
  c.Temp = 4.25;
  c.MagField = 1.55;
  c.OutpFilePath = "/tmp/out/r0.dat";
  EXPECT_EQ(ListsPanel::CondRowTexts(c, CalcMode::EJ, 0.98765),
            QStringList({"-1", "0", "4.2", "1.5", "0.987", "r0.dat"}));
  EXPECT_EQ(ListsPanel::CondRowTexts(c, CalcMode::JcB, 0.98765)[3], "?");
}

}  // namespace
}  // namespace zx
