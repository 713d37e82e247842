#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fit_fixture.h"
#include "model/format.h"
#include "model/settings_file.h"
#include "model/text_file.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

class CliFit : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zx-cli-fit-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  int Cli(const std::string& args, std::string* out = nullptr, std::string* err = nullptr) const {
    const std::string cmd = std::string(ZX_CLI_PATH) + " " + args + " >'" + Path("stdout") +
                            "' 2>'" + Path("stderr") + "'";
    const int status = std::system(cmd.c_str());
    if (out) ReadWholeFile(Path("stdout"), *out);
    if (err) ReadWholeFile(Path("stderr"), *err);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Synthetic E-J data of two conditions (Am, gamma and m 10 % off in the
  // project), and a third condition whose data file is missing.
  std::string WriteProject() {
    const ModelParams truth = fit_test::TruthParams();
    const FitInput in = fit_test::MakeEJInput(truth, {{20, 1.5}, {25, 2.5}, {30, 1.5}}, 8);
    Project p;
    p.Params = truth;
    p.Params.Re_A_m *= 1.1;
    p.Params.Re_Gamma *= 1.1;
    p.Params.Re_m *= 1.1;
    fit_test::AddConditionFiles(p, in, Path(""), Path("r.dat"));
    AddDataFile(p, Path("absent.dat"));
    AddCalcCond(p, 3, 25.0, 1.0, Path("r.dat"));
    const std::string path = Path("p.zx2");
    EXPECT_TRUE(WriteSettings(p, path));
    return path;
  }

  fs::path dir_;
};

std::vector<std::vector<std::string>> Records(const std::string& out) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, '\t')) fields.push_back(cell);
    rows.push_back(fields);
  }
  return rows;
}

TEST_F(CliFit, FitPrintsTheRecordsAndWriteChangesOnlyTheFiveLines) {
  const std::string project = WriteProject();
  std::string before;
  ASSERT_TRUE(ReadWholeFile(project, before));

  std::string out, err;
  ASSERT_EQ(Cli("--fit --fix sigma2,g2 --threads 2 '" + project + "'", &out, &err), 0);
  EXPECT_EQ(err, "zentrix2-calc: condition 3 left out: its data file cannot be read\n");
  auto rows = Records(out);
  ASSERT_EQ(rows.size(), 5u + 4u + 1u) << out;
  const char* names[] = {"Am", "sigma2", "gamma", "m", "g2"};
  for (int k = 0; k < 5; ++k) {
    ASSERT_EQ(rows[k].size(), 5u);
    EXPECT_EQ(rows[k][0], "param");
    EXPECT_EQ(rows[k][1], names[k]);
  }
  EXPECT_EQ(rows[1][4], "fixed");
  EXPECT_EQ(rows[1][3], "nan");
  EXPECT_EQ(rows[0][4], "free");
  EXPECT_NEAR(std::stod(rows[0][2]) / 1.25e9, 1.0, 1e-4);
  EXPECT_EQ(rows[1][2], "8.000000000e-02");  // untouched
  EXPECT_EQ(rows[5][0], "cond");
  EXPECT_EQ(rows[5][2], "8");
  EXPECT_EQ(rows[8], (std::vector<std::string>{"cond", "3", "0", "-", "-", "-", "-", "-"}));
  ASSERT_EQ(rows[9].size(), 5u);
  EXPECT_EQ(rows[9][0], "total");
  EXPECT_EQ(rows[9][1], "24");
  EXPECT_EQ(rows[9][4], "converged");
  std::string unchanged;
  ASSERT_TRUE(ReadWholeFile(project, unchanged));
  EXPECT_EQ(unchanged, before);  // no --write: the project stays

  ASSERT_EQ(Cli("--fit --fix sigma2,g2 --write '" + project + "'"), 0);
  std::string after;
  ASSERT_TRUE(ReadWholeFile(project, after));
  const auto a = SplitLines(before), b = SplitLines(after);
  ASSERT_EQ(a.size(), b.size());
  int changed = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      ++changed;
      EXPECT_TRUE(a[i].rfind("Re(A_m)\t", 0) == 0 || a[i].rfind("Re(Gamma)\t", 0) == 0 ||
                  a[i].rfind("Re(m)\t", 0) == 0)
          << a[i];
    }
  EXPECT_EQ(changed, 3);  // the two fixed values are rewritten as they were
  EXPECT_EQ(after.size(), before.size());
  Project loaded;
  ASSERT_TRUE(LoadSettingsFile(loaded, project));
  EXPECT_NEAR(loaded.Params.Re_A_m / 1.25e9, 1.0, 1e-4);

  // The quality of the written values: no param lines, 0 iterations.
  ASSERT_EQ(Cli("--quality '" + project + "'", &out), 0);
  rows = Records(out);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0][0], "cond");
  EXPECT_EQ(rows[4][3], "0");
  EXPECT_LT(std::stod(rows[4][2]), 1e-5);
}

TEST_F(CliFit, ExitCodes) {
  const std::string project = WriteProject();
  EXPECT_EQ(Cli("--fit --fix Am,sigma2,gamma,m,g2 '" + project + "'"), 3);
  EXPECT_EQ(Cli("--fit --fix Am,bogus '" + project + "'"), 2);
  EXPECT_EQ(Cli("--fit --loss huber '" + project + "'"), 2);
  EXPECT_EQ(Cli("--fit --loss-scale -1 '" + project + "'"), 2);
  EXPECT_EQ(Cli("--fit --weight file '" + project + "'"), 2);
  EXPECT_EQ(Cli("--quality --write '" + project + "'"), 2);
  EXPECT_EQ(Cli("--fit '" + Path("none.zx2") + "'"), 1);
  for (const char* d : {"d0.dat", "d1.dat", "d2.dat"}) fs::remove(Path(d));
  EXPECT_EQ(Cli("--fit '" + project + "'"), 3);
  EXPECT_EQ(Cli("--quality '" + project + "'"), 3);
}

}  // namespace
}  // namespace zx
