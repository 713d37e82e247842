#include "model/result_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "temp_files.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

TEST(ResultPath, RefusesTheDataFilesAndTheProjectHoweverNamed) {
  test::TempDir dir;
  Project p;
  AddDataFile(p, dir.Write("d.dat", "1 2\n"));
  AddDataFile(p, dir.Path("not-yet.dat"));
  p.SettingsFilePath = dir.Write("p.zx2", "#\n");
  fs::create_directory(dir.Path("sub"));
  fs::create_symlink(dir.Path("d.dat"), dir.Path("link.dat"));
  ASSERT_EQ(link(dir.Path("d.dat").c_str(), dir.Path("hard.dat").c_str()), 0);

  for (const std::string& same :
       {dir.Path("d.dat"), dir.Path("sub/../d.dat"), dir.Path("./d.dat"), dir.Path("link.dat"),
        dir.Path("hard.dat"), dir.Path("sub/../not-yet.dat")})
    EXPECT_EQ(CheckResultPath(p, same), ResultPathClash::DataFile) << same;
  EXPECT_EQ(CheckResultPath(p, dir.Path("sub/../p.zx2")), ResultPathClash::SettingsFile);
  for (const std::string& other : {dir.Path("d2.dat"), dir.Path("sub/d.dat"), std::string()})
    EXPECT_EQ(CheckResultPath(p, other), ResultPathClash::None) << other;
  EXPECT_STREQ(ResultPathClashText(ResultPathClash::None), "");
  EXPECT_STRNE(ResultPathClashText(ResultPathClash::DataFile),
               ResultPathClashText(ResultPathClash::SettingsFile));
}

}  // namespace
}  // namespace zx
