#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/options.h"
#include "cli_run.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

TEST(CliOptions, TableAndUsageTextAgree) {
  const std::string& usage = UsageText();
  std::set<std::string_view> names;
  for (const OptionEntry& o : OptionTable()) {
    EXPECT_TRUE(names.insert(o.name).second) << o.name;
    EXPECT_FALSE(o.help.empty()) << o.name;
    // --help prints every option with its help.
    EXPECT_NE(HelpText().find(std::string(o.help) + "\n"), std::string::npos) << o.name;
    EXPECT_EQ(FindOption(o.name), &o);
    // Shown with its argument, as it is typed.
    const std::string shown =
        std::string(o.name) + (o.argument.empty() ? "" : " " + std::string(o.argument));
    const std::regex word("(^|[ \\[|])" +
                          std::regex_replace(shown, std::regex("[|.\\[\\]]"), "\\$&") +
                          "([ \\]\n]|\\.\\.\\.|$)");
    EXPECT_TRUE(std::regex_search(usage, word)) << shown;
  }
  EXPECT_EQ(FindOption("-h"), FindOption("--help"));
  EXPECT_EQ(FindOption("--bogus"), nullptr);
  // Every option the usage shows is in the table.
  const std::regex option("--[a-z][a-z0-9-]*");
  for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option);
       it != std::sregex_iterator(); ++it)
    EXPECT_NE(FindOption(it->str()), nullptr) << it->str();

  // Descriptions start at one column; the import usage is the import forms
  // of the whole text without their descriptions.
  std::string imports;
  bool inImport = false;
  for (const std::string& l : Lines(usage)) {
    ASSERT_LE(l.size(), 100u) << l;
    if (l.compare(0, 21, "usage: zentrix2-calc ") == 0 ||
        l.compare(0, 21, "       zentrix2-calc ") == 0)
      inImport = l.find("--import-") != std::string::npos;
    if (l.compare(0, 53, std::string(53, ' ')) == 0) {
      EXPECT_NE(l[53], ' ') << l;
      continue;
    }
    // A description beside its synopsis starts in the same column.
    if (const std::size_t gap = l.find("  ", 21); gap != std::string::npos) {
      EXPECT_EQ(l.find_first_not_of(' ', gap), 53u) << l;
    }
    if (inImport) imports += l + "\n";
  }
  imports.replace(0, 7, "usage: ");
  EXPECT_EQ(ImportUsageText(), imports);
  EXPECT_EQ(usage.compare(0, 46, "usage: zentrix2-calc [--threads N] PROJECT.zx2"), 0);
  EXPECT_EQ(usage.substr(usage.size() - 40), "       zentrix2-calc --help | --version\n");
}

std::string Parse(const std::vector<std::string>& args, CommandLine* out = nullptr) {
  CommandLine line;
  const std::string why = ParseCommandLine(args, line);
  if (out) *out = line;
  return why;
}

TEST(CliOptions, CalculationLineIsReadByTheTable) {
  CommandLine line;
  ASSERT_EQ(Parse({"--threads", "3", "--plot", "--scale", "2", "a.svg", "p.zx2"}, &line), "");
  EXPECT_EQ(line.command, Command::Plot);
  EXPECT_EQ(line.options.threads, 3);
  EXPECT_EQ(line.options.scale, 2.0);
  EXPECT_EQ(line.operands, (std::vector<std::string>{"a.svg", "p.zx2"}));

  ASSERT_EQ(Parse({"--fit",    "--starts", "4",        "--fix",           "Am,m",
                   "--free",   "Tc",       "--bounds", "g2=1:4,Bc2=5:50", "--orders",
                   "all",      "--loss",   "cauchy",   "--loss-scale",    "0.5",
                   "--weight", "point",    "--write",  "--curves",        "c.txt",
                   "p.zx2"},
                  &line),
            "");
  EXPECT_EQ(line.command, Command::Fit);
  EXPECT_EQ(line.options.fit.starts, 4);
  EXPECT_TRUE(line.options.fit.fixed[static_cast<std::size_t>(FitParam::Am)]);
  EXPECT_TRUE(line.options.fit.fixed[static_cast<std::size_t>(FitParam::M)]);
  EXPECT_FALSE(line.options.fit.fixed[static_cast<std::size_t>(FitParam::Tc)]);
  EXPECT_EQ(At(line.options.fit.upper, FitParam::G2), 4.0);
  EXPECT_EQ(At(line.options.fit.lower, FitParam::Bc2), 5.0);
  EXPECT_TRUE(line.options.fit.allOrders);
  EXPECT_EQ(line.options.fit.loss, LossKind::Cauchy);
  EXPECT_EQ(line.options.fit.weighting, Weighting::PerPoint);
  EXPECT_TRUE(line.options.write);
  EXPECT_EQ(line.options.curves, "c.txt");

  ASSERT_EQ(Parse({"--set", "T_c=90", "p.zx2", "--set", "B_c2(0)=10"}, &line), "");
  EXPECT_EQ(line.command, Command::Set);
  EXPECT_EQ(line.assignments, (std::vector<std::string>{"T_c=90", "B_c2(0)=10"}));
  // --help answers before anything after it is read.
  ASSERT_EQ(Parse({"-h", "--bogus"}, &line), "");
  EXPECT_EQ(line.command, Command::Help);
  // A lone "-" is a file name.
  ASSERT_EQ(Parse({"-"}, &line), "");
  EXPECT_EQ(line.operands, std::vector<std::string>{"-"});
}

