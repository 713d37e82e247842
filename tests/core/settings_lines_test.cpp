// Values replaced in a hand-edited settings file: the lines the reader takes
// for a key, and nothing else.
#include "model/settings_lines.h"

#include <gtest/gtest.h>

#include "model/document.h"
#include "model/project.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

TEST(SettingsLines, ReplacesEveryLineTheReaderTakesAndOnlyTheValueToken) {
  const std::string before =
      "# T_c\t1\r\n"           // a comment
      "  T_c   39   note\r\n"  // indented, with trailing text
      "Tcn\t1\r\n"
      "T_c\t40\r\n"  // a later line wins in the reader, so it changes too
      "T_cx\t5\r\n"
      "   -----\r\n"  // an indented separator still ends the value block
      "T_c\tlist\r\n";
  EXPECT_EQ(ReplaceSettingsLines(before, {{"T_c", "92"}}),
            "# T_c\t1\r\n  T_c   92   note\r\nTcn\t1\r\nT_c\t92\r\nT_cx\t5\r\n"
            "   -----\r\nT_c\tlist\r\n");
}

TEST(SettingsLines, KeysWithoutValuesAreFilledAndMissingKeysAddedOnce) {
  // A key alone gets a TAB and the value; one followed by blanks keeps them.
  EXPECT_EQ(ReplaceSettingsLines("A\r\nB  \r\n\r\n-----\r\n", {{"A", "1"}, {"B", "2"}}),
            "A\t1\r\nB  2\r\n\r\n-----\r\n");
  // Missing keys go after the block's last value line, each once, in order.
  EXPECT_EQ(ReplaceSettingsLines("#\r\nA\t1\r\n\r\n-----\r\nC\tx\r\n",
                                 {{"C", "3"}, {"D", "4"}, {"C", "3"}}),
            "#\r\nA\t1\r\nC\t3\r\nD\t4\r\n\r\n-----\r\nC\tx\r\n");
  // A file whose last line has no line end keeps that line whole.
  EXPECT_EQ(ReplaceSettingsLines("A\t1", {{"B", "2"}}), "A\t1\r\nB\t2\r\n");
  EXPECT_EQ(ReplaceSettingsLines("", {{"B", "2"}}), "B\t2\r\n");
}

// A project whose file lacks a parameter key was fitted from its default;
// writing the result adds the key instead of refusing the write.
TEST(SettingsLines, AFileMissingAKeyTakesTheWrittenValue) {
  Project defaults;
  std::string bytes;
  ASSERT_TRUE(SettingsBytes(defaults, bytes));
  const std::size_t at = bytes.find("Re(g^2)\t");
  ASSERT_NE(at, std::string::npos);
  bytes.erase(at, bytes.find('\n', at) + 1 - at);
  test::TempDir dir;
  const std::string path = dir.Write("p.zx2", bytes);
  ASSERT_EQ(WriteProjectLines(path, {{"Re(g^2)", "3.500000e+000"}, {"T_c", "4.000000e+001"}}, {}),
            WriteResult::Written);
  Project p;
  ASSERT_TRUE(LoadSettingsFile(p, path));
  EXPECT_EQ(p.Params.Re_g_2, 3.5);
  EXPECT_EQ(p.Params.T_c, 40.0);
  EXPECT_EQ(p.DataFiles.Count(), defaults.DataFiles.Count());
  EXPECT_NE(WriteProjectLines(dir.Path("absent.zx2"), {{"T_c", "1"}}, {}), WriteResult::Written);
}

}  // namespace
}  // namespace zx
