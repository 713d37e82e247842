#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli_run.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

int RunCli(const std::string& args) { return test::RunCli(args).code; }

TEST(CliNew, WritesDefaultsRefusesExistingFilesAndRejectsBadUsage) {
  const test::TempDir dir;
  const std::string project = dir.Path("new project.zx2");

  EXPECT_EQ(RunCli("--new '" + project + "'"), 0);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(project, bytes));
  EXPECT_EQ(bytes, DefaultSettingsBytes());

  std::ofstream(project, std::ios::binary | std::ios::trunc) << "mine";
  EXPECT_EQ(RunCli("--new '" + project + "'"), 1);
  ReadWholeFile(project, bytes);
  EXPECT_EQ(bytes, "mine");

  // A loop of links is no file to write: refused, the links stay.
  fs::create_symlink("loop.zx2", dir.Path("loop.zx2"));
  EXPECT_EQ(RunCli("--new '" + dir.Path("loop.zx2") + "'"), 1);
  EXPECT_TRUE(fs::is_symlink(dir.Path("loop.zx2")));

  EXPECT_EQ(RunCli("--new"), 2);
  EXPECT_EQ(RunCli("--new a.zx2 b.zx2"), 2);
  EXPECT_EQ(RunCli("--bogus x.zx2"), 2);
  EXPECT_EQ(RunCli(""), 2);
  EXPECT_EQ(RunCli("--help"), 0);
}

}  // namespace
}  // namespace zx
