#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli_run.h"
#include "model/project.h"
#include "model/settings_file.h"
#include "temp_files.h"

namespace zx {
namespace {

int RunPlot(const std::string& args) { return test::RunCli(args).code; }

std::string SavedProject(const test::TempDir& dir) {
  Project p;
  AddDataFile(p, dir.Write("a.dat", "1e6 1e-6\n1e8 1e-2\n"));
  AddDataFile(p, dir.Write("b.dat", "2e6 2e-6\n2e7 2e-4\n"));
  AddCalcCond(p, 0, 20, 1, dir.Path("out0.dat"));
  const std::string path = dir.Path("p.zx2");
  EXPECT_TRUE(WriteSettings(p, path));
  return path;
}

TEST(CliPlot, WritesPngAndSvgAndLeavesNoCurveFiles) {
  test::TempDir dir;
  const std::string project = SavedProject(dir);
  EXPECT_EQ(RunPlot("--plot " + dir.Path("g.png") + " " + project), 0);
  EXPECT_GT(std::filesystem::file_size(dir.Path("g.png")), 1000u);
  EXPECT_EQ(RunPlot("--scale 2 --plot " + dir.Path("g.svg") + " " + project), 0);
  std::ifstream svg(dir.Path("g.svg"));
  const std::string text((std::istreambuf_iterator<char>(svg)), {});
  EXPECT_NE(text.find("<svg"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("tmp0.dat")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out0.dat")));  // no full calculation
}

TEST(CliPlot, UnreadableProjectOrUnwritableImageFail) {
  test::TempDir dir;
  EXPECT_EQ(RunPlot("--plot " + dir.Path("g.png") + " " + dir.Path("none.zx2")), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("g.png")));
  const std::string project = SavedProject(dir);
  EXPECT_EQ(RunPlot("--plot " + dir.Path("no/dir/g.png") + " " + project), 1);
}

TEST(CliPlot, FailedImageWritesExitOneAndKeepTheOldFile) {
  test::TempDir dir;
  const std::string project = SavedProject(dir);
  // A full device: no empty SVG reported as written.
  std::filesystem::create_symlink("/dev/full", dir.Path("full.svg"));
  EXPECT_EQ(RunPlot("--plot " + dir.Path("full.svg") + " " + project), 1);
  const std::string old = dir.Write("old.png", "an older image");
  std::filesystem::permissions(old, std::filesystem::perms::owner_read);
  EXPECT_EQ(RunPlot("--plot " + old + " " + project), 1);
  std::ifstream in(old, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "an older image");
  // A link to an image is written through and stays a link.
  dir.Write("real.png", "");
  std::filesystem::create_symlink("real.png", dir.Path("link.png"));
  EXPECT_EQ(RunPlot("--plot " + dir.Path("link.png") + " " + project), 0);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.png")));
  EXPECT_GT(std::filesystem::file_size(dir.Path("real.png")), 1000u);
}

}  // namespace
}  // namespace zx
