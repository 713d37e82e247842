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
    "       zentrix2-calc --fit [--starts N] [--fix NAMES] [--free Tc,Bc2]\n"
    "                     [--bounds NAME=LO:HI,...] [--orders all] [--curves FILE]\n"
    "                     [--loss linear|soft_l1|cauchy] [--loss-scale DECADES]\n"
    "                     [--weight condition|point] [--threads N] [--write] PROJECT.zx2\n"
    "                                                     fit the pinning parameters to the data\n"
    "                                                     (NAMES: comma-separated Am,sigma2,gamma,m,g2;\n"
    "                                                     Tc and Bc2 stay fixed unless freed)\n"
    "                                                     output: param, corr, minimum, order, warn,\n"
    "                                                     cond and total lines, in that order\n"
    "       zentrix2-calc --quality PROJECT.zx2             fit quality of the current parameters\n"
    "                                                     (param lines with nan errors, cond, total)\n"
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

// "a,b,c" -> its items (an empty text gives one empty item).
std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    items.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) return items;
    start = comma + 1;
  }
}

// "Am,gamma" -> those flags set to `value`; false on an unknown or empty
// name.
bool ParseNames(const std::string& text, zx::FitFlags& flags, bool value) {
  for (const std::string& name : SplitCommas(text)) {
    const int k = zx::FitParamIndex(name);
    if (k < 0) return false;
    flags[static_cast<std::size_t>(k)] = value;
  }
  return true;
}

bool ParseNumber(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return !text.empty() && end != text.c_str() && *end == '\0';
}

// "Tc=80:95,g2=1:4" -> the bounds; false on an unknown name or a number
// that cannot be read. Whether a range can be used is the fit's to say.
bool ParseBounds(const std::string& text, zx::cli::Options& opt) {
  for (const std::string& item : SplitCommas(text)) {
    const std::size_t eq = item.find('='), colon = item.find(':', eq);
    if (eq == std::string::npos || colon == std::string::npos) return false;
    const int k = zx::FitParamIndex(item.substr(0, eq));
    double lo = 0, hi = 0;
    if (k < 0 || !ParseNumber(item.substr(eq + 1, colon - eq - 1), lo) ||
        !ParseNumber(item.substr(colon + 1), hi))
      return false;
    if (k == static_cast<int>(zx::FitParam::Tc)) {
      opt.fit.tcLower = lo;
      opt.fit.tcUpper = hi;
    } else if (k == static_cast<int>(zx::FitParam::Bc2)) {
      opt.fit.bc2Lower = lo;
      opt.fit.bc2Upper = hi;
    } else {
      opt.lower[k] = lo;
      opt.upper[k] = hi;
    }
  }
  return true;
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
    } else if (a == "--fix" || a == "--loss" || a == "--loss-scale" || a == "--weight" ||
               a == "--starts" || a == "--free" || a == "--bounds" || a == "--orders" ||
               a == "--curves") {
      if (i + 1 >= argc) return Usage((a + " needs a value").c_str());
      const std::string v = argv[++i];
      fitOptionGiven = true;
      if (a == "--fix") {
        if (!ParseNames(v, opt.fit.fixed, true))
          return Usage("--fix takes a comma-separated list of Am, sigma2, gamma, m, g2, Tc, Bc2");
      } else if (a == "--free") {
        if (!ParseNames(v, opt.fit.fixed, false))
          return Usage("--free takes a comma-separated list of Tc, Bc2");
      } else if (a == "--bounds") {
        if (!ParseBounds(v, opt))
          return Usage(
              "--bounds takes NAME=LO:HI,... (NAME one of Am, sigma2, gamma, m, g2, Tc, Bc2)");
      } else if (a == "--starts") {
        double d = 0;
        if (!ParsePositive(v.c_str(), d) || d > 10000 || d != static_cast<int>(d))
          return Usage("--starts needs a whole number from 1 to 10000");
        opt.fit.starts = static_cast<int>(d);
      } else if (a == "--orders") {
        if (v != "all") return Usage("--orders takes all");
        opt.fit.allOrders = true;
      } else if (a == "--curves") {
        if (v.empty()) return Usage("--curves needs a file");
        opt.curves = v;
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
    return Usage(
        "--starts, --fix, --free, --bounds, --orders, --curves, --loss, --loss-scale, --weight "
        "and --write go with --fit");
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
