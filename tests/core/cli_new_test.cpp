#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/settings_file.h"
#include "model/text_file.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

int RunCli(const std::string& args) {
  int status = std::system((std::string(ZX_CLI_PATH) + " " + args + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliNew, WritesDefaultsRefusesExistingFilesAndRejectsBadUsage) {
  fs::path dir = fs::temp_directory_path() / ("zx-cli-new-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::string project = (dir / "new project.zx2").string();

  EXPECT_EQ(RunCli("--new '" + project + "'"), 0);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(project, bytes));
  EXPECT_EQ(bytes, DefaultSettingsBytes());

  std::ofstream(project, std::ios::binary | std::ios::trunc) << "mine";
  EXPECT_EQ(RunCli("--new '" + project + "'"), 1);
  ReadWholeFile(project, bytes);
  EXPECT_EQ(bytes, "mine");

  // A loop of links is no file to write: refused, the links stay.
  fs::create_symlink("loop.zx2", dir / "loop.zx2");
  EXPECT_EQ(RunCli("--new '" + (dir / "loop.zx2").string() + "'"), 1);
  EXPECT_TRUE(fs::is_symlink(dir / "loop.zx2"));

  EXPECT_EQ(RunCli("--new"), 2);
  EXPECT_EQ(RunCli("--new a.zx2 b.zx2"), 2);
  EXPECT_EQ(RunCli("--bogus x.zx2"), 2);
  EXPECT_EQ(RunCli(""), 2);
  EXPECT_EQ(RunCli("--help"), 0);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zx