// The calculation line and the imports read numbers alike: the whole text
// as strtod reads it, finite where a length or a field is meant.
TEST(CliOptions, OneNumberReaderForEveryCommand) {
  const double inf = HUGE_VAL;
  struct Case {
    const char* text;
    std::optional<double> number, finite;
    std::optional<int> column;
  };
  const Case cases[] = {
      {"2", 2.0, 2.0, 2},    {"+2", 2.0, 2.0, 2},    {" 2", 2.0, 2.0, 2},
      {"2.5", 2.5, 2.5, {}}, {"-1", -1.0, -1.0, {}}, {"4e-3", 4e-3, 4e-3, {}},
      {"2 ", {}, {}, {}},    {"", {}, {}, {}},       {"2x", {}, {}, {}},
      {"inf", inf, {}, {}},  {"1e400", inf, {}, {}}, {"tHTS_K", {}, {}, {}},
      {"0x10", {}, {}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadNumber(c.text), c.number) << c.text;
    EXPECT_EQ(ReadFiniteNumber(c.text), c.finite) << c.text;
    EXPECT_EQ(ReadColumnNumber(c.text), c.column) << c.text;
  }
}

TEST(CliOptions, RefusalsKeepTheirWords) {
  EXPECT_EQ(Parse({"--bogus", "--help"}), "unknown option --bogus");
  // Import options belong to the import line only, but for the map's --out.
  EXPECT_EQ(Parse({"--tap-length", "1", "p.zx2"}), "unknown option --tap-length");
  EXPECT_EQ(Parse({"--out", "o.dat", "p.zx2"}), "--out goes with --map or an import");
  // The map's grid and the operating point.
  const char* mapUsage = "--map takes T=LO:HI:STEP B=LO:HI:STEP (LO <= HI, STEP > 0)";
  EXPECT_EQ(Parse({"--map", "T=20:30:5", "p.zx2"}), mapUsage);
  EXPECT_EQ(Parse({"--map", "T=30:20:5", "B=0:1:1", "p.zx2"}), mapUsage);
  EXPECT_EQ(Parse({"--map", "B=0:1:1", "T=20:30:5", "p.zx2"}), mapUsage);
  EXPECT_EQ(Parse({"--map", "T=20:30:0", "B=0:1:1", "p.zx2"}), mapUsage);
  EXPECT_EQ(Parse({"--map", "T=0:1000:1e-3", "B=0:1:1", "p.zx2"}),
            "--map: at most 1000000 grid points");
  EXPECT_EQ(Parse({"--map", "T=20:30:5"}), "--map needs T=LO:HI:STEP B=LO:HI:STEP");
  EXPECT_EQ(Parse({"--at", "T=20", "p.zx2"}), "--at takes T=K,B=T[,I=A]");
  EXPECT_EQ(Parse({"--at", "T=20,B=1,T=3", "p.zx2"}), "--at takes T=K,B=T[,I=A]");
  EXPECT_EQ(Parse({"--map", "T=20:30:5", "B=0:1:1", "--format", "xls", "p.zx2"}),
            "--format takes csv, comsol or json");
  EXPECT_EQ(Parse({"--at", "T=20,B=1", "--format", "json", "p.zx2"}), "--format goes with --map");
  EXPECT_EQ(Parse({"--fit", "--criterion", "1e-4", "p.zx2"}),
            "--criterion and --format go with --map or --at");
  EXPECT_EQ(Parse({"--preview", "--json", "p.zx2"}), "--json goes with --fit, --quality or --at");
  CommandLine map;
  EXPECT_EQ(Parse({"--map", "T=20:30:5", "B=0:2:0.5", "--out", "m.csv", "p.zx2"}, &map), "");
  EXPECT_EQ(map.command, Command::Map);
  EXPECT_EQ(map.map.tHi, 30);
  EXPECT_EQ(map.map.bStep, 0.5);
  EXPECT_EQ(map.options.out, "m.csv");
  EXPECT_EQ(map.operands, std::vector<std::string>{"p.zx2"});
  EXPECT_EQ(Parse({"p.zx2", "--threads"}), "--threads needs a value");
  EXPECT_EQ(Parse({"p.zx2", "--set"}), "--set needs KEY=VALUE");
  EXPECT_EQ(Parse({"--fit", "p.zx2", "--loss"}), "--loss needs a value");
  EXPECT_EQ(Parse({"--threads", "0", "p.zx2"}), "--threads needs a positive number");
  EXPECT_EQ(Parse({"--threads", "2.5", "p.zx2"}), "--threads needs a whole number");
  EXPECT_EQ(Parse({"--scale", "17", "p.zx2"}), "--scale must be at most 16");
  EXPECT_EQ(Parse({"--fit", "--starts", "10001", "p.zx2"}),
            "--starts needs a whole number from 1 to 10000");
  for (const char* bad : {"Tc=1", "gamma=nan:1", "g2=1:inf"})
    EXPECT_EQ(Parse({"--fit", "--bounds", bad, "p.zx2"}),
              "--bounds takes NAME=LO:HI,... (NAME one of Am, sigma2, gamma, m, g2, Tc, Bc2)")
        << bad;
  EXPECT_EQ(Parse({"--fit", "--weight", "all", "p.zx2"}), "--weight takes condition or point");
  // Options with the wrong command.
  const std::string fitOnly =
      "--starts, --fix, --free, --bounds, --orders, --curves, --loss, --loss-scale, --weight and "
      "--write go with --fit";
  EXPECT_EQ(Parse({"--starts", "3", "p.zx2"}), fitOnly);
  EXPECT_EQ(Parse({"--quality", "--write", "p.zx2"}), fitOnly);
  EXPECT_EQ(Parse({"--set", "T_c=1", "--fit", "p.zx2"}), "--set goes alone with a project");
  EXPECT_EQ(Parse({"--new", "--preview", "p.zx2"}), "only one command at a time");
  // The files.
  EXPECT_EQ(Parse({"--preview"}), "no project given");
  EXPECT_EQ(Parse({"a.zx2", "b.zx2"}), "too many arguments");
  EXPECT_EQ(Parse({"--plot", "a.png"}), "--plot needs an image file and a project");
  EXPECT_EQ(Parse({"--set", "T_c=1"}), "no project given");
}

