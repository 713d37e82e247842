// The example projects under examples/ must open from wherever the
// repository lies and show a good fit at their stored parameters.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "calc/preview_pass.h"
#include "model/settings_file.h"
#include "temp_files.h"

namespace zx::test {
namespace {

const std::filesystem::path kExamples =
    std::filesystem::weakly_canonical(std::filesystem::path(ZX_SOURCE_DIR) / "examples");

void ExpectOpensFittedFromItsOwnFolder(const std::string& project, int mode, int files,
                                       const std::string& folderName) {
  SCOPED_TRACE(project);
  const std::filesystem::path folder = kExamples / folderName;
  TempDir scratch;
  Project p;
  p.ProgramFolder = scratch.Path("");  // ends with the separator
  ASSERT_TRUE(LoadSettingsFile(p, (folder / project).string()));
  EXPECT_EQ(p.Settings.Mode, static_cast<CalcMode>(mode));
  ASSERT_EQ(p.DataFiles.Count(), files);
  ASSERT_EQ(p.CalcConds.Count(), files);
  for (const RegistryEntry& d : p.DataFiles.items) {
    // Stored relative, read back inside the project's folder.
    EXPECT_EQ(std::filesystem::path(d.Path).parent_path(), folder) << d.Path;
    EXPECT_TRUE(std::filesystem::exists(d.Path)) << d.Path;
  }
  for (const RegistryEntry& c : p.CalcConds.items) {
    EXPECT_EQ(c.RelatedDatFileNo, c.No);
    EXPECT_EQ(std::filesystem::path(c.OutpFilePath).parent_path(), folder / "results")
        << c.OutpFilePath;
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder / "results"));

  int shown = 0;
  PreviewHooks hooks;
  hooks.showCorrCoef = [&shown](int, const std::string&) { ++shown; };
  hooks.warning = [](const std::string& message, const std::string& path) {
    ADD_FAILURE() << message << " " << path;
  };
  ViewState view = MakeViewState(p);
  ASSERT_TRUE(RunPreviewCalculation(p, view, hooks));
  EXPECT_EQ(shown, files);
  for (const RegistryEntry& c : p.CalcConds.items)
    EXPECT_GT(CorrCoefOf(view, c), 0.999) << "condition " << c.No;
}

TEST(Examples, EjProjectOpensWithThreeFittedCurves) {
  ExpectOpensFittedFromItsOwnFolder("mgb2-ej.zx2", 0, 3, "ej");
}

TEST(Examples, JcbProjectOpensWithTwoFittedCurves) {
  ExpectOpensFittedFromItsOwnFolder("mgb2-jcb.zx2", 1, 2, "jcb");
}

}  // namespace
}  // namespace zx::test
