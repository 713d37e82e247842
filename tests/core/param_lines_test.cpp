#include "fit/param_lines.h"

#include <gtest/gtest.h>

#include "model/document.h"
#include "model/project.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

// A key the reader skips for want of a value still gets the fitted value,
// where it stands and without touching the other lines.
TEST(ParameterLines, AKeyWithoutAValueGetsOne) {
  const std::string before =
      "Re(A_m)\r\nSigma^2\t\r\nRe(Gamma)\t8.000000e-001\r\nRe(m)\t3.000000e+000\r\n"
      "Re(g^2)   \r\nT_c\r\n-----\r\n";
  const std::string after =
      ReplaceSettingsLines(before, PinningLines({2.5e9, 0.05, 0.7, 2.25, 3.5}));
  EXPECT_EQ(after,
            "Re(A_m)\t2.500000e+009\r\nSigma^2\t5.000000e-002\r\nRe(Gamma)\t7.000000e-001\r\n"
            "Re(m)\t2.250000e+000\r\nRe(g^2)   3.500000e+000\r\nT_c\r\n-----\r\n");

  test::TempDir dir;
  const std::string path = dir.Write("p.zx2", before);
  ASSERT_EQ(WriteProjectLines(path, PinningLines({2.5e9, 0.05, 0.7, 2.25, 3.5}), {}),
            WriteResult::Written);
  Project p;
  ASSERT_TRUE(LoadSettingsFile(p, path));
  EXPECT_EQ(p.Params.Re_A_m, 2.5e9);
  EXPECT_EQ(p.Params.Sigma_2, 0.05);
  EXPECT_EQ(p.Params.Re_g_2, 3.5);
}

}  // namespace
}  // namespace zx