using test::CliRun;
using test::RunCli;

TEST(CliOptions, ProgramPrintsTheUsageWithEveryRefusal) {
  const CliRun help = RunCli("--help");
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out, HelpText());
  EXPECT_EQ(help.out.compare(0, UsageText().size(), UsageText()), 0);
  CliRun r = RunCli("--fit --starts");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "zentrix2-calc: --starts needs a value\n" + UsageText());
  r = RunCli("--preview --curves c.txt p.zx2");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
            "zentrix2-calc: --starts, --fix, --free, --bounds, "
            "--orders, --curves, --loss, --loss-scale, "
            "--weight and --write go with --fit");
  EXPECT_TRUE(r.out.empty());
  // The import line has its own usage; every option there takes a value.
  r = RunCli("--import-vi a.txt --out");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "zentrix2-calc: --out needs a value\n" + ImportUsageText());
  r = RunCli("--import-icb a.txt --out o.dat --threads 2");
  EXPECT_EQ(r.err, "zentrix2-calc: unknown option --threads\n" + ImportUsageText());
  r = RunCli("--import-icb a.txt --out o.dat --width 1 --thickness 1 --min-field 0");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
            "zentrix2-calc: --import-icb takes no tap length, voltage unit, background or "
            "min-field");
  r = RunCli("--import-vi a.txt --import-icb b.txt");
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "zentrix2-calc: only one command at a time");
}

}  // namespace
}  // namespace zx::cli
