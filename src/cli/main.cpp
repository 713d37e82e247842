// zentrix2-calc: the command-line companion of the window program.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

// clang-format off
const char kUsage[] =
    "usage: zentrix2-calc [--threads N] PROJECT.zx2        full calculation: write every result file\n"
    "       zentrix2-calc [--threads N] --preview PROJECT.zx2\n"
    "                                                     correlation of every calculation condition\n"
    "       zentrix2-calc [--scale N] --plot OUT.png|OUT.svg PROJECT.zx2\n"
    "                                                     draw the graph as the window shows it\n"
    "       zentrix2-calc --new PROJECT.zx2                 write a new project with default settings\n"
    "       zentrix2-calc --fit [--fix NAMES] [--loss linear|soft_l1|cauchy]\n"
    "                     [--loss-scale DECADES] [--weight condition|point]\n"
    "                     [--threads N] [--write] PROJECT.zx2\n"
    "                                                     fit the pinning parameters to the data\n"
    "                                                     (NAMES: comma-separated Am,sigma2,gamma,m,g2)\n"
    "       zentrix2-calc --quality PROJECT.zx2             fit quality of the current parameters\n"
    "       zentrix2-calc --set KEY=VALUE [--set KEY=VALUE ...] PROJECT.zx2\n"
    "                                                     set values by their settings-file keys\n"
    "       zentrix2-calc --import-vi RAW --out OUT.dat --tap-length M --width M --thickness M\n"
    "                     [--columns I,V] [--current-unit A|mA] [--voltage-unit V|mV|uV|nV]\n"
    "                     [--background-fraction F] [--min-field E] [--temperature-column K]\n"
    "                                                     measured V-I table to an E-J data file\n"
    "       zentrix2-calc --import-vi RAW... --project PROJECT.zx2 --tap-length M --width M\n"
    "                     --thickness M [--temperature-column K | --temperature T] [--field B]\n"
    "                     [other import options]\n"
    "                                                     each file converted and registered with\n"
    "                                                     a condition (project made if missing)\n"
    "       zentrix2-calc --import-icb RAW --out OUT.dat --width M --thickness M\n"
    "                     [--columns B,I] [--current-unit A|mA]\n"
    "                                                     measured Ic-B table to a Jc-B data file\n"
    "       zentrix2-calc --import-icb RAW... --project PROJECT.zx2 --width M --thickness M\n"
    "                     [--temperature T] [--columns B,I] [--current-unit A|mA]\n"
    "       zentrix2-calc --help | --version\n";
// clang-format on

int Usage(const char* why) {
  if (why) std::fprintf(stderr, "zentrix2-calc: %s\n", why);
  std::fputs(kUsage, stderr);
  return 2;
}

// "Am,gamma" -> the fixed flags; false on an unknown or empty name.
bool ParseFixed(const std::string& text, zx::FitFlags& fixed) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string name = text.substr(start, comma == std::string::npos ? comma : comma - start);
    const int k = zx::FitParamIndex(name);
    if (k < 0) return false;
    fixed[static_cast<std::size_t>(k)] = true;
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

bool ParsePositive(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == '\0' && out > 0;
}

}  // namespace

int main(int argc, char** argv) {
  zx::cli::Options opt;
  std::string mode;
  std::vector<std::string> rest;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--import-vi") == 0 || std::strcmp(argv[i], "--import-icb") == 0)
      return zx::cli::CmdImport(argc, argv);
  bool fitOptionGiven = false;
  std::vector<std::string> assignments;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--version") {
      std::puts("zentrix2-calc 2.0.0");
      return 0;
    } else if (a == "--threads" || a == "--scale") {
      if (i + 1 >= argc) return Usage((a + " needs a value").c_str());
      double v = 0;
      if (!ParsePositive(argv[++i], v)) return Usage((a + " needs a positive number").c_str());
      if (a == "--threads") {
        if (v != static_cast<int>(v) || v > 1024) return Usage("--threads needs a whole number");
        opt.threads = static_cast<int>(v);
      } else {
        if (v > 16) return Usage("--scale must be at most 16");
        opt.scale = v;
      }
    } else if (a == "--fix" || a == "--loss" || a == "--loss-scale" || a == "--weight") {
      if (i + 1 >= argc) return Usage((a + " needs a value").c_str());
      const std::string v = argv[++i];
      fitOptionGiven = true;
      if (a == "--fix") {
        if (!ParseFixed(v, opt.fit.fixed))
          return Usage("--fix takes a comma-separated list of Am, sigma2, gamma, m, g2");
      } else if (a == "--loss") {
        if (v == "linear")
          opt.fit.loss = zx::LossKind::Linear;
        else if (v == "soft_l1")
          opt.fit.loss = zx::LossKind::SoftL1;
        else if (v == "cauchy")
          opt.fit.loss = zx::LossKind::Cauchy;
        else
          return Usage("--loss takes linear, soft_l1 or cauchy");
      } else if (a == "--loss-scale") {
        double d = 0;
        if (!ParsePositive(v.c_str(), d) || !(d < 1e300))
          return Usage("--loss-scale needs a positive number");
        opt.fit.lossScale = d;
      } else {
        if (v == "condition")
          opt.fit.weighting = zx::Weighting::PerCondition;
        else if (v == "point")
          opt.fit.weighting = zx::Weighting::PerPoint;
        else
          return Usage("--weight takes condition or point");
      }
    } else if (a == "--set") {
      if (i + 1 >= argc) return Usage("--set needs KEY=VALUE");
      assignments.push_back(argv[++i]);
    } else if (a == "--write") {
      fitOptionGiven = true;
      opt.write = true;
    } else if (a == "--new" || a == "--preview" || a == "--plot" || a == "--fit" ||
               a == "--quality") {
      if (!mode.empty()) return Usage("only one command at a time");
      mode = a;
    } else if (a.size() > 1 && a[0] == '-') {
      return Usage(("unknown option " + a).c_str());
    } else {
      rest.push_back(a);
    }
  }
  if (!assignments.empty() && !mode.empty()) return Usage("--set goes alone with a project");
  if (fitOptionGiven && mode != "--fit")
    return Usage("--fix, --loss, --loss-scale, --weight and --write go with --fit");
  if (mode == "--plot") {
    if (rest.size() != 2) return Usage("--plot needs an image file and a project");
    return zx::cli::CmdPlot(rest[0], rest[1], opt);
  }
  if (rest.size() != 1) return Usage(rest.empty() ? "no project given" : "too many arguments");
  if (!assignments.empty()) return zx::cli::CmdSet(rest[0], assignments);
  if (mode == "--new") return zx::cli::CmdNew(rest[0]);
  if (mode == "--preview") return zx::cli::CmdPreview(rest[0], opt);
  if (mode == "--fit") return zx::cli::CmdFit(rest[0], opt);
  if (mode == "--quality") return zx::cli::CmdQuality(rest[0], opt);
  return zx::cli::CmdCalc(rest[0], opt);
}
